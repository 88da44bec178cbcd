// The conversion helpers and the simple channels: volts, OAT, RPM 1, MAP and
// main current, with their clamps, min/max, alarm bits and the power-on
// hold-off; and the pass rule for analog inputs switched OFF.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "alarms/alarm_words.h"
#include "app/power.h"
#include "sensors/channels.h"
#include "sensors/convert.h"
#include "sensors/minmax.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace {

using namespace ems;

class Channels : public ::testing::Test {
protected:
    void SetUp() override { test::reset_firmware(); }
};

TEST(Convert, RoundTenthsTakesHalvesAwayFromZero)
{
    EXPECT_EQ(round_tenths(25), 3);
    EXPECT_EQ(round_tenths(-25), -3);
    EXPECT_EQ(round_tenths(24), 2);
    EXPECT_EQ(round_tenths(-24), -2);
    EXPECT_EQ(round_tenths(0), 0);
    EXPECT_EQ(round_tenths(3629), 363);
}

TEST(Convert, InterpolateRoundsHalvesAwayFromZeroAndExtrapolates)
{
    EXPECT_EQ(interpolate(0, 10, 0, 5, 1), 1);   // 0.5
    EXPECT_EQ(interpolate(0, 10, 0, -5, 1), -1); // -0.5
    EXPECT_EQ(interpolate(0, 10, 0, 4, 1), 0);   // 0.4
    EXPECT_EQ(interpolate(0, 10, 0, 100, 20), 200);
    EXPECT_EQ(interpolate(0, 10, 0, 100, -5), -50);
    // A falling ADC table as the sender curves use it: between (446, 60) and (546, 80).
    EXPECT_EQ(interpolate(446, 546, 60, 80, 449), 61);
    EXPECT_EQ(interpolate(408, 3705, 0, 100, 408), 0);
    EXPECT_EQ(interpolate(408, 3705, 0, 100, 3705), 100);
    EXPECT_EQ(interpolate(408, 3705, 0, 100, 0), -12);
}

TEST(Convert, InterpolateOnAVerticalLineKeepsTheFallback)
{
    // Two calibration points with the same ADC value: no division by zero.
    EXPECT_EQ(interpolate(500, 500, 10, 20, 500, 42), 42);
    EXPECT_EQ(interpolate(500, 500, 10, 20, 700, -7), -7);
    EXPECT_EQ(interpolate(500, 500, 10, 20, 500), 10);
}

