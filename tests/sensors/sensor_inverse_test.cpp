// Round trips through the inverse conversions: an engineering value turned
// into a raw input reads back, through the firmware's own conversion, within
// one display step (or the raw input's own resolution where that is coarser),
// across each channel's range and for the settings that change the curve.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sensors/channels.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "sensors/sensor_inverse.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace {

using namespace ems;

int32_t aux_temperature(uint8_t n, uint16_t r)
{
    int32_t v = 0;
    temperature_value(settings.temperature_cfg[n], r, v);
    return v;
}

int32_t aux_pressure(uint8_t n, uint16_t r)
{
    int32_t v = 0;
    pressure_value(settings.pressure_cfg[n], r, n == 1, v);
    return v;
}

struct RoundTrip {
    const char* name;
    std::function<void()> configure;              // settings beyond the defaults
    int32_t from, to, step;                       // engineering values tried
    std::function<int32_t(int32_t)> there_and_back; // value -> raw -> reading
    std::function<int32_t(int32_t)> tolerance;      // allowed error at a value
};

int32_t one(int32_t) { return 1; }

const RoundTrip ROUND_TRIPS[] = {
    {"volts (0.1 V)", [] {}, 0, 360, 3, [](int32_t v) { return volts_x10_of(raw_volts_for(v)); }, one},
    {"volts, calibrated 90 %", [] { calibration.volts_cal_percent = 90; }, 0, 320, 3,
     [](int32_t v) { return volts_x10_of(raw_volts_for(v)); }, one},
    {"OAT (C)", [] {}, -60, 60, 1, [](int32_t v) { return oat_c_of(raw_oat_for(v)); }, one},
    {"OAT, offset +5", [] { calibration.oat_cal_offset = 5; }, -60, 60, 1,
     [](int32_t v) { return oat_c_of(raw_oat_for(v)); }, one},
    {"MAP (hPa)", [] { settings.map_unit = 0; }, 210, 2500, 7,
     [](int32_t v) { return map_disp_of_hpa(map_hpa_of(raw_map_for(v))); }, one},
    {"MAP, offset -20", [] { settings.map_unit = 0; calibration.map_cal_offset = -20; }, 210, 2400, 7,
     [](int32_t v) { return map_disp_of_hpa(map_hpa_of(raw_map_for(v))); }, one},
    // The period counter's resolution: one count of the period is rpm^2 / rpm1_scale RPM.
    {"RPM", [] {}, 60, 9000, 13, [](int32_t v) { return int32_t(rpm_of_period(rpm_period_for(v))); },
     [](int32_t v) { return 1 + int32_t(int64_t(v) * v / derived.rpm1_scale / 2); }},
    {"RPM, 2 pulses a turn", [] { settings.rpm1_pulses = 200; rpm1_scale_update(); }, 160, 9000, 13,
     [](int32_t v) { return int32_t(rpm_of_period(rpm_period_for(v))); },
     [](int32_t v) { return 1 + int32_t(int64_t(v) * v / derived.rpm1_scale / 2); }},
    {"EGT, type K", [] {}, -150, 1200, 1, [](int32_t v) { return tc_reading_c(tc_input_for(0, v), TC_TYPE_K); }, one},
    {"EGT, type K, warm cold junction", [] { thermo.cjc_c = 35; }, -150, 1200, 1,
     [](int32_t v) { return tc_reading_c(tc_input_for(0, v), TC_TYPE_K); }, one},
    {"EGT, type J", [] { settings.egt_probe = TC_TYPE_J; }, -100, 850, 1,
     [](int32_t v) { return tc_reading_c(tc_input_for(0, v), TC_TYPE_J); }, one},
    {"CHT, type E", [] { settings.cht_probe = TC_TYPE_E; thermo.cjc_c = 20; }, -100, 650, 1,
     [](int32_t v) { return tc_reading_c(tc_input_for(2, v), TC_TYPE_E); }, one},
    {"oil temperature, VDO 150", [] { settings.temperature_cfg[0].sender = 1; }, -20, 150, 1,
     [](int32_t v) { return aux_temperature(0, raw_aux_temperature_for(0, v)); }, one},
    {"oil temperature, VDO 120", [] { settings.temperature_cfg[0].sender = 0; }, -30, 120, 1,
     [](int32_t v) { return aux_temperature(0, raw_aux_temperature_for(0, v)); }, one},
    {"oil temperature, LM335", [] { settings.temperature_cfg[0].sender = 4; }, -50, 200, 1,
     [](int32_t v) { return aux_temperature(0, raw_aux_temperature_for(0, v)); }, one},
    {"oil pressure, input 2, 0.1 bar", [] {}, 0, 100, 1,
     [](int32_t v) { return aux_pressure(1, raw_aux_pressure_for(1, v)); }, one},
    {"oil pressure, input 1, psi", [] { settings.pressure_cfg[0].unit = 1; }, 0, 145, 1,
     [](int32_t v) { return aux_pressure(0, raw_aux_pressure_for(0, v)); }, one},
    {"oil pressure, UMA psi", [] {
         PressureSenderConfig& p = settings.pressure_cfg[1];
         p.type = 1;
         p.sender = 1;
         p.unit = 1;
         p.uma_model = 2;
     }, 0, 100, 1, [](int32_t v) { return aux_pressure(1, raw_aux_pressure_for(1, v)); }, one},
    // One pulse in the one-second window is 36000 / K tenths of a litre per hour.
    {"fuel flow (0.1 L/h)", [] {}, 0, 3000, 7,
     [](int32_t v) { return flow_of_pulses(flow_pulses_for(0, v), k_litre(settings.k_factor1), FLOW_WINDOW_TICKS); },
     [](int32_t) { return 1 + 36000 / 7000 / 2; }},
    {"fuel flow, injector", [] { settings.fuel_flow_source = 1; }, 0, 3000, 7,
     [](int32_t v) { return flow_of_pulses(flow_pulses_for(0, v), k_litre(settings.k_factor1), FLOW_WINDOW_TICKS); },
     one},
    {"tank 1 (L)", [] {}, 0, 45, 1, [](int32_t v) { return tank_level_of_reading(0, raw_fuel_level_for(0, v)); }, one},
    {"tank 2, rising, 120 L", [] {
         settings.tank2_size = 120;
         const uint16_t rising[6] = {300, 900, 1500, 2100, 2700, 3300};
         for (int k = 0; k < 6; ++k) settings.tank2_cal[k] = rising[k];
     }, 0, 120, 1, [](int32_t v) { return tank_level_of_reading(1, raw_fuel_level_for(1, v)); }, one},
};

