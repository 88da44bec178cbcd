// Sensor processing, run once per main-loop pass in this order: volts, OAT,
// cold junction, the twelve thermocouples, the two tanks, RPM, fuel flow, the
// four analog inputs by channel_mode, MAP, fuel pressure, main current.
//
// Every channel computes its value, clamps it, and, once the power-on
// alarm_holdoff has run out, keeps its min/max and sets or clears its alarm
// bit (clearing it in both alarm words). A channel not processed in a pass
// keeps its last value.
#pragma once
#include <cstdint>

#include "alarms/alarm_words.h"

namespace ems {

struct SensorState {
    uint16_t flow_window = 0;  // measuring window of the fuel-flow computer, 100 us ticks; 10000 after power-on
    uint16_t volts_x10 = 0;    // supply voltage, 0.1 V
    int16_t oat_c = 0;         // outside air temperature, whole degrees C
    int16_t oat_disp = 0;      // outside air temperature in oat_unit (C or F)
    int32_t rpm = 0;           // RPM 1 rounded to rpm1_increment, 0..99999
    int32_t rpm_unrounded = 0; // RPM 1 before rounding, 0..99999
    int32_t rpm_percent = 0;   // rpm as percent of rpm1_full_scale
    int16_t map_hpa = 0;       // manifold pressure, hPa; 0 below the sensor floor
    int16_t map_disp = 0;      // manifold pressure in map_unit: hPa (0) or 0.1 inHg (1)
    int16_t current_x10 = 0;   // main current, 0.1 A, signed
    int16_t current_a = 0;     // main current, whole A (current_x10 / 10, truncated)
    uint32_t volts_acc = 0;    // volts running average x 4; never reset
    uint32_t map_acc = 0;      // MAP filter accumulator (x 2 FAST, x 4 SLOW); never reset
    uint8_t minmax_seed_due = 0; // 1 from power-on until the min/max record is seeded after the hold-off
};
extern SensorState sens;

// The flow measuring window the fuel computer runs with from power-on: one
// second in 100 us ticks.
constexpr uint16_t FLOW_WINDOW_TICKS = 10000;

// Once at power-on, as the main loop starts: the flow window, the fuel
// computer's time base, and a min/max seed due when the hold-off ends.
void sensors_start();

// At the end of every pass's sensor processing: the first pass after the
// power-on hold-off seeds the min/max record from its readings (the record
// seeded at power-on holds values from before any reading).
void minmax_seed_after_holdoff();

// The conversions of the simple channels for a steady input (their filters
// settled), with the present settings and calibration. The per-pass entry
// points below use them; the host's simulator link inverts them.
uint16_t volts_x10_of(uint32_t average); // supply volts, 0.1 V, from an averaged raw_volts count
int16_t oat_c_of(uint16_t raw_oat);      // outside air temperature, whole degrees C
int16_t map_hpa_of(uint16_t raw_map);    // manifold pressure, hPa (0 at or below the sensor floor)
int16_t map_disp_of_hpa(int16_t hpa);    // the same in the display unit (map_unit): 0.1 inHg, truncated, or hPa
uint32_t rpm_of_period(uint16_t period); // RPM 1 before rounding and clamping; 0 for a stopped engine

// Per-pass entry points of the simple channels.
void process_volts();   // volts_x10, alarm 0x10
void process_oat();     // oat_c, oat_disp, alarm 0x08
void process_rpm();     // rpm, rpm_unrounded, rpm_percent, alarm 0x01; the RPM 1 and RPM 2 maxima
void process_map();     // map_hpa, map_disp, alarm 0x04 (only called while map_display is on)
void process_current(); // current_x10, current_a, alarm 0x20 (only called while current_display is 1)

// Thermocouples (process_cjc, process_thermocouple) are in thermocouple.h.
void process_cjc();
void process_thermocouple(uint8_t channel); // 0..11

// Sender and fuel channels.
void process_tank_level(uint8_t tank);      // 0 tank 1, 1 tank 2
void process_fuel_flow();
void aux_pressure_input(uint8_t channel);    // analog channel 0..3 in pressure mode
void aux_temperature_input(uint8_t channel); // temperature mode
void aux_current_input(uint8_t channel);     // current mode
void aux_generic_input(uint8_t channel);     // generic mode
void process_fuel_pressure();

} // namespace ems
