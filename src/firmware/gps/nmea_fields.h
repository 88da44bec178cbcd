// What each sentence of nmea_sentences.h carries, read from its body by a
// pure function (no globals: any body in, a fields record out), and the
// apply step that puts a record into the GPS record. The main loop's parse
// step is apply_<name>(read_<name>(slot)).
//
// A body is what lies between "$" and "*" ("GPRMC,..."); positions count from
// its "G". Only its first NMEA_BODY_MAX characters, up to a NUL, are read.
// Numbers are read as the standard text-to-number conversions read them
// (blanks, a sign, digits; they stop at the first character that does not
// belong to the number) but are always finite: an empty or unreadable field
// is 0, magnitudes past 1e30 are 1e30.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "gps/gps_data.h"

namespace ems {

struct RmcFields {
    bool has_time = false;  // the time field has two characters; without them the sentence is ignored
    uint8_t fix_valid = 0;  // status "A"
    float latitude = 0;     // decimal degrees, south negative
    float longitude = 0;    // decimal degrees, west negative
    float knots = 0;        // speed over ground
    int16_t course = 0;     // true course, whole degrees; 360 reads as 0

    bool operator==(const RmcFields&) const = default;
};
RmcFields read_rmc(std::string_view body);
// Fix status, position, speeds in the set units, true and magnetic course;
// raises minmax.gps_speed_max. Nothing at all without a time.
void apply_rmc(const RmcFields& fields);

struct GgaFields {
    bool has_time = false;  // as for RMC; without a time only the fix bookkeeping runs
    uint8_t sats_used = 0;  // satellites used
    int32_t altitude_m = 0; // above mean sea level, whole metres
    int32_t altitude_ft = 0;

    bool operator==(const GgaFields&) const = default;
};
GgaFields read_gga(std::string_view body);
void apply_gga(const GgaFields& fields); // satellites used, altitude

struct GsaFields {
    uint8_t fix_type = 0;                   // 0 no fix ("1" or no digit), 2 two-, 3 three-dimensional
    std::array<uint8_t, 16> prn_used = {};  // PRNs of fields 3..14, empty fields 0, last four always 0
    float pdop = 0;
    float hdop = 0;
    float vdop = 0;

    bool operator==(const GsaFields&) const = default;
};
GsaFields read_gsa(std::string_view body);
void apply_gsa(const GsaFields& fields); // fix type and gps_fix_valid, PRNs used, DOPs

// One message of a GSV group. Messages 1 to 3 carry the satellites kept (at
// most 12); the others only the number in view.
struct GsvFields {
    uint8_t sats_in_view = 0;    // field 3, held to 0..255
    uint8_t first = 0;           // record of gps_sats that this message's first satellite fills
    uint8_t count = 0;           // satellites this message fills, 0..4
    std::array<GpsSatellite, 4> sats = {};

    bool operator==(const GsvFields&) const = default;
};
GsvFields read_gsv(std::string_view body);
// Satellites in view; clears the records from that number on and fills this
// message's records.
void apply_gsv(const GsvFields& fields);

} // namespace ems