TEST(SensorInverse, EveryValueReadsBackWithinOneStep)
{
    for (const RoundTrip& trip : ROUND_TRIPS) {
        test::reset_firmware();
        rpm1_scale_update();
        trip.configure();
        int failures = 0;
        for (int32_t v = trip.from; v <= trip.to && failures < 3; v += trip.step) {
            const int32_t back = trip.there_and_back(v);
            const int32_t error = back > v ? back - v : v - back;
            if (error > trip.tolerance(v)) {
                ADD_FAILURE() << trip.name << ": " << v << " reads back as " << back;
                ++failures;
            }
        }
    }
}

// The display truncates MAP to 0.1 inHg and its filters settle a count short
// of a value reached from below: the input aimed at the middle of the step
// still shows the wanted step, from either side and with every filter.
TEST(SensorInverse, ManifoldPressureSettlesOnTheWantedStep)
{
    test::reset_firmware();
    settings.map_unit = 1;
    tick.alarm_holdoff = 5;
    for (uint8_t filter = 0; filter <= 2; ++filter) {
        settings.map_filter = filter;
        for (int32_t want = 100; want <= 350; ++want) {
            for (const uint16_t start : {uint16_t(0), uint16_t(ADC_INPUT_MAX)}) {
                raw.raw_map = start;
                for (int pass = 0; pass < 40; ++pass) process_map();
                raw.raw_map = raw_map_for(want);
                for (int pass = 0; pass < 40; ++pass) process_map();
                ASSERT_EQ(sens.map_disp, want) << "filter " << int(filter) << " from " << start;
            }
        }
    }
}

TEST(SensorInverse, ValuesBeyondReachTakeTheEndOfTheRange)
{
    test::reset_firmware();
    rpm1_scale_update();
    EXPECT_EQ(rpm_period_for(0), RPM_PERIOD_STOPPED);
    EXPECT_EQ(rpm_of_period(rpm_period_for(0)), 0u);
    EXPECT_EQ(volts_x10_of(raw_volts_for(2000)), volts_x10_of(ADC_INPUT_MAX));
    EXPECT_EQ(raw_volts_for(-5), 0);
    EXPECT_EQ(map_hpa_of(raw_map_for(0)), 0); // below the sensor floor
    EXPECT_EQ(tc_input_for(0, 5000), TC_INPUT_MAX);
    EXPECT_EQ(tank_level_of_reading(0, raw_fuel_level_for(0, 999)), settings.tank1_size);
}

} // namespace
