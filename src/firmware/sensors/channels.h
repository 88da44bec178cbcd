// Sensor processing, run once per main-loop pass in this order: volts, OAT,
// cold junction, the twelve thermocouples, the two tanks, RPM, fuel flow, the
// four analog inputs by channel_mode, MAP, fuel pressure, main current.
#pragma once
#include <cstdint>

namespace ems {

struct SensorState {
    uint16_t flow_window = 0; // measuring window of the fuel-flow computer, 10000 after power-on
};
extern SensorState sens;

void process_volts();
void process_oat();
void process_cjc();
void process_thermocouple(uint8_t channel); // 0..11
void process_tank_level(uint8_t tank);      // 0 tank 1, 1 tank 2
void process_rpm();
void process_fuel_flow();
void aux_pressure_input(uint8_t channel);    // analog channel 0..3 in pressure mode
void aux_temperature_input(uint8_t channel); // temperature mode
void aux_current_input(uint8_t channel);     // current mode
void aux_generic_input(uint8_t channel);     // generic mode
void process_map();
void process_fuel_pressure();
void process_current();

} // namespace ems
