// The fuel computer: tank calibration, filters and open senders, flows from
// pulses and injector duty cycles with their K-factor scaling, fuel used,
// calculated tanks for every fuel_config, and range and endurance with and
// without a GPS fix.
#include <gtest/gtest.h>

#include "alarms/alarm_words.h"
#include "gps/gps_data.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/minmax.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace {

using namespace ems;

constexpr uint8_t S = TANK_SENDER;
constexpr uint8_t C = TANK_CALCULATED;
constexpr uint8_t O = TANK_OFF;
constexpr uint32_t FULL = 140000; // 20 L in pulses at the default K-factor

class Fuel : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        minmax = {};
        sens.flow_window = 10000; // as after power-on
        settings.tank1_filter = 0;
        settings.tank2_filter = 0;
    }
    void TearDown() override { test::reset_firmware(); }

    static void configure(uint8_t f1, uint8_t f2, uint8_t t1, uint8_t t2, uint8_t mode)
    {
        settings.flow1_on = f1;
        settings.flow2_on = f2;
        settings.tank1_mode = t1;
        settings.tank2_mode = t2;
        settings.flow_mode = mode;
        fuel_config_derive();
    }
    // One pass 4 s (40 ticks) after the last.
    static void pass(uint32_t ticks = 40)
    {
        tick.ticks += ticks;
        process_fuel_flow();
    }
    static uint16_t level(uint8_t t, uint16_t reading)
    {
        raw.raw_fuel_level[t] = reading;
        process_tank_level(t);
        return fuel.tank_level[t];
    }
};

// ---- Tank levels ------------------------------------------------------------------

TEST_F(Fuel, DefaultFallingTankTable)
{
    EXPECT_EQ(level(0, 900), 0);
    EXPECT_EQ(level(0, 809), 0);
    EXPECT_EQ(level(0, 600), 13); // 9 + 9 * 80 / 160
    EXPECT_EQ(level(0, 520), 18);
    EXPECT_EQ(level(0, 300), 40); // 36 + 9 * 56 / 105 = 40.8
    EXPECT_EQ(level(0, 251), 45);
    EXPECT_EQ(level(0, 0), 45);
}

TEST_F(Fuel, RisingTankTableAndTenthLitreSize)
{
    const uint16_t rising[6] = {100, 200, 300, 400, 500, 600};
    for (int k = 0; k < 6; ++k) settings.tank2_cal[k] = rising[k];
    settings.tank2_mode = S;
    settings.tank2_size = 500; // 50.0 L in tenths
    EXPECT_EQ(level(1, 50), 0);
    EXPECT_EQ(level(1, 350), 250);
    EXPECT_EQ(level(1, 599), 499);
    EXPECT_EQ(level(1, 700), 500);
}

TEST_F(Fuel, TankTableWithEqualNeighboursGivesADefinedLevel)
{
    const uint16_t falling[6] = {809, 680, 680, 427, 356, 251};
    for (int k = 0; k < 6; ++k) settings.tank1_cal[k] = falling[k];
    EXPECT_EQ(level(0, 700), 7);  // 9 * 109 / 129
    EXPECT_EQ(level(0, 680), 18); // the zero-width step is skipped
    EXPECT_EQ(level(0, 500), 24); // 18 + 9 * 180 / 253
    const uint16_t rising[6] = {100, 200, 200, 300, 400, 500};
    for (int k = 0; k < 6; ++k) settings.tank1_cal[k] = rising[k];
    settings.tank1_size = 50;
    EXPECT_EQ(level(0, 200), 20);
    EXPECT_EQ(level(0, 150), 5);
    const uint16_t flat[6] = {500, 500, 500, 500, 500, 500};
    for (int k = 0; k < 6; ++k) settings.tank1_cal[k] = flat[k];
    EXPECT_EQ(level(0, 400), 50);
    EXPECT_EQ(level(0, 600), 0);
}

