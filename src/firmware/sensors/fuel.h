// The fuel computer: tank level senders through their six-point calibration,
// fuel flow from flow-sender pulses or injector duty cycles, fuel used per
// sender, calculated tank contents for every fuel_config, and range and
// endurance. Runs once per pass: process_tank_level(0), (1), then
// process_fuel_flow(). The run-time totals live in fuel_hobbs.fuel (FuelData,
// in flow-sender pulses).
#pragma once
#include <cstdint>

#include "alarms/alarm_table.h"

namespace ems {

// flow_mode (options::FLOW_MODE).
constexpr uint8_t FLOW_DUAL = 0;
constexpr uint8_t FLOW_DIFFERENTIAL = 1;
constexpr uint8_t FLOW_SUMMATION = 2;

constexpr uint16_t FUEL_NOT_AVAILABLE = 0xFFFF; // fuel_range / fuel_time_left without flow
constexpr uint16_t FUEL_RANGE_MAX = 0xFFFE;     // larger ranges and endurances hold here
constexpr uint16_t TANK_OPEN_READING = 4000;    // sender readings above this are an open circuit

struct FuelState {
    uint16_t fuel_flow_l[2] = {};      // flow per sender, 0.1 litre per hour; holds at 0xFFFF
    uint16_t fuel_flow[2] = {};        // flow per sender, 0.1 volume unit (litre or US gallon) per hour; holds at 0xFFFF
    uint16_t tank_level[2] = {};       // tank contents in the tank unit, 0..tank size
    uint8_t tank_open[2] = {};         // 1 while a SENDER tank reads above 4000 (open circuit)
    uint32_t fuel_used[2] = {};        // fuel used per sender in the volume unit
    uint16_t fuel_range = 0;           // range in the fuel unit's distance; 0 without fuel, 0xFFFF without flow, at most 0xFFFE
    uint16_t fuel_time_left = 0;       // endurance in minutes; 0 without fuel, 0xFFFF without flow, at most 0xFFFE
    uint32_t tank_filter_acc[2] = {};  // level filter accumulators (average x 2, 8 or 32); never reset
    uint32_t flow_tick = 0;            // tick.ticks up to which the flows have been counted
    uint32_t flow_rest[4] = {};        // pulse fractions carried over: used 1, used 2, flow 2 in tank 1, flow 1 in tank 2
};
extern FuelState fuel;

// Pulses per litre of a K-factor: x 10 for injector duty cycles.
uint32_t k_litre(uint16_t k);
// Pulses per volume unit: k_litre, x 3.7854 for the gallon units (odd fuel_unit).
uint32_t k_unit(uint16_t k);
// The unit of the speed the range is computed with, and so of cruise_speed:
// the fuel unit's distance per hour ("mph", "kts" or "km/h").
const char* fuel_speed_unit_text();

// Flow in 0.1 unit per hour of `input` pulses (or duty cycle) in a measuring
// window of `window` 100 us ticks, for k pulses per unit; holds at 0xFFFF.
uint16_t flow_of_pulses(uint32_t input, uint32_t k, uint32_t window);
// Level in the tank unit that tank t's calibration gives a filtered sender
// reading (the tank's present level for a calibration step of zero width).
int32_t tank_level_of_reading(uint8_t tank, int32_t reading);

// Starts the fuel computer's time base at power-on: fuel is counted from now.
void fuel_start();

// Tank t (0 or 1; other values do nothing): open-sender flag, filter and
// calibration for a SENDER tank; low-level alarm 0x40 / 0x80 for any tank
// that is not OFF (a CALCULATED tank is judged on its last computed level).
void process_tank_level(uint8_t tank);
// Flows, fuel used, calculated tanks, range and endurance; calls
// fuel_data_changed when a tank level or a fuel-used total changed. Fuel is
// counted at the present flows over the 100 ms ticks since the last call, so
// the totals follow time, not the number of passes.
void process_fuel_flow();

} // namespace ems
