// Pictures compiled into the firmware, in the MIF format (width and height as
// 16-bit little-endian, then run/literal packets row by row), for draw_image.
// The data is generated: src/firmware/gfx/icons_generated/pictures.cpp names
// the command. Every picture decodes to whole rows that end exactly with its
// data; all are drawn opaque (index 0 paints black).
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

// Notice and confirmation screens, 50 x 50.
extern const uint8_t icon_attention[]; // white disc, red exclamation mark ("DONE", messages)
extern const uint8_t icon_question[];  // white disc, red question mark (confirmations; main menu "SENSOR INFO")

// Main menu tiles, 50 x 50.
extern const uint8_t icon_flight_log[];     // "FLIGHT LOG": log book with an aeroplane
extern const uint8_t icon_ems_setup[];      // "EMS SETUP": engine dial; also the "RPM 1" and "RPM 2" tiles
extern const uint8_t icon_gps_setup[];      // "GPS SETUP": satellite over a position mark
extern const uint8_t icon_timers_setup[];   // "TIMERS SETUP": stopwatch
extern const uint8_t icon_data_rec_setup[]; // "DATA REC SETUP": SD card with a recording trace
extern const uint8_t icon_misc_setup[];     // "MISC SETUP": cog wheel

// EMS SETUP tiles, 50 x 50 unless stated ("EGT" and "CHT" are drawn, not pictures).
extern const uint8_t icon_fuel_setup[];        // "FUEL SETUP": fuel pump
extern const uint8_t icon_map_setup[];         // "MANIFOLD PRESSURE": pressure dial
extern const uint8_t icon_oil_setup[];         // "OIL TEMP" and "OIL PRESSURE": oil can
extern const uint8_t icon_temperature_setup[]; // "COOLANT TEMP" and "OAT SETUP": thermometer
extern const uint8_t icon_analog_setup[];      // "ANALOG AUX 1" and "ANALOG AUX 2": sensor with signal
extern const uint8_t icon_electrical_setup[];  // "VOLTS SETUP" and "CURRENT SETUP": battery, 50 x 42
extern const uint8_t icon_ecu_setup[];         // "ECU SETUP": engine-computer chip

// ECU SETUP page with "UL POWER", 180 x 120, drawn at (280, 120).
extern const uint8_t picture_engine_computer[];

// Catalogue of every embedded picture (tests and tools walk it).
struct EmbeddedPicture {
    const char* name;     // the constant's name, e.g. "icon_attention"
    const uint8_t* data;  // the MIF stream
    size_t bytes;         // length of the stream, header included
};
extern const EmbeddedPicture embedded_pictures[];
extern const size_t embedded_picture_count; // 16

} // namespace ems