TEST_F(Fuel, FiltersRampFromZeroAndSettle)
{
    // The accumulator starts at 0, so the first filtered reading is low (a
    // falling table then reads fuller); a steady reading settles on its level.
    struct Case {
        uint8_t filter;
        uint16_t first_level; // after one reading of 600
    };
    for (const Case& c : {Case{1, 40}, Case{2, 45}, Case{3, 45}}) {
        fuel = {};
        settings.tank1_filter = c.filter;
        EXPECT_EQ(level(0, 600), c.first_level) << int(c.filter);
        EXPECT_EQ(fuel.tank_filter_acc[0], 600u) << int(c.filter);
        for (int i = 0; i < 600; ++i) level(0, 600);
        EXPECT_EQ(fuel.tank_level[0], 13) << int(c.filter);
    }
    // Out-of-range filter settings act as NONE.
    fuel = {};
    settings.tank1_filter = 200;
    EXPECT_EQ(level(0, 600), 13);
}

TEST_F(Fuel, OpenSenderOnlyForSenderTanks)
{
    level(0, 4001);
    EXPECT_EQ(fuel.tank_open[0], 1);
    EXPECT_EQ(fuel.tank_level[0], 0); // still computed from the reading
    level(0, 4000);
    EXPECT_EQ(fuel.tank_open[0], 0);
    settings.tank1_mode = C;
    level(0, 4095);
    EXPECT_EQ(fuel.tank_open[0], 0);
    settings.tank2_mode = S;
    level(1, 4095);
    EXPECT_EQ(fuel.tank_open[1], 1);
}

TEST_F(Fuel, LowLevelAlarmsPerTank)
{
    settings.tank2_mode = S;
    tick.alarm_holdoff = 2;
    level(0, 809);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    tick.alarm_holdoff = 0;
    level(0, 809);
    level(1, 809);
    EXPECT_EQ(alarms.alarm_flags, ALARM_TANK1 | ALARM_TANK2);
    alarms.alarm_acked = ALARM_TANK1;
    level(0, 600); // 13 above the limit 10
    EXPECT_EQ(alarms.alarm_flags, ALARM_TANK2);
    EXPECT_EQ(alarms.alarm_acked, 0u);
    settings.tank2_low_alarm_on = 0;
    level(1, 809);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    settings.tank1_mode = O;
    fuel.tank_level[0] = 0;
    level(0, 809);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    settings.tank1_mode = C; // judged on the level computed by the fuel flow
    process_tank_level(0);
    EXPECT_EQ(alarms.alarm_flags, ALARM_TANK1);
    process_tank_level(2); // no third tank
}

// ---- Flows ----------------------------------------------------------------------------

TEST_F(Fuel, FlowSenderScalingAndGallons)
{
    raw.flow_pulses[0] = 39;
    raw.flow_pulses[1] = 14;
    pass();
    EXPECT_EQ(fuel.fuel_flow_l[0], 200);
    EXPECT_EQ(fuel.fuel_flow[0], 200);
    EXPECT_EQ(fuel.fuel_flow[1], 72); // flow 2 is computed even while it is off
    settings.fuel_unit = 1;           // GAL/SM
    EXPECT_EQ(k_unit(7000), 26497u);
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 52);
    EXPECT_EQ(fuel.fuel_flow_l[0], 200);
    settings.k_factor1 = 0; // not a usable factor: reads no flow instead of stopping
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 0);
    sens.flow_window = 0;
    pass();
    EXPECT_EQ(fuel.fuel_flow[1], 0);
}

TEST_F(Fuel, InjectorDutyCyclesUseTenTimesTheKFactor)
{
    settings.fuel_flow_source = 1;
    EXPECT_EQ(k_litre(7000), 70000u);
    raw.flow_pulses[0] = 39; // ignored now
    raw.injector_duty[0] = 500;
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 257); // 36000 * 500 / 70000
    settings.injector_level = 1;
    raw.injector_duty[0] = 200; // HIGH: 1000 - 200
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 411);
    raw.injector_duty[0] = 1200; // beyond 100 %: 0, then inverted
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 514);
    settings.injector_level = 0;
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 0);
}

TEST_F(Fuel, KFactorsUpToTheSetupLimitDoNotWrap)
{
    settings.fuel_flow_source = 1; // INJECTOR
    settings.fuel_unit = 3;        // GAL/NM
    EXPECT_EQ(k_unit(60000), 2271240u); // 600000 * 3.7854
    EXPECT_EQ(k_unit(11347), 429529u);
}

