// Sender curves, the table lookup and the four analog-input handlers plus the
// fuel-pressure sender: curve ends, rising and falling tables, broken tables,
// unit conversions, clamps, min/max, alarm limits and the hold-off.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "alarms/alarm_words.h"
#include "app/power.h"
#include "sensors/ecu_data.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/packed.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace {

using namespace ems;

SenderCalibrationTable table(std::initializer_list<std::pair<int16_t, int16_t>> points)
{
    SenderCalibrationTable t{};
    for (const auto& [display, adc] : points) t.point[t.count++] = {display, adc};
    return t;
}

int32_t lookup(const SenderCalibrationTable& t, int32_t raw, int32_t previous = -7777)
{
    int32_t v = previous;
    sender_lookup(t, raw, v);
    return v;
}

class Senders : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        minmax = {};
    }
    void TearDown() override { test::reset_firmware(); }
};

// ---- Curves and lookup ---------------------------------------------------------

TEST_F(Senders, EveryBuiltInCurveIsMonotonicAndHitsItsOwnPoints)
{
    std::vector<const SenderCalibrationTable*> curves;
    for (const auto& c : TEMPERATURE_CURVES) curves.push_back(&c);
    for (const auto& c : VDO_CURVES) curves.push_back(&c);
    for (const auto& c : VDO_INPUT2_CURVES) curves.push_back(&c);
    for (const auto& c : UMA_CURVES) curves.push_back(&c);
    for (const SenderCalibrationTable* c : curves) {
        ASSERT_GE(c->count, 2);
        ASSERT_LE(c->count, CAL_POINT_SLOTS);
        // The points are packed: read them by value.
        const bool rising = c->point[0].adc < c->point[1].adc;
        for (size_t i = 0; i + 1 < c->count; ++i) {
            const int a = c->point[i].adc, b = c->point[i + 1].adc;
            EXPECT_EQ(rising, a < b) << "curve point " << i;
            EXPECT_NE(a, b);
        }
        for (size_t i = 0; i < c->count; ++i) {
            const int display = c->point[i].display;
            EXPECT_EQ(lookup(*c, c->point[i].adc), display) << "point " << i;
        }
    }
}

TEST_F(Senders, FallingCurveEndsAndMiddle)
{
    const SenderCalibrationTable& vdo150 = TEMPERATURE_CURVES[1];
    EXPECT_EQ(lookup(vdo150, 2734), 0);
    EXPECT_EQ(lookup(vdo150, 26), 180);
    EXPECT_EQ(lookup(vdo150, 3600), -24); // beyond the cold end, along -20..-10
    EXPECT_EQ(lookup(vdo150, 2000), 15);  // 10 + 252 / 479 * 10 = 15.3
    EXPECT_EQ(lookup(vdo150, 0), 223);    // beyond the hot end, along 170..180
    EXPECT_EQ(ntc_cht_lookup(2734), 0);
    EXPECT_EQ(ntc_cht_lookup(26), 180);
}

TEST_F(Senders, RisingCurveEndsAndMiddle)
{
    const SenderCalibrationTable& uma07 = UMA_CURVES[0];
    EXPECT_EQ(lookup(uma07, 163), 0);
    EXPECT_EQ(lookup(uma07, 3722), 70);
    EXPECT_EQ(lookup(uma07, 0), -3);    // before the first point: -163 * 10 / 508
    EXPECT_EQ(lookup(uma07, 4000), 75); // after the last: 70 + 278 * 10 / 508
    EXPECT_EQ(lookup(uma07, 925), 15);  // 14.99 between 671 and 1180
}

TEST_F(Senders, BrokenTablesKeepThePreviousValueAndNeverDivideByZero)
{
    // Not monotonic: the first segment that spans the reading answers.
    EXPECT_EQ(lookup(table({{0, 100}, {10, 300}, {20, 200}, {30, 400}}), 350), 28);
    // Equal neighbours at the start (taken as falling) and at the end.
    EXPECT_EQ(lookup(table({{0, 500}, {10, 500}, {20, 100}}), 600), -7777);
    EXPECT_EQ(lookup(table({{0, 100}, {10, 200}, {20, 200}}), 300), -7777);
    EXPECT_EQ(lookup(table({{0, 100}, {10, 200}, {20, 200}}), 150), 5);
    EXPECT_EQ(lookup(table({{0, 700}, {10, 700}}), 700), -7777);
    // Too few points, or a count beyond the slots (capped at the 21 slots).
    EXPECT_EQ(lookup(table({{5, 100}}), 100), -7777);
    SenderCalibrationTable none{};
    EXPECT_EQ(lookup(none, 100), -7777);
    SenderCalibrationTable big = TEMPERATURE_CURVES[1];
    big.count = 255;
    EXPECT_EQ(lookup(big, 26), 180);
}

