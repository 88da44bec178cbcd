// The raw inputs that make the instrument read given engineering values: the
// inverses of the sensor conversions, for a host that simulates sensors from
// a flight simulator's engine and fuel figures. Each inverse searches the raw
// range with the firmware's own forward conversion (channels.h,
// thermocouple.h, senders.h, fuel.h) under the present settings, so it
// follows every unit, curve, calibration and probe choice without a second
// copy of a table or a constant. The result is the raw value whose steady
// reading lies nearest the wanted one; beyond what a raw input can reach it
// is the end of its range. Where the display's step is coarser than the
// conversion's (MAP in 0.1 inHg over whole hPa) the value is wanted in the
// display's unit, so that the input lies in the middle of the shown step.
#pragma once
#include <cstdint>

namespace ems {

// Ranges of the simulated inputs (the host's sliders).
constexpr int32_t ADC_INPUT_MAX = 4095; // 12-bit converter
constexpr int32_t RPM_PERIOD_MIN = 1;
constexpr int32_t RPM_PERIOD_STOPPED = 31000; // the RPM slider's start: engine stopped
constexpr int32_t RPM_PERIOD_SLOWEST = RPM_PERIOD_STOPPED - 1000; // periods above it read 0
constexpr int32_t TC_INPUT_MIN = -200;
constexpr int32_t TC_INPUT_MAX = 1200;
constexpr int32_t FLOW_PULSES_MAX = 65535;

uint16_t raw_volts_for(int32_t volts_x10);  // supply volts in 0.1 V
uint16_t raw_oat_for(int32_t oat_c);        // outside air temperature, degrees C
// Manifold pressure in the display unit (map_unit: 0.1 inHg or hPa). A step
// of 0.1 inHg spans several inputs; the middle one keeps the reading in its
// step when the filter settles a count short.
uint16_t raw_map_for(int32_t map_disp);
uint16_t rpm_period_for(int32_t rpm);       // RPM 1 (before the display's rounding); 0 gives the stopped period
// Hot-junction temperature for thermocouple channel 0..11 to read temp_c
// degrees C with the probe type it is configured for.
int16_t tc_input_for(uint8_t channel, int32_t temp_c);
// Analog input 0..3 read as a temperature: temp in degrees C for the
// built-in senders, in the table's unit for "USER".
uint16_t raw_aux_temperature_for(uint8_t input, int32_t temp);
// Analog input 0..3 read as a pressure in its record's unit (0.1 bar, psi,
// 0.1 psi, or the user table's).
uint16_t raw_aux_pressure_for(uint8_t input, int32_t pressure);
// Pulses of flow sender 0 or 1 in the measuring window for a flow in 0.1
// litre per hour.
uint16_t flow_pulses_for(uint8_t sender, int32_t flow_l_x10);
// Sender reading of tank 0 or 1 for a level in the tank unit (the unit of
// its size).
uint16_t raw_fuel_level_for(uint8_t tank, int32_t level);

} // namespace ems
