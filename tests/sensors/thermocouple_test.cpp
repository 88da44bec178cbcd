// Thermocouple tables and conversions, cold-junction compensation, the
// EGT/CHT alarm, maxima, the trend history and lean-find bookkeeping.
#include <gtest/gtest.h>

#include <cstdlib>

#include "alarms/alarm_words.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace {

using namespace ems;

class Thermocouple : public ::testing::Test {
protected:
    void SetUp() override { test::reset_firmware(); }

    // The reading of channel ch for a slider temperature.
    int16_t reading(uint8_t ch, int16_t slider)
    {
        raw.tc_input[ch] = slider;
        process_thermocouple(ch);
        return thermo.tc_value[ch];
    }
    void all_channels()
    {
        for (uint8_t ch = 0; ch < TC_CHANNELS; ++ch) process_thermocouple(ch);
    }
};

TEST(ThermocoupleTables, HeadersAndPublishedCheckValues)
{
    EXPECT_EQ(TC_TABLES[TC_TYPE_K].count, 164);
    EXPECT_EQ(TC_TABLES[TC_TYPE_J].count, 141);
    EXPECT_EQ(TC_TABLES[TC_TYPE_E].count, 127);
    EXPECT_EQ(TC_TABLES[TC_TYPE_K].first_x10, -2700);
    EXPECT_EQ(TC_TABLES[TC_TYPE_J].first_x10, -2100);
    EXPECT_EQ(TC_TABLES[TC_TYPE_E].first_x10, -2700);

    const struct { uint8_t type; int t; int uv; } checks[] = {
        {TC_TYPE_K, -270, -6458}, {TC_TYPE_K, 0, 0}, {TC_TYPE_K, 100, 4095}, {TC_TYPE_K, 500, 20640},
        {TC_TYPE_K, 1000, 41269}, {TC_TYPE_K, 1360, 54466}, {TC_TYPE_J, -210, -8096}, {TC_TYPE_J, 0, 0},
        {TC_TYPE_J, 100, 5268}, {TC_TYPE_J, 500, 27388}, {TC_TYPE_J, 1190, 68964}, {TC_TYPE_E, -270, -9835},
        {TC_TYPE_E, 0, 0}, {TC_TYPE_E, 100, 6317}, {TC_TYPE_E, 500, 36999}, {TC_TYPE_E, 990, 75608},
    };
    for (const auto& c : checks) EXPECT_EQ(tc_emf(c.t, c.type), c.uv) << int(c.type) << " at " << c.t;

    for (const TcTable& t : TC_TABLES)
        for (int i = 1; i < t.count; ++i) ASSERT_LT(t.emf[i - 1], t.emf[i]);
}

TEST(ThermocoupleTables, EmfInterpolatesAndExtrapolatesTheEndSegments)
{
    EXPECT_EQ(tc_emf(5, TC_TYPE_K), 198);    // 397 / 2, truncated
    EXPECT_EQ(tc_emf(-5, TC_TYPE_K), -196);  // halfway from -392 to 0
    EXPECT_EQ(tc_emf(123, TC_TYPE_K), 5041); // 4919 + 408 * 0.3
    EXPECT_EQ(tc_emf(-275, TC_TYPE_K), -6466); // the first segment continued
    EXPECT_EQ(tc_emf(1370, TC_TYPE_K), 54807); // the last segment continued
    EXPECT_EQ(tc_emf(100, 7), tc_emf(100, TC_TYPE_K)); // unknown type reads as K
}

TEST_F(Thermocouple, TemperatureUsesTheSegmentAboveAndNeverReadsPastTheTable)
{
    thermo.cjc_c = 0;
    EXPECT_EQ(tc_temp_x10(20640, TC_TYPE_K), 5000);
    EXPECT_EQ(tc_temp_x10(0, TC_TYPE_K), 0);
    // Inside the last segment (1350..1360 C) there is no segment above: the
    // last segment's own line is used.
    const int32_t t = tc_temp_x10(54300, TC_TYPE_K);
    EXPECT_NEAR(t, 13551, 1);
    // Beyond either end the end segments continue.
    EXPECT_NEAR(tc_temp_x10(54807, TC_TYPE_K), 13700, 1);
    EXPECT_LT(tc_temp_x10(-7000, TC_TYPE_K), -2700);
}

