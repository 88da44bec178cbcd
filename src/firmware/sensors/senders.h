// Sender curves and the analog inputs: the built-in curves, the table lookup
// shared with the user calibration tables, the four analog-input handlers
// (pressure, temperature, current, generic) and the fuel-pressure sender.
//
// Every handler follows the channel pattern: compute, clamp, then (outside
// the power-on alarm hold-off) keep the min/max and set or clear its alarm
// bit: 0x400 << n for analog input n, 0x100 for fuel pressure.
#pragma once
#include <cstdint>

#include "settings/settings.h"

namespace ems {

// Outputs of the analog inputs (index n = analog input 0..3) and the fuel
// pressure sender. They keep their value between passes and while a
// channel's mode changes.
struct SenderOutputs {
    int16_t aux_pressure[4] = {};    // record's pressure unit (0.1 bar, 1 psi, 0.1 psi) or user-table unit, 0..999
    int16_t aux_temp_c[4] = {};      // temperature before unit conversion (degrees C for built-in senders)
    int16_t aux_temp[4] = {};        // temperature in display units, -99..999
    int16_t aux_current_x10[4] = {}; // current in 0.1 A, signed
    int16_t aux_current[4] = {};     // current in whole amperes (aux_current_x10 / 10, truncated)
    int16_t aux_generic[4] = {};     // generic value in the record's own resolution, 0..999
    int16_t fuel_pressure = 0;       // fuel pressure, units as aux_pressure, 0..999
};
extern SenderOutputs senders;

// ---- Built-in curves (constant data, sender_curves.cpp) ---------------------

// Temperature senders by TemperatureSenderConfig::sender 0..3, degrees C:
// "VDO 120°C", "VDO 150°C", "QOR NTC", "WESTACH".
extern const SenderCalibrationTable TEMPERATURE_CURVES[4];
// Resistive "VDO" pressure senders by vdo_model 0..2 ("2 bar", "5 bar",
// "10 bar"), 0.1 bar: the set for inputs 1, 3, 4 and fuel pressure, and the
// set for analog input 2.
extern const SenderCalibrationTable VDO_CURVES[3];
extern const SenderCalibrationTable VDO_INPUT2_CURVES[3];

// Native unit of a voltage ("UMA") pressure curve.
enum class UmaUnit : uint8_t { PsiTenths, Psi, InHg };
// The six distinct "UMA" curves; uma_model 0..11 maps onto them through
// UMA_MODEL_CURVE.
extern const SenderCalibrationTable UMA_CURVES[6];
extern const UmaUnit UMA_CURVE_UNIT[6];
extern const uint8_t UMA_MODEL_CURVE[12];

// ---- Lookup -----------------------------------------------------------------

// Display value of ADC reading `raw` on a curve (rising or falling ADC, by its
// first two points; the end segments extrapolate). Writes `value` and returns
// true; returns false and leaves `value` untouched when no usable segment
// exists: a table that is not monotonic, fewer than two points, or a matching
// segment whose two ADC values are equal. A count above the 21 slots is taken
// as 21.
bool sender_lookup(const SenderCalibrationTable& table, int32_t raw, int32_t& value);

// Degrees C of an NTC CHT probe on the "VDO 150°C" curve.
int16_t ntc_cht_lookup(uint16_t raw);

// The curves a record selects (out-of-range selectors fall back as noted).
const SenderCalibrationTable& temperature_curve(uint8_t sender); // 0..3; any other value "VDO 150°C"
const SenderCalibrationTable& vdo_curve(uint8_t vdo_model, bool input2); // model above 2 reads "10 bar"
uint8_t uma_curve_index(uint8_t uma_model); // 0..5; models above 11 read as model 0

// What a sender reads without engine-computer substitution, before clamping:
// a pressure in the record's unit (input2: analog input 2's own "VDO"
// curves), or a temperature in degrees C for the built-in senders and in the
// table's unit for "USER". False (value untouched) when the record gives no
// reading (a user table without a usable segment, an unknown type).
bool pressure_value(const PressureSenderConfig& cfg, uint16_t raw, bool input2, int32_t& value);
bool temperature_value(const TemperatureSenderConfig& cfg, uint16_t raw, int32_t& value);

// ---- The mode each analog channel works in ----------------------------------

// ---- Per-pass handlers (channel 0..3; larger numbers do nothing) ------------

void aux_pressure_input(uint8_t channel);    // pressure_cfg[channel], raw_aux[channel]
void aux_temperature_input(uint8_t channel); // temperature_cfg[channel]
void aux_current_input(uint8_t channel);     // current_cfg[channel], current_zero[channel]
void aux_generic_input(uint8_t channel);     // generic_cfg[channel]
void process_fuel_pressure();                // fuel_pressure_cfg, raw_fuel_pressure

} // namespace ems