TEST_F(Senders, OutOfRangeSelectorsFallBack)
{
    EXPECT_EQ(&temperature_curve(9), &TEMPERATURE_CURVES[1]);
    EXPECT_EQ(&vdo_curve(7, false), &VDO_CURVES[2]);
    EXPECT_EQ(&vdo_curve(7, true), &VDO_INPUT2_CURVES[2]);
    EXPECT_EQ(uma_curve_index(200), 0);
    EXPECT_EQ(uma_curve_index(10), uma_curve_index(7)); // N1EU70A and T1EU70A share a curve
    EXPECT_EQ(uma_curve_index(11), uma_curve_index(8));
}

// ---- Pressure -------------------------------------------------------------------

TEST_F(Senders, VdoPressureUnitsAndTheSeparateInput2Set)
{
    for (uint8_t n : {0, 1}) {
        settings.pressure_cfg[n].type = 0;
        settings.pressure_cfg[n].sender = 1;
        settings.pressure_cfg[n].vdo_model = 2;
        raw.raw_aux[n] = 449;
    }
    aux_pressure_input(0);
    EXPECT_EQ(senders.aux_pressure[0], 100); // 10.0 bar
    aux_pressure_input(1);
    EXPECT_EQ(senders.aux_pressure[1], 61); // input 2's curve: 60.6 between (60, 446) and (80, 546)

    settings.pressure_cfg[0].unit = 1;
    aux_pressure_input(0);
    EXPECT_EQ(senders.aux_pressure[0], 145); // psi
    settings.pressure_cfg[0].unit = 2;
    aux_pressure_input(0);
    EXPECT_EQ(senders.aux_pressure[0], 999); // 1450 in 0.1 psi, clamped

    // The fuel-pressure sender uses the first set, whatever the input.
    settings.fuel_pressure_cfg.type = 0;
    settings.fuel_pressure_cfg.sender = 1;
    settings.fuel_pressure_cfg.vdo_model = 2;
    settings.fuel_pressure_cfg.unit = 0;
    raw.raw_fuel_pressure = 449;
    process_fuel_pressure();
    EXPECT_EQ(senders.fuel_pressure, 100);
}

TEST_F(Senders, UmaPressureConvertsFromEachNativeUnit)
{
    struct Case {
        uint8_t model;
        uint16_t raw;
        int16_t bar, psi, psi10;
    };
    const Case cases[] = {
        {0, 3722, 5, 7, 70},      // 7.0 psi native 0.1 psi
        {4, 3812, 24, 35, 350},   // 35 psi native psi (T1EU35)
        {7, 3172, 20, 29, 295},   // 60 inHg
        {10, 3172, 20, 29, 295},  // N1EU70A: same curve
        {8, 3868, 103, 150, 999}, // 150 psi: 1500 in 0.1 psi clamps
    };
    PressureSenderConfig& cfg = settings.pressure_cfg[2];
    cfg.type = 1;
    cfg.sender = 1;
    for (const Case& c : cases) {
        cfg.uma_model = c.model;
        raw.raw_aux[2] = c.raw;
        const int16_t want[3] = {c.bar, c.psi, c.psi10};
        for (uint8_t unit = 0; unit < 3; ++unit) {
            cfg.unit = unit;
            aux_pressure_input(2);
            EXPECT_EQ(senders.aux_pressure[2], want[unit]) << "model " << int(c.model) << " unit " << int(unit);
        }
    }
}

TEST_F(Senders, LinearVoltageAndCurrentLoopSenders)
{
    PressureSenderConfig& cfg = settings.fuel_pressure_cfg; // defaults: VOLTAGE, 0.5-4.5V, 0..100
    for (auto [reading, want] : {std::pair{408, 0}, {3705, 100}, {0, 0}, {2056, 50}, {4095, 112}}) {
        raw.raw_fuel_pressure = uint16_t(reading);
        process_fuel_pressure();
        EXPECT_EQ(senders.fuel_pressure, want) << reading;
    }
    cfg.type = 2;
    cfg.sender = 1;
    cfg.p_low_point = 20;
    cfg.p_high_point = 220;
    raw.raw_fuel_pressure = 556;
    process_fuel_pressure();
    EXPECT_EQ(senders.fuel_pressure, 20);
    raw.raw_fuel_pressure = 1780;
    process_fuel_pressure();
    EXPECT_EQ(senders.fuel_pressure, 220);
}

