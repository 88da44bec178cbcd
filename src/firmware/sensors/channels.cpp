#include "sensors/channels.h"

namespace ems {

SensorState sens;

// The conversions come with the sensor subsystem; the pass already calls them
// in their final order.
void process_volts() {}
void process_oat() {}
void process_cjc() {}
void process_thermocouple(uint8_t) {}
void process_tank_level(uint8_t) {}
void process_rpm() {}
void process_fuel_flow() {}
void aux_pressure_input(uint8_t) {}
void aux_temperature_input(uint8_t) {}
void aux_current_input(uint8_t) {}
void aux_generic_input(uint8_t) {}
void process_map() {}
void process_fuel_pressure() {}
void process_current() {}

} // namespace ems