TEST_F(Fuel, FlowsRangeAndEnduranceHoldAtTheirLimits)
{
    settings.k_factor1 = 1000;
    raw.flow_pulses[0] = 65535; // 2359.2 * 1000 L/h
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 0xFFFF);
    EXPECT_EQ(fuel.fuel_flow_l[0], 0xFFFF);

    settings.k_factor1 = 7000;
    raw.flow_pulses[0] = 1; // 0.5 L/h from a large tank
    fuel.tank_level[0] = 2000;
    pass();
    EXPECT_EQ(fuel.fuel_range, FUEL_RANGE_MAX);      // 50 * 2000 * 10 / 5
    EXPECT_EQ(fuel.fuel_time_left, FUEL_RANGE_MAX); // 2000 * 600 / 5
}

TEST_F(Fuel, EngineComputersAndFlowOne)
{
    settings.ecu_type = ECU_ROTAX_912IS;
    settings.ecu_connect = ECU_CONNECT_DIRECT;
    ecu.records.lane[0].flow_rate = 25.57f;
    raw.flow_pulses[0] = 39;
    raw.flow_pulses[1] = 39;
    pass();
    EXPECT_EQ(fuel.fuel_flow_l[0], 255);
    EXPECT_EQ(fuel.fuel_flow[0], 255);
    EXPECT_EQ(fuel.fuel_flow[1], 200);
    settings.fuel_unit = 3;
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 67); // 255 * 10000 / 37854

    settings.ecu_type = ECU_UL_POWER; // flow 1 is left alone
    fuel.fuel_flow[0] = 123;
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 123);
}

TEST_F(Fuel, FuelUsedAccumulates)
{
    raw.flow_pulses[0] = 39; // 20.0 L/h: 7000 * 200 / 9000 = 155.6 pulses in 4 s
    for (int i = 0; i < 100; ++i) pass();
    EXPECT_EQ(+fuel_hobbs.fuel.fuel_used1, 15555u);
    EXPECT_EQ(fuel.fuel_used[0], 2u);
    EXPECT_EQ(+fuel_hobbs.fuel.fuel_used2, 0u);

    fuel_hobbs = {};
    settings.fuel_unit = 5; // GAL/KM: 26497 * 52 / 9000 = 153, counted x 10
    pass();
    EXPECT_EQ(+fuel_hobbs.fuel.fuel_used1, 1530u);
}

TEST_F(Fuel, FuelIsCountedOverTimeWhateverThePassRate)
{
    // 100 s at 20.0 L/h in tank 1 (calculated) is 7000 * 200 * 1000 / 360000
    // = 3888.9 pulses, spread over 1, 7 or 1000 passes.
    configure(1, 0, C, O, 0);
    raw.flow_pulses[0] = 39;
    for (uint32_t passes : {1u, 7u, 1000u}) {
        SCOPED_TRACE(passes);
        fuel_hobbs = {};
        fuel_hobbs.fuel.tank1_contents = FULL;
        fuel_start();
        const uint32_t start = tick.ticks;
        for (uint32_t i = 1; i <= passes; ++i) {
            tick.ticks = start + 1000 * i / passes;
            process_fuel_flow();
        }
        EXPECT_EQ(+fuel_hobbs.fuel.fuel_used1, 3888u);
        EXPECT_EQ(+fuel_hobbs.fuel.tank1_contents, FULL - 3888);
    }
    // Ticks before the start (the firmware off) are not counted.
    tick.ticks += 5000;
    fuel_start();
    process_fuel_flow();
    EXPECT_EQ(+fuel_hobbs.fuel.fuel_used1, 3888u);
}

// ---- Calculated tanks -------------------------------------------------------------------

// Every supported fuel_config with calculated tanks: one pass with flow 1 at
// 20.0 L/h (u = 155 pulses) and flow 2 at 7.2 L/h (56 pulses), from 140000
// pulses (20 L) in each tank.
struct TankCase {
    uint8_t f1, f2, t1, t2, mode;
    uint8_t config;
    uint32_t tank1, tank2; // contents after the pass
};

