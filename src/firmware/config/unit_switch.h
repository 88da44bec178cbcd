// Unit switches on the setup pages. A limit is stored in the unit selected
// when it was set, so switching the unit converts the display ranges, alarm
// and caution limits (and a pressure record's sender points) into the new
// unit, rounded to the nearest step of the new resolution and then clamped to
// the field's setup range in that unit. Without this a 250 °F oil alarm would
// become 250 °C and never sound.
#pragma once
#include <cstdint>

#include "config/settings.h"

namespace ems {

// Value conversions, rounded to nearest (halves away from zero).
// Temperatures: unit 0 °C, 1 °F.
int32_t temperature_convert(int32_t value, uint8_t from, uint8_t to);
// MAP: unit 0 mb, 1 0.1 inHg.
int32_t map_convert(int32_t value, uint8_t from, uint8_t to);
// Pressure: unit 0 0.1 bar, 1 psi, 2 0.1 psi.
int32_t pressure_convert(int32_t value, uint8_t from, uint8_t to);

// Set the unit and convert what depends on it. Setting the unit already in
// use changes nothing.
void temp_unit_switch(uint8_t unit);   // temp_unit: EGT, CHT and every temperature_cfg
void oat_unit_switch(uint8_t unit);    // oat_unit: the OAT limits
void map_unit_switch(uint8_t unit);    // map_unit: the MAP limits
void pressure_unit_switch(PressureSenderConfig& record, uint8_t unit); // record.unit

} // namespace ems