TEST(Convert, ExtremeLinesSaturateInsteadOfOverflowing)
{
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(interpolate(0, 1, 0, big, big), big);
    EXPECT_EQ(interpolate(0, 1, 0, -big, big), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(interpolate(-big, big, -big, big, 0), 0);
    EXPECT_EQ(float_to_i32(std::nanf("")), 0);
    EXPECT_EQ(float_to_i32(1e20f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(float_to_i32(-1e20f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(float_to_i32(-2.9f), -2);
}

TEST(Convert, CToFTruncatesTowardZero)
{
    EXPECT_EQ(c_to_f(100), 212);
    EXPECT_EQ(c_to_f(-40), -40);
    EXPECT_EQ(c_to_f(-17), 2); // -306 / 10 = -30
    EXPECT_EQ(c_to_f(37), 98); // 666 / 10 = 66
}

TEST_F(Channels, RpmFromPeriodRoundedToTheIncrement)
{
    raw.rpm_period = 31000; // the slider's start position: stopped
    process_rpm();
    EXPECT_EQ(sens.rpm, 0);

    raw.rpm_period = 1000; // 1558600 / 1000
    process_rpm();
    EXPECT_EQ(sens.rpm_unrounded, 1558);
    EXPECT_EQ(sens.rpm, 1558);
    settings.rpm1_increment = 2; // 10 RPM
    process_rpm();
    EXPECT_EQ(sens.rpm, 1560);
    EXPECT_EQ(sens.rpm_percent, 26); // of 6000
    settings.rpm1_increment = 4; // 100 RPM: 1558 rounds to 1600
    process_rpm();
    EXPECT_EQ(sens.rpm, 1600);
    settings.rpm1_increment = 3; // 50 RPM
    process_rpm();
    EXPECT_EQ(sens.rpm, 1550);

    raw.rpm_period = 30000; // the longest period still running
    settings.rpm1_increment = 0;
    process_rpm();
    EXPECT_EQ(sens.rpm, 51);
    raw.rpm_period = 30001;
    process_rpm();
    EXPECT_EQ(sens.rpm, 0);
}

TEST_F(Channels, RpmClampsAndANeverCapturedPeriodReadsStopped)
{
    raw.rpm_period = 1; // 1558600 RPM
    process_rpm();
    EXPECT_EQ(sens.rpm_unrounded, 99999);
    raw.rpm_period = 0; // no capture yet
    process_rpm();
    EXPECT_EQ(sens.rpm, 0);
    EXPECT_EQ(sens.rpm_unrounded, 0);
}

TEST_F(Channels, RpmScaleIsExactForEveryPulseCount)
{
    settings.rpm1_pulses = 700; // 7.00 pulses: 935160000 / 700 = 1335942
    rpm1_scale_update();
    raw.rpm_period = 230;
    process_rpm();
    EXPECT_EQ(sens.rpm, 5808);
    settings.rpm1_pulses = 60001; // above 600.00 pulses the scale stays above 0
    rpm1_scale_update();
    EXPECT_EQ(derived.rpm1_scale, 15585);
}

TEST_F(Channels, RpmMaximaAreKeptInTheUnitShown)
{
    settings.rpm1_display = 1; // percent of 6000
    raw.rpm_period = 289;      // 5393 RPM, 89 %
    process_rpm();
    raw.rpm_period = 520; // 2997 RPM, 49 %
    process_rpm();
    EXPECT_EQ(+minmax.rpm1_max, 89);

    // RPM 2 is raised like RPM 1, in percent while its display is 1.
    settings.rpm2_display = 0;
    raw.rpm2 = 700;
    raw.rpm2_percent = 70;
    process_rpm();
    EXPECT_EQ(+minmax.rpm2_max, 700);
    settings.rpm2_display = 1;
    minmax.rpm2_max = 0;
    process_rpm();
    raw.rpm2_percent = 20;
    process_rpm();
    EXPECT_EQ(+minmax.rpm2_max, 70);
}

TEST_F(Channels, RpmMaximumAndAlarm)
{
    raw.rpm_period = 268; // 5815 RPM, above the 5800 alarm
    process_rpm();
    EXPECT_EQ(sens.rpm, 5815);
    EXPECT_EQ(+minmax.rpm1_max, 5815);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_RPM1);

    alarms.alarm_acked = ALARM_RPM1;
    settings.rpm1_display = 2; // OFF: no RPM 1 alarm at all
    process_rpm();
    EXPECT_FALSE(alarms.alarm_flags & ALARM_RPM1);
    EXPECT_FALSE(alarms.alarm_acked & ALARM_RPM1);

    settings.rpm1_display = 1; // percent: the maximum is kept as a percentage
    minmax.rpm1_max = 0;
    raw.rpm_period = 1000;
    process_rpm();
    EXPECT_EQ(+minmax.rpm1_max, 25); // 1558 * 100 / 6000

    settings.rpm1_low_alarm_on = 1; // 500
    settings.rpm1_display = 0;
    raw.rpm_period = 31000;
    process_rpm();
    EXPECT_TRUE(alarms.alarm_flags & ALARM_RPM1);
}

TEST_F(Channels, VoltsAverageRampsToFullScale)
{
    raw.raw_volts = 4095;
    process_volts();
    EXPECT_EQ(sens.volts_acc, 4095u); // (16380 + 0) >> 2
    EXPECT_EQ(sens.volts_x10, 91);    // 1023 * 8862 * 100 / 10^6 = 906
    for (int i = 0; i < 60; ++i) process_volts();
    EXPECT_EQ(sens.volts_x10, 363); // 36.3 V at full scale
}

TEST_F(Channels, VoltsWithTheHighestCalibrationDoesNotWrap)
{
    calibration.volts_cal_percent = 150;
    raw.raw_volts = 4095;
    for (int i = 0; i < 60; ++i) process_volts();
    EXPECT_EQ(sens.volts_x10, 544); // 4095 * 8862 * 150 / 10^6 = 5443
}

TEST_F(Channels, VoltsAlarmSetsAndClearsBothWords)
{
    raw.raw_volts = 4095; // 36.3 V > 15.0 V
    for (int i = 0; i < 60; ++i) process_volts();
    EXPECT_TRUE(alarms.alarm_flags & ALARM_VOLTS);
    alarms.alarm_acked |= ALARM_VOLTS;

    raw.raw_volts = 1400; // 12.4 V: inside 10.0 .. 15.0
    for (int i = 0; i < 60; ++i) process_volts();
    EXPECT_EQ(sens.volts_x10, 124);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_VOLTS);
    EXPECT_FALSE(alarms.alarm_acked & ALARM_VOLTS);

    settings.volts_low_alarm_on = 0;
    raw.raw_volts = 0;
    for (int i = 0; i < 60; ++i) process_volts();
    EXPECT_FALSE(alarms.alarm_flags & ALARM_VOLTS);
    settings.volts_low_alarm_on = 1;
    process_volts();
    EXPECT_TRUE(alarms.alarm_flags & ALARM_VOLTS);
}

TEST_F(Channels, OatInCelsiusAndFahrenheitWithAlarms)
{
    raw.raw_oat = 1694; // 273 - 273 = 0 C
    process_oat();
    EXPECT_EQ(sens.oat_c, 0);
    EXPECT_EQ(sens.oat_disp, 0);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_OAT); // 0 is not below the limit 0

    calibration.oat_cal_offset = -1;
    process_oat();
    EXPECT_EQ(sens.oat_c, -1);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_OAT);
    EXPECT_EQ(+minmax.oat_min, -1);

    calibration.oat_cal_offset = 0;
    raw.raw_oat = 2000; // 322 - 273 = 49 C
    settings.oat_unit = 1;
    process_oat();
    EXPECT_EQ(sens.oat_c, 49);
    EXPECT_EQ(sens.oat_disp, 120);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_OAT); // 120 F above the limit 60 (display units)
    EXPECT_EQ(+minmax.oat_max, 120);

    raw.raw_oat = 0;
    settings.oat_unit = 0;
    process_oat();
    EXPECT_EQ(sens.oat_c, -273);
}