constexpr TankCase TANK_CASES[] = {
    {1, 0, C, O, 0, 0, FULL - 155, FULL},
    {0, 1, O, C, 0, 1, FULL, FULL - 56},
    {1, 1, C, C, 0, 10, FULL - 155, FULL - 56},
    {1, 1, C, S, 1, 11, FULL - 155 + 56, FULL},       // differential into tank 1
    {1, 1, C, S, 2, 11, FULL - 155 - 56, FULL},       // summation
    {1, 1, S, C, 1, 11, FULL, FULL + 56 - 155},
    {1, 1, S, C, 2, 11, FULL, FULL - 56 - 155},
    {1, 1, C, C, 1, 11, FULL - 155, FULL - 56},
    {1, 1, C, O, 1, 12, FULL - 155 + 56, FULL},
    {1, 1, C, O, 2, 12, FULL - 155 - 56, FULL},
    {1, 1, O, C, 1, 13, FULL, FULL - 155 + 56},
    {1, 1, O, C, 2, 13, FULL, FULL - 155 - 56},
    {1, 0, C, C, 0, 14, FULL - 155, FULL - 155},      // one sender feeds both
    {1, 0, S, C, 0, 14, FULL, FULL - 155},
    {0, 1, C, S, 0, 14, FULL - 56, FULL},
};

TEST_F(Fuel, CalculatedTanksForEveryConfiguration)
{
    for (const TankCase& c : TANK_CASES) {
        SCOPED_TRACE(testing::Message() << "fuel_config " << int(c.config) << " mode " << int(c.mode)
                                        << " tanks " << int(c.t1) << int(c.t2));
        settings.k_factor1 = settings.k_factor2 = 7000;
        configure(c.f1, c.f2, c.t1, c.t2, c.mode);
        ASSERT_EQ(derived.fuel_config, c.config);
        raw.flow_pulses[0] = 39;
        raw.flow_pulses[1] = 14;
        fuel_hobbs.fuel.tank1_contents = fuel_hobbs.fuel.tank2_contents = FULL;
        fuel_start(); // no pulse fractions from the case before
        pass();
        EXPECT_EQ(+fuel_hobbs.fuel.tank1_contents, c.tank1);
        EXPECT_EQ(+fuel_hobbs.fuel.tank2_contents, c.tank2);
        if (c.t1 == C) {
            EXPECT_EQ(fuel.tank_level[0], 20);
        }
        if (c.t2 == C) {
            EXPECT_EQ(fuel.tank_level[1], 20);
        }
    }
}

TEST_F(Fuel, CalculatedContentsStopAtZeroAndLevelsAtTheTankSize)
{
    configure(1, 0, C, O, 0);
    raw.flow_pulses[0] = 39;
    fuel_hobbs.fuel.tank1_contents = 100;
    pass();
    EXPECT_EQ(+fuel_hobbs.fuel.tank1_contents, 0u);
    EXPECT_EQ(fuel.tank_level[0], 0);
    fuel_hobbs.fuel.tank1_contents = 7000 * 60;
    pass();
    EXPECT_EQ(fuel.tank_level[0], 45);
    fuel_hobbs.fuel.tank1_contents = 4000000000u; // no overflow in the level
    pass();
    EXPECT_EQ(fuel.tank_level[0], 45);
}

TEST_F(Fuel, CalculatedLevelsInGallonsAndTenthLitres)
{
    configure(1, 0, C, O, 0);
    settings.tank1_size = 999;
    settings.fuel_unit = 1;
    fuel_hobbs.fuel.tank1_contents = 26497 * 5;
    pass(); // no flow
    EXPECT_EQ(fuel.tank_level[0], 50); // 5.0 gal

    settings.fuel_unit = 0;
    settings.tank_resolution = 1; // pulses count ten times finer
    raw.flow_pulses[0] = 39;
    raw.flow_pulses[1] = 14;
    fuel_hobbs.fuel.tank1_contents = 7000 * 200; // 20.0 L
    pass();
    EXPECT_EQ(+fuel_hobbs.fuel.tank1_contents, 7000u * 200 - 1555);
    EXPECT_EQ(fuel.tank_level[0], 200); // 199.8 tenths round to 20.0 L
}

TEST_F(Fuel, DifferentialReturnFlowCountsAtTenthLitreResolution)
{
    // All fuel sent to the engine comes back: the tank must not drain.
    configure(1, 1, C, O, 1);
    ASSERT_EQ(derived.fuel_config, 12);
    settings.tank_resolution = 1;
    raw.flow_pulses[0] = 39;
    raw.flow_pulses[1] = 39;
    fuel_hobbs.fuel.tank1_contents = 7000 * 200;
    for (int i = 0; i < 10; ++i) pass();
    EXPECT_EQ(+fuel_hobbs.fuel.tank1_contents, 7000u * 200);
}

