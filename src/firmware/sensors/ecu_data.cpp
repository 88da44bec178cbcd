#include "sensors/ecu_data.h"

namespace ems {

EcuState ecu;

// The conversions of these inputs come with the engine-computer data.
void ul_oil_temp_input(uint16_t) {}
void ul_fuel_pressure_input(uint16_t) {}
void ul_ecu_temp_input(uint16_t) {}

} // namespace ems
