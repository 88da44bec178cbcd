// The fuel computer: tank level senders through their six-point calibration,
// fuel flow from flow-sender pulses or injector duty cycles, fuel used per
// sender, calculated tank contents for every fuel_config, and range and
// endurance. Runs once per pass: process_tank_level(0), (1), then
// process_fuel_flow(). The run-time totals live in fuel_hobbs.fuel (FuelData,
// in flow-sender pulses).
#pragma once
#include <cstdint>

namespace ems {

constexpr uint32_t ALARM_TANK1 = 0x40; // tank 1 low; tank 2 is 0x80
constexpr uint32_t ALARM_TANK2 = 0x80;
constexpr uint16_t FUEL_NOT_AVAILABLE = 0xFFFF; // fuel_range / fuel_time_left without flow
constexpr uint16_t TANK_OPEN_READING = 4000;    // sender readings above this are an open circuit

struct FuelState {
    uint16_t fuel_flow_l[2] = {};      // flow per sender, 0.1 litre per hour
    uint16_t fuel_flow[2] = {};        // flow per sender, 0.1 volume unit (litre or US gallon) per hour
    uint16_t tank_level[2] = {};       // tank contents in the tank unit, 0..tank size
    uint8_t tank_open[2] = {};         // 1 while a SENDER tank reads above 4000 (open circuit)
    uint32_t fuel_used[2] = {};        // fuel used per sender in the volume unit
    uint16_t fuel_range = 0;           // range in the fuel unit's distance; 0 without fuel, 0xFFFF without flow
    uint16_t fuel_time_left = 0;       // endurance in minutes; 0 without fuel, 0xFFFF without flow
    uint32_t tank_filter_acc[2] = {};  // level filter accumulators (average x 2, 8 or 32); never reset
};
extern FuelState fuel;

// Pulses per litre of a K-factor: x 10 for injector duty cycles.
uint32_t k_litre(uint16_t k);
// Pulses per volume unit: k_litre, x 3.7854 for the gallon units (odd fuel_unit).
uint32_t k_unit(uint16_t k);

// Tank t (0 or 1; other values do nothing): open-sender flag, filter and
// calibration for a SENDER tank; low-level alarm 0x40 / 0x80 for any tank
// that is not OFF (a CALCULATED tank is judged on its last computed level).
void process_tank_level(uint8_t tank);
// Flows, fuel used, calculated tanks, range and endurance; calls
// fuel_data_changed when a tank level or a fuel-used total changed.
void process_fuel_flow();

} // namespace ems