TEST_F(Thermocouple, ColdJunction)
{
    raw.raw_cjc = 2240;
    process_cjc();
    EXPECT_EQ(thermo.cjc_c, 0);
    raw.raw_cjc = 0; // slider never moved
    process_cjc();
    EXPECT_EQ(thermo.cjc_c, -273);
    raw.raw_cjc = 2450; // 298 - 273
    process_cjc();
    EXPECT_EQ(thermo.cjc_c, 25);
}

TEST_F(Thermocouple, TypeKReadsTheSlider)
{
    thermo.cjc_c = 0;
    EXPECT_EQ(reading(0, 500), 500);
    EXPECT_EQ(reading(0, 123), 123);
    EXPECT_EQ(reading(0, -200), -200);
    thermo.cjc_c = 20;
    EXPECT_EQ(reading(0, 1000), 1000);
    thermo.cjc_c = 25;
    EXPECT_EQ(reading(0, 25), 25); // measured EMF 0
}

TEST_F(Thermocouple, TypeKFollowsEverySliderPositionWithinADegree)
{
    for (int16_t cjc : {int16_t(-273), int16_t(0), int16_t(20), int16_t(40)}) {
        thermo.cjc_c = cjc;
        for (int t = -200; t <= 1200; ++t) {
            const int v = reading(0, int16_t(t));
            ASSERT_LE(std::abs(v - t), 1) << "slider " << t << " cjc " << cjc;
        }
    }
}

TEST_F(Thermocouple, MismatchedProbeTypesReadAsARealInstrumentWould)
{
    thermo.cjc_c = 0;
    settings.egt_probe = TC_TYPE_J;
    EXPECT_EQ(reading(0, 500), 378);
    settings.egt_probe = TC_TYPE_E;
    EXPECT_EQ(reading(0, 500), 295);
    // CHT channels (2 and 3 by default) follow cht_probe, the rest too.
    settings.cht_probe = TC_TYPE_J;
    EXPECT_EQ(reading(2, 500), 378);
    EXPECT_EQ(reading(11, 500), 378);
}

TEST_F(Thermocouple, FahrenheitDisplay)
{
    thermo.cjc_c = 0;
    settings.temp_unit = 1;
    EXPECT_EQ(reading(0, 500), 932);
    EXPECT_EQ(thermo.tc_value_c[0], 500);
}

TEST_F(Thermocouple, NtcChtProbesReadAnalogInputsThreeAndFour)
{
    settings.cht_probe = CHT_PROBE_NTC; // channels 2 and 3 are the CHT channels
    raw.raw_aux[2] = 2734;              // 0 C on the "VDO 150°C" curve
    raw.raw_aux[3] = 26;                // 180 C
    raw.tc_input[2] = raw.tc_input[3] = 500;
    process_thermocouple(2);
    process_thermocouple(3);
    EXPECT_EQ(thermo.tc_value[2], ntc_cht_lookup(2734));
    EXPECT_EQ(thermo.tc_value[2], 0);
    EXPECT_EQ(thermo.tc_value[3], 180);
    // An EGT channel stays a thermocouple.
    thermo.cjc_c = 0;
    EXPECT_EQ(reading(0, 500), 500);
}

TEST_F(Thermocouple, OpenProbeAndOverTemperatureRaiseTheSharedAlarm)
{
    thermo.cjc_c = 0;
    for (uint8_t ch = 0; ch < TC_CHANNELS; ++ch) raw.tc_input[ch] = 100;
    all_channels();
    EXPECT_FALSE(alarms.alarm_flags & ALARM_EGT_CHT);

    raw.tc_input[0] = -200; // open EGT probe
    all_channels();
    EXPECT_TRUE(alarms.alarm_flags & ALARM_EGT_CHT);
    alarms.alarm_acked |= ALARM_EGT_CHT;

    settings.egt_high_alarm_on = 0; // the EGT alarm disabled: nothing to report
    all_channels();
    EXPECT_FALSE(alarms.alarm_flags & ALARM_EGT_CHT);
    EXPECT_FALSE(alarms.alarm_acked & ALARM_EGT_CHT);

    raw.tc_input[0] = 100;
    raw.tc_input[3] = 130; // CHT at its limit (>=)
    all_channels();
    EXPECT_TRUE(alarms.alarm_flags & ALARM_EGT_CHT);

    raw.tc_input[3] = 100;
    raw.tc_input[4] = -200; // past egt_channels + cht_channels: not alarmed
    all_channels();
    EXPECT_FALSE(alarms.alarm_flags & ALARM_EGT_CHT);
}

