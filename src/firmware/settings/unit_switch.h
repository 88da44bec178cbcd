// Unit switches on the setup pages. A limit is stored in the unit selected
// when it was set, so switching the unit converts the display ranges, alarm
// and caution limits (and a pressure record's sender points) into the new
// unit, rounded to the nearest step of the new resolution and then clamped to
// the field's setup range in that unit. Without this a 250 °F oil alarm would
// become 250 °C and never sound. Tank quantities follow the fuel unit and
// the litre resolution the same way.
#pragma once
#include <cstdint>

#include "settings/settings.h"

namespace ems {

// Value conversions, rounded to nearest (halves away from zero).
// Temperatures: unit 0 °C, 1 °F.
int32_t temperature_convert(int32_t value, uint8_t from, uint8_t to);
// MAP: unit 0 mb, 1 0.1 inHg.
int32_t map_convert(int32_t value, uint8_t from, uint8_t to);
// Pressure: unit 0 0.1 bar, 1 psi, 2 0.1 psi.
int32_t pressure_convert(int32_t value, uint8_t from, uint8_t to);

// Set the unit and convert what depends on it. Setting the unit already in
// use changes nothing. A sender record's user calibration table holds its
// display values in the record's unit, so they convert with its limits
// (clamped to the 0..999 the calibration screen edits): the reading through
// the table and the limits it is judged by always agree.
void temp_unit_switch(uint8_t unit);   // temp_unit: EGT, CHT and every temperature_cfg with its table
void oat_unit_switch(uint8_t unit);    // oat_unit: the OAT limits
void map_unit_switch(uint8_t unit);    // map_unit: the MAP limits
void pressure_unit_switch(PressureSenderConfig& record, uint8_t unit); // record.unit, with its table

// The tank quantity unit follows fuel_unit (litres or gallons) and, with
// litres, tank_resolution (1 L or 0.1 L). Setting either converts what is
// kept in that unit: both tanks' size (clamped to its setup range), low
// alarm and caution (clamped to the new size), their present levels, the
// calculated contents and the fuel-used totals (whose pulse counts are ten
// times finer with tenths of a litre and, for the totals, with gallons).
void fuel_unit_switch(uint8_t unit);             // fuel_unit
void tank_resolution_switch(uint8_t resolution); // tank_resolution

} // namespace ems