TEST_F(Channels, MapFloorAndFilters)
{
    settings.map_unit = 0; // mb
    settings.map_filter = 0;
    raw.raw_map = 164;
    process_map();
    EXPECT_EQ(sens.map_hpa, 0);
    raw.raw_map = 165;
    process_map();
    EXPECT_EQ(sens.map_hpa, 203);
    EXPECT_EQ(sens.map_disp, 203);

    calibration.map_cal_offset = -1; // the offset counts towards the floor
    process_map();
    EXPECT_EQ(sens.map_hpa, 0);
    calibration.map_cal_offset = 0;

    settings.map_filter = 1; // FAST, accumulator 0
    process_map();
    EXPECT_EQ(sens.map_hpa, 101);
    EXPECT_EQ(sens.map_acc, 340u);

    sens.map_acc = 0;
    settings.map_filter = 2; // SLOW: (0 + 340 * 4) >> 2 = 340, e = 85
    process_map();
    EXPECT_EQ(sens.map_hpa, 50);
    for (int i = 0; i < 200; ++i) process_map();
    EXPECT_EQ(sens.map_hpa, 202); // settles one count low: the accumulator truncates at 4 * 340 - 1

    settings.map_unit = 1; // 0.1 inHg
    process_map();
    EXPECT_EQ(sens.map_disp, 59); // 203 * 100000 / 338639
}