TEST_F(Thermocouple, MaximaAreKeptDuringTheHoldoffButAlarmsWait)
{
    thermo.cjc_c = 0;
    tick.alarm_holdoff = 3;
    reading(0, 900);
    EXPECT_EQ(+minmax.tc_max[0], 900);
    EXPECT_FALSE(alarms.alarm_flags & ALARM_EGT_CHT);
    reading(0, 700);
    EXPECT_EQ(+minmax.tc_max[0], 900);
    tick.alarm_holdoff = 0;
    reading(0, 850);
    EXPECT_TRUE(alarms.alarm_flags & ALARM_EGT_CHT);
}

TEST_F(Thermocouple, HistoryTakesEverySecondPassOldestFirst)
{
    thermo.cjc_c = 0;
    reading(0, 10);
    EXPECT_EQ(thermo.tc_history[0][TC_HISTORY - 1], 10);
    EXPECT_EQ(thermo.tc_history_phase[0], 1);
    reading(0, 11); // skipped
    EXPECT_EQ(thermo.tc_history[0][TC_HISTORY - 1], 10);
    EXPECT_EQ(thermo.tc_history[0][TC_HISTORY - 2], 0);

    test::reset_firmware();
    thermo.cjc_c = 0;
    for (int pass = 0; pass < 500; ++pass) reading(0, int16_t(pass));
    for (int i = 0; i < TC_HISTORY; ++i) ASSERT_EQ(thermo.tc_history[0][i], 2 * i) << i;
    reading(0, 777); // the 501st pass pushes the oldest out
    EXPECT_EQ(thermo.tc_history[0][0], 2);
    EXPECT_EQ(thermo.tc_history[0][TC_HISTORY - 1], 777);
}

TEST_F(Thermocouple, LeanFindOrdersChannelsByPassingTheirPeak)
{
    thermo.cjc_c = 0;
    thermo.lean_mode = 1;
    thermo.lean_order_next = 1;
    for (int16_t t : {650, 680, 700}) reading(0, t);
    EXPECT_EQ(thermo.tc_peak[0], 700);
    reading(0, 695);
    EXPECT_EQ(thermo.tc_delta[0], -5);
    EXPECT_EQ(thermo.tc_peak_order[0], 0);
    reading(0, 691);
    EXPECT_EQ(thermo.tc_peak_order[0], 0);
    reading(0, 690);
    EXPECT_EQ(thermo.tc_peak_order[0], 1);
    EXPECT_EQ(thermo.tc_delta[0], -10);
    reading(0, 705); // after peaking the peak stays
    EXPECT_EQ(thermo.tc_peak[0], 700);
    EXPECT_EQ(thermo.tc_delta[0], 5);

    for (int16_t t : {600, 640}) reading(1, t);
    reading(1, 630);
    EXPECT_EQ(thermo.tc_peak_order[1], 2);
    EXPECT_EQ(thermo.lean_order_next, 3);

    for (int16_t t : {100, 200, 50}) reading(2, t); // CHT channels take no part
    EXPECT_EQ(thermo.tc_peak_order[2], 0);
}

TEST_F(Thermocouple, CruiseDeltaAgainstTheStoredReference)
{
    thermo.cjc_c = 0;
    thermo.cruise_mode = 1;
    thermo.tc_peak[5] = 600;
    reading(5, 620);
    EXPECT_EQ(thermo.tc_delta[5], 20);
}

} // namespace