TEST_F(Senders, UserPressureTableAndBrokenTableKeepsTheLastGoodValue)
{
    PressureSenderConfig& cfg = settings.pressure_cfg[3];
    cfg.type = 2;
    cfg.sender = 0; // USER: default table A, display = ADC / 10
    raw.raw_aux[3] = 554;
    aux_pressure_input(3);
    EXPECT_EQ(senders.aux_pressure[3], 55);
    cfg.cal.point[3].adc = cfg.cal.point[4].adc; // 400 -> 500: two equal neighbours
    raw.raw_aux[3] = 500;
    aux_pressure_input(3);
    EXPECT_EQ(senders.aux_pressure[3], 40); // the segment 300..500 answers first
    cfg.cal.point[0].adc = cfg.cal.point[1].adc; // starts with equal ADCs: read as falling, no segment
    raw.raw_aux[3] = 900;
    aux_pressure_input(3);
    EXPECT_EQ(senders.aux_pressure[3], 40);
    cfg.type = 9; // unknown type: the output stays
    aux_pressure_input(3);
    EXPECT_EQ(senders.aux_pressure[3], 40);
}

TEST_F(Senders, PressureAlarmMaximumAndHoldOff)
{
    PressureSenderConfig& cfg = settings.pressure_cfg[1]; // VDO 10 bar, limits 15 and 80
    const uint32_t bit = ALARM_AUX1 << 1;
    tick.alarm_holdoff = 3;
    raw.raw_aux[1] = 41; // 0 bar: below the low limit
    aux_pressure_input(1);
    raw.raw_aux[1] = 629; // 10 bar: the highest reading
    aux_pressure_input(1);
    EXPECT_EQ(senders.aux_pressure[1], 100);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    EXPECT_EQ(+minmax.aux_pressure_max[1], 0);

    tick.alarm_holdoff = 0;
    aux_pressure_input(1);
    EXPECT_EQ(alarms.alarm_flags, bit); // above 80
    EXPECT_EQ(+minmax.aux_pressure_max[1], 100);
    alarms.alarm_acked = bit;
    raw.raw_aux[1] = 446; // 6.0 bar
    aux_pressure_input(1);
    EXPECT_EQ(senders.aux_pressure[1], 60);
    EXPECT_EQ(alarms.alarm_flags & bit, 0u);
    EXPECT_EQ(alarms.alarm_acked & bit, 0u);
    EXPECT_EQ(+minmax.aux_pressure_max[1], 100); // kept
    raw.raw_aux[1] = 41;
    aux_pressure_input(1);
    EXPECT_EQ(alarms.alarm_flags, bit); // below 15
    cfg.low_alarm_on = 0;
    aux_pressure_input(1);
    EXPECT_EQ(alarms.alarm_flags, 0u);

    settings.fuel_pressure_cfg.high_alarm = 40;
    raw.raw_fuel_pressure = 3705;
    process_fuel_pressure();
    EXPECT_EQ(alarms.alarm_flags, ALARM_FUEL_PRESSURE);
    EXPECT_EQ(+minmax.fuel_pressure_max, 100);
}

TEST_F(Senders, EngineComputerReplacesOilPressureOnly)
{
    settings.ecu_type = ECU_ROTAX_912IS;
    settings.ecu_connect = ECU_CONNECT_DIRECT;
    settings.ecu_lane = 1;
    ecu.records.lane[1].oil_pressure = 4567;
    for (uint8_t n = 0; n < 4; ++n) {
        senders.aux_pressure[n] = 33;
        raw.raw_aux[n] = 137; // 2.0 bar on the 10 bar curve of inputs 1, 3, 4
        aux_pressure_input(n);
    }
    EXPECT_EQ(senders.aux_pressure[0], 33);
    EXPECT_EQ(senders.aux_pressure[1], 45); // lane B, / 100
    EXPECT_EQ(senders.aux_pressure[2], 33);
    EXPECT_EQ(senders.aux_pressure[3], 20);
    settings.ecu_connect = ECU_CONNECT_VEXA; // relayed: the own sensors again
    aux_pressure_input(0);
    EXPECT_EQ(senders.aux_pressure[0], 20);
}

// ---- Temperature ----------------------------------------------------------------

