// Engine-computer link state.
#pragma once
#include <cstdint>

namespace ems {

struct EcuState {
    uint8_t vexa_data_valid = 0; // follows "VEXA On/Off" every pass; the pages show "---" at 0
    uint8_t ul_data_valid = 0;   // UL Power ECU link alive; cleared when ul_data_timeout runs out
    uint8_t ignition_state = 0;  // 12 both ignitions on, 4 only ignition 1, 8 only ignition 2, 0 none
};
extern EcuState ecu;

// UL Power value inputs, run by the host's slider handlers when a slider moves.
void ul_oil_temp_input(uint16_t v);      // "Oil Temp:", 0.1 degree C
void ul_fuel_pressure_input(uint16_t v); // "Fuel Press:", 0.1 bar
void ul_ecu_temp_input(uint16_t v);      // "ECU Temp:", 0.1 degree C

} // namespace ems