TEST_F(Channels, MapAlarmLimitsInDisplayUnits)
{
    settings.map_filter = 0;
    raw.raw_map = 165; // 5.9 inHg, below 27.8
    process_map();
    EXPECT_TRUE(alarms.alarm_flags & ALARM_MAP);
    raw.raw_map = 1500; // (1675 * 100 / 167) = 1002 hPa = 29.5 inHg
    process_map();
    EXPECT_EQ(sens.map_disp, 295);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_MAP);
    EXPECT_EQ(+minmax.map_min, 0); // reset record
    EXPECT_EQ(+minmax.map_max, 295);
}

TEST_F(Channels, MainCurrentSignedWithAlarmAndMinMax)
{
    raw.raw_current = 2048; // the zero point
    process_current();
    EXPECT_EQ(sens.current_x10, 0);
    raw.raw_current = 4095; // (65520 - 32768) / 16 = 2047; * 315 / 1000 = 644
    process_current();
    EXPECT_EQ(sens.current_x10, 644);
    EXPECT_EQ(sens.current_a, 64);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_CURRENT);
    raw.raw_current = 0; // -2048 * 315 / 1000 = -645
    process_current();
    EXPECT_EQ(sens.current_x10, -645);
    EXPECT_EQ(sens.current_a, -64);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_CURRENT);
    EXPECT_EQ(+minmax.current_min, -64);
    EXPECT_EQ(+minmax.current_max, 64);
    raw.raw_current = 2100; // 52 * 315 / 1000 = 16 -> 1 A
    process_current();
    EXPECT_EQ(sens.current_a, 1);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_CURRENT);
}

TEST_F(Channels, HoldoffSuppressesAlarmsAndMinMaxButNotValues)
{
    tick.alarm_holdoff = 5;
    alarms.alarm_flags = ALARM_OAT; // an old bit stays as it is
    raw.raw_volts = 4095;
    raw.raw_oat = 2000;
    raw.raw_map = 4000;
    raw.raw_current = 4095;
    raw.rpm_period = 200;
    for (int i = 0; i < 60; ++i) {
        process_volts();
        process_oat();
        process_rpm();
        process_map();
        process_current();
    }
    EXPECT_EQ(sens.volts_x10, 363);
    EXPECT_EQ(sens.rpm, 7793);
    EXPECT_EQ(alarms.alarm_flags, ALARM_OAT);
    const MinMaxValues zero{};
    EXPECT_EQ(std::memcmp(&minmax, &zero, sizeof zero), 0);

    tick.alarm_holdoff = 0;
    raw.raw_oat = 1900; // 33 C: inside the limits
    process_volts();
    process_oat();
    process_rpm();
    process_map();
    process_current();
    EXPECT_EQ(alarms.alarm_flags, ALARM_VOLTS | ALARM_RPM1 | ALARM_MAP | ALARM_CURRENT);
    EXPECT_EQ(+minmax.volts_max, 363);
    EXPECT_EQ(+minmax.rpm1_max, 7793);
}

TEST_F(Channels, PassClearsTheBitOfAnAnalogInputSwitchedOff)
{
    test::FakePlatform platform;
    platform.boxes[size_t(CheckBox::SdCardMounted)] = true;
    alarms.alarm_flags = ALARM_AUX1 << 2;
    alarms.alarm_acked = ALARM_AUX1 << 2;
    settings.channel_mode[2] = CHANNEL_OFF;
    main_loop_pass();
    EXPECT_FALSE(alarms.alarm_flags & (ALARM_AUX1 << 2));
    EXPECT_FALSE(alarms.alarm_acked & (ALARM_AUX1 << 2));
}

} // namespace