TEST_F(Senders, TemperatureSendersAndUnits)
{
    TemperatureSenderConfig& cfg = settings.temperature_cfg[0];
    raw.raw_aux[0] = 2734;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp[0], 0); // VDO 150°C default
    settings.temp_unit = 1;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp_c[0], 0);
    EXPECT_EQ(senders.aux_temp[0], 32);

    cfg.sender = 4; // LM335
    raw.raw_aux[0] = 2236;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp_c[0], 0);
    cfg.cal_offset = -5;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp_c[0], -5);
    EXPECT_EQ(senders.aux_temp[0], 23);

    cfg.sender = 5; // USER: no unit conversion
    raw.raw_aux[0] = 500;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp_c[0], 50);
    EXPECT_EQ(senders.aux_temp[0], 50);

    settings.temp_unit = 0;
    cfg.sender = 0; // VDO 120°C
    raw.raw_aux[0] = 926;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp[0], 30);
    cfg.sender = 3; // WESTACH
    raw.raw_aux[0] = 1351;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp[0], 60);
    cfg.sender = 2; // QOR NTC
    raw.raw_aux[0] = 213;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp[0], 80);
    cfg.sender = 42; // not a sender: VDO 150°C
    raw.raw_aux[0] = 2734;
    aux_temperature_input(0);
    EXPECT_EQ(senders.aux_temp[0], 0);
}

TEST_F(Senders, TemperatureClampsAtBothEnds)
{
    TemperatureSenderConfig& cfg = settings.temperature_cfg[3];
    cfg.sender = 5;
    cfg.cal = table({{-200, 100}, {0, 1000}, {2000, 2000}});
    raw.raw_aux[3] = 100;
    aux_temperature_input(3);
    EXPECT_EQ(senders.aux_temp_c[3], -200);
    EXPECT_EQ(senders.aux_temp[3], -99);
    raw.raw_aux[3] = 1550;
    aux_temperature_input(3);
    EXPECT_EQ(senders.aux_temp_c[3], 1100);
    EXPECT_EQ(senders.aux_temp[3], 999);
    raw.raw_aux[3] = 4095; // extrapolated far beyond the table
    aux_temperature_input(3);
    EXPECT_EQ(senders.aux_temp[3], 999);
}

TEST_F(Senders, TemperatureAlarmMaximumAndEngineComputer)
{
    const uint32_t bit = ALARM_AUX1;
    raw.raw_aux[0] = 2734; // 0 C, below the low limit 70
    aux_temperature_input(0);
    EXPECT_EQ(alarms.alarm_flags, bit);
    raw.raw_aux[0] = 216; // 90 C
    aux_temperature_input(0);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    EXPECT_EQ(+minmax.aux_temp_max[0], 90);
    raw.raw_aux[0] = 51; // 150 C, above 135
    aux_temperature_input(0);
    EXPECT_EQ(alarms.alarm_flags, bit);
    EXPECT_EQ(+minmax.aux_temp_max[0], 150);

    settings.ecu_type = ECU_ROTAX_912IS;
    settings.ecu_connect = ECU_CONNECT_DIRECT;
    ecu.records.lane[0].oil_temperature = 95;
    ecu.records.lane[0].coolant_temperature = 85;
    senders.aux_temp[1] = 44;
    for (uint8_t n = 0; n < 3; ++n) aux_temperature_input(n);
    EXPECT_EQ(senders.aux_temp[0], 95);
    EXPECT_EQ(senders.aux_temp[1], 44);
    EXPECT_EQ(senders.aux_temp[2], 85);
    EXPECT_EQ(alarms.alarm_flags & bit, 0u);
}

// ---- Current and generic -----------------------------------------------------------

TEST_F(Senders, CurrentFollowsTheZeroReadingInSixteenthCounts)
{
    CurrentSensorConfig& cfg = settings.current_cfg[2]; // gain 315, limits -40 and 40
    raw.raw_aux[2] = 2048; // the uncalibrated zero, 32768 / 16
    aux_current_input(2);
    EXPECT_EQ(senders.aux_current_x10[2], 0);
    raw.raw_aux[2] = 3072; // half-way to full scale: half the gain
    aux_current_input(2);
    EXPECT_EQ(senders.aux_current_x10[2], 1575);
    EXPECT_EQ(senders.aux_current[2], 157);
    raw.raw_aux[2] = 1024;
    aux_current_input(2);
    EXPECT_EQ(senders.aux_current[2], -157);

    calibration.current_zero[2] = 2000 * 16; // zeroed at a reading of 2000
    raw.raw_aux[2] = 2000;
    aux_current_input(2);
    EXPECT_EQ(senders.aux_current_x10[2], 0);
    cfg.gain = 50;
    raw.raw_aux[2] = 2100; // (1600 / 33536) * 500 = 23.9
    aux_current_input(2);
    EXPECT_EQ(senders.aux_current_x10[2], 24);
    EXPECT_EQ(senders.aux_current[2], 2);
    calibration.current_zero[2] = 65535; // extreme zero: no division trouble
    raw.raw_aux[2] = 0;
    aux_current_input(2);
    EXPECT_LT(senders.aux_current_x10[2], 0);
}