// ---- Range and endurance ------------------------------------------------------------------

TEST_F(Fuel, RangeAndEnduranceWithCruiseSpeedAndGps)
{
    // Defaults: flow 1 into tank 1 (SENDER), fuel_config 0, cruise speed 50.
    ASSERT_EQ(derived.fuel_config, 0);
    level(0, 600); // 13 L
    raw.flow_pulses[0] = 39; // 20.0 L/h
    pass();
    EXPECT_EQ(fuel.fuel_range, 32);      // 50 * 13 * 10 / 200
    EXPECT_EQ(fuel.fuel_time_left, 39); // 13 * 600 / 200
    gps.gps_speed_dist = 100;
    pass();
    EXPECT_EQ(fuel.fuel_range, 32); // no fix: still the cruise speed
    gps.gps_fix_valid = 1;
    pass();
    EXPECT_EQ(fuel.fuel_range, 65);
    EXPECT_EQ(fuel.fuel_time_left, 39);

    settings.fuel_unit = 1; // gallons: the tank reads 13 (1.3 gal) in the gallon formula
    pass();
    EXPECT_EQ(fuel.fuel_flow[0], 52);
    EXPECT_EQ(fuel.fuel_range, 25);      // 100 * 13 / 52
    EXPECT_EQ(fuel.fuel_time_left, 15); // 13 * 60 / 52
}

TEST_F(Fuel, RangeWithoutFlowOrWithoutFuel)
{
    level(0, 600);
    pass();
    EXPECT_EQ(fuel.fuel_range, FUEL_NOT_AVAILABLE);
    EXPECT_EQ(fuel.fuel_time_left, FUEL_NOT_AVAILABLE);
    raw.flow_pulses[0] = 39;
    level(0, 809);
    pass();
    EXPECT_EQ(fuel.fuel_range, 0);
    EXPECT_EQ(fuel.fuel_time_left, 0);
    level(0, 600);
    settings.tank1_add_to_range = 0;
    pass();
    EXPECT_EQ(fuel.fuel_range, 0);

    configure(0, 0, S, S, 0); // no flow sender: no range
    pass();
    EXPECT_EQ(fuel.fuel_range, FUEL_NOT_AVAILABLE);
}

TEST_F(Fuel, RangeFlowAndFuelPerConfiguration)
{
    raw.flow_pulses[0] = 39; // 200
    raw.flow_pulses[1] = 14; // 72
    struct Case {
        uint8_t f1, f2, t1, t2, mode;
        uint16_t l1, l2;  // tank levels before the pass
        uint16_t minutes; // A * 600 / F
    };
    const Case cases[] = {
        {0, 1, O, S, 0, 0, 12, 100},    // config 1: flow 2, tank 2
        {1, 1, S, S, 0, 13, 7, 44},     // 10: (13 + 7) * 600 / 272
        {1, 1, S, S, 1, 13, 7, 93},     // 11, differential: 20 * 600 / 128
        {1, 1, S, S, 2, 13, 7, 44},     // 11, summation
        {1, 0, S, S, 0, 13, 7, 60},     // 11 with one sender: its flow
        {1, 1, S, O, 1, 13, 0, 60},     // 12: tank 1 only, 13 * 600 / 128
        {1, 1, O, S, 2, 0, 7, 15},      // 13: tank 2, 7 * 600 / 272
        {0, 1, S, C, 0, 13, 7, 166},    // 14 with flow 2: (13 + 7) * 600 / 72
    };
    for (const Case& c : cases) {
        configure(c.f1, c.f2, c.t1, c.t2, c.mode);
        SCOPED_TRACE(testing::Message() << "fuel_config " << int(derived.fuel_config));
        fuel.tank_level[0] = c.l1;
        fuel.tank_level[1] = c.l2;
        fuel_hobbs.fuel.tank2_contents = uint32_t(c.l2) * settings.k_factor2 + 3000; // keeps 7 L
        pass();
        EXPECT_EQ(fuel.fuel_time_left, c.minutes);
    }
    // Differential with more fuel returned than sent: no flow.
    configure(1, 1, S, O, 1);
    raw.flow_pulses[1] = 50;
    fuel.tank_level[0] = 13;
    pass();
    EXPECT_EQ(fuel.fuel_time_left, FUEL_NOT_AVAILABLE);
}

} // namespace