TEST_F(Senders, CurrentAlarmAndMinMax)
{
    const uint32_t bit = ALARM_AUX1 << 2;
    minmax.aux_current_min[2] = minmax.aux_current_max[2] = 0;
    raw.raw_aux[2] = 2048 + 300; // 300 / 2048 * 315 = 46 A
    aux_current_input(2);
    EXPECT_EQ(senders.aux_current[2], 46);
    EXPECT_EQ(alarms.alarm_flags, bit);
    raw.raw_aux[2] = 2048 - 100; // -15 A
    aux_current_input(2);
    EXPECT_EQ(senders.aux_current[2], -15);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    EXPECT_EQ(+minmax.aux_current_min[2], -15);
    EXPECT_EQ(+minmax.aux_current_max[2], 46);
    tick.alarm_holdoff = 1;
    raw.raw_aux[2] = 0;
    aux_current_input(2);
    EXPECT_EQ(+minmax.aux_current_min[2], -15);
    EXPECT_EQ(alarms.alarm_flags, 0u);
}

TEST_F(Senders, GenericClampsAlarmsAndKeepsItsMaximum)
{
    GenericSensorConfig& cfg = settings.generic_cfg[3]; // table B: 0 at 0, 100 at 4095; limits 10 and 90
    const uint32_t bit = ALARM_AUX1 << 3;
    raw.raw_aux[3] = 4095;
    aux_generic_input(3);
    EXPECT_EQ(senders.aux_generic[3], 100);
    EXPECT_EQ(alarms.alarm_flags, bit);
    raw.raw_aux[3] = 2048;
    aux_generic_input(3);
    EXPECT_EQ(senders.aux_generic[3], 50);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    EXPECT_EQ(+minmax.aux_generic_max[3], 100);

    cfg.cal = table({{0, 1000}, {1000, 2000}});
    raw.raw_aux[3] = 0;
    aux_generic_input(3);
    EXPECT_EQ(senders.aux_generic[3], 0); // -1000 becomes 0
    raw.raw_aux[3] = 3000;
    aux_generic_input(3);
    EXPECT_EQ(senders.aux_generic[3], 999);
    cfg.cal = table({{0, 1000}, {1000, 1000}});
    raw.raw_aux[3] = 1500;
    aux_generic_input(3);
    EXPECT_EQ(senders.aux_generic[3], 999); // vertical table: the last value stays
}

TEST_F(Senders, ChannelNumbersBeyondTheFourInputsDoNothing)
{
    const SenderOutputs before = senders;
    aux_pressure_input(4);
    aux_temperature_input(200);
    aux_current_input(4);
    aux_generic_input(255);
    EXPECT_EQ(std::memcmp(&before, &senders, sizeof senders), 0);
    EXPECT_EQ(alarms.alarm_flags, 0u);
}

// ---- Inputs claimed by other settings -----------------------------------------

TEST_F(Senders, InputsClaimedByNtcProbesOrAnEngineComputer)
{
    tick.alarm_holdoff = 0;
    const uint32_t aux34 = (ALARM_AUX1 << 2) | (ALARM_AUX1 << 3);
    // A hot NTC probe reads low on inputs 3 and 4: as pressures they would be low.
    raw.raw_aux[2] = raw.raw_aux[3] = 60;
    process_sensors();
    ASSERT_NE(alarms.alarm_flags & (ALARM_AUX1 << 2), 0u);
    settings.cht_probe = CHT_PROBE_NTC;
    process_sensors();
    EXPECT_EQ(alarms.alarm_flags & aux34, 0u);
    EXPECT_EQ(channel_mode_in_use(3), CHANNEL_OFF);
    settings.cht_channels = 1; // one CHT leaves input 4 to its own mode
    EXPECT_EQ(channel_mode_in_use(3), CHANNEL_GENERIC);
    EXPECT_EQ(channel_mode_in_use(2), CHANNEL_OFF);

    // A ROTAX 912iS makes input 3 its coolant temperature, stored mode or not.
    settings.cht_probe = 0;
    settings.ecu_type = ECU_ROTAX_912IS;
    raw.raw_aux[2] = 400; // VDO 150 °C sender
    process_sensors();
    EXPECT_EQ(channel_mode_in_use(2), CHANNEL_TEMPERATURE);
    EXPECT_EQ(PACKED(settings.channel_mode[2]), CHANNEL_PRESSURE);
    int32_t coolant = 0;
    ASSERT_TRUE(temperature_value(settings.temperature_cfg[2], 400, coolant));
    EXPECT_EQ(senders.aux_temp[2], coolant);
}

} // namespace
