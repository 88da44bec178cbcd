// The GPS record shared by the pages, the fuel computer and the min/max page,
// the sentence hand-over from the serial receive thread to the main loop, and
// the parse steps that fill the record.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gps/nmea_sentences.h"

namespace ems {

// One satellite in view, as the GSV sentences report it. All zero = empty.
struct GpsSatellite {
    uint8_t prn = 0;       // satellite number; 0 = empty record
    uint8_t elevation = 0; // degrees above the horizon, 0..90 from a sane receiver
    uint16_t azimuth = 0;  // degrees from true north, 0..359 from a sane receiver
    uint8_t snr = 0;       // signal-to-noise ratio in dB-Hz; 0 = not tracked

    bool operator==(const GpsSatellite&) const = default;
};
static_assert(sizeof(GpsSatellite) == 6);
static_assert(offsetof(GpsSatellite, azimuth) == 2 && offsetof(GpsSatellite, snr) == 4);

// Written on the user-interface thread by the parsers and the power-on
// sequence; `gps = GpsState{}` is the program-start state. Values stay as
// last parsed when sentences stop; gps_fix_valid and nmea_active say whether
// they are current.
struct GpsState {
    uint8_t gps_fix_valid = 0;     // 1 while the receiver reports a usable fix (RMC status A, GSA fix 2D/3D)
    float gps_latitude = 0;        // decimal degrees, south negative
    float gps_longitude = 0;       // decimal degrees, west negative
    uint16_t gps_speed_mph = 0;    // ground speed, whole mph
    uint16_t gps_speed = 0;        // ground speed in speed_unit (0 mph, 1 km/h, 2 knots)
    uint32_t gps_speed_dist = 0;   // ground speed in fuel_unit's distance unit per hour (sm, nm or km)
    int16_t gps_course = 0;        // true course over ground, whole degrees; 360 is stored as 0
    int16_t gps_course_mag = 0;    // magnetic course over ground, 0..359 degrees
    uint8_t gps_sats_used = 0;     // satellites used in the solution (GGA)
    int32_t gps_altitude_m = 0;    // altitude above mean sea level, whole metres (GGA)
    int32_t gps_altitude_ft = 0;   // the same in whole feet
    uint8_t gps_fix_type = 0;      // 0 no fix, 2 two-dimensional, 3 three-dimensional (GSA)
    uint8_t gps_prn_used[16] = {}; // PRNs used in the solution, first 12 filled, 0 = empty (GSA)
    float gps_pdop = 0;            // position dilution of precision (GSA)
    float gps_hdop = 0;            // horizontal dilution of precision (GSA)
    float gps_vdop = 0;            // vertical dilution of precision (GSA)
    uint8_t gps_sats_in_view = 0;  // satellites in view (GSV); may exceed the 16 records
    GpsSatellite gps_sats[16] = {}; // satellites in view, at most 12 filled (GSV)
    // Slow ticks (2 s) since the last magnetic-variation update. The slow tick
    // advances it (saturating at 65535); power-on sets it to 600 so that the
    // first update follows the first fix, and the main loop recomputes the
    // variation once it exceeds 600 (every 20 minutes) while a fix is valid,
    // then restarts it at 0.
    uint16_t magvar_counter = 0;
    // 1 once an RMC with a fix has given the position during the current fix
    // (and mag_variation has been computed there); 0 from power-on and again
    // whenever the fix is lost. The variation is computed only from such a
    // position.
    uint8_t gps_fix_position = 0;
};
extern GpsState gps;

// Longest sentence body between "$" and "*"; slots hold it and a terminator.
constexpr size_t NMEA_BODY_MAX = 200;

// Shared with the serial receive thread; no lock. The receive thread fills a
// slot only while its flag is 0 and then sets the flag with a release store;
// the main loop parses a slot only after an acquire load reads 1, and stores
// 0 when done. Each slot is a NUL-terminated body such as "GPRMC,..." (no
// "$", "*" or checksum). One slot and flag per row of nmea_sentences.h.
struct NmeaLink {
    std::atomic<uint8_t> nmea_active{0};      // 1 after any good sentence; 0 once gps_data_timeout runs out
    std::atomic<uint8_t> gps_data_timeout{0}; // 3 after every good sentence, counted down by the slow tick
#define EMS_NMEA_FLAG(name, id) std::atomic<uint8_t> nmea_##name##_new{0}; // 1 while nmea_<name> waits
    EMS_NMEA_SENTENCE_ROWS(EMS_NMEA_FLAG)
#undef EMS_NMEA_FLAG
#define EMS_NMEA_SLOT(name, id) char nmea_##name[NMEA_BODY_MAX + 1] = {}; // last handed-over GP<id> body
    EMS_NMEA_SENTENCE_ROWS(EMS_NMEA_SLOT)
#undef EMS_NMEA_SLOT

    NmeaLink() = default;
    // Copying is for resetting (`nmea = NmeaLink{}`) while no receive thread runs.
    NmeaLink(const NmeaLink& other) { *this = other; }
    NmeaLink& operator=(const NmeaLink& other);
};
extern NmeaLink nmea;

// The parse steps, run by the main loop when their slot is full. Each reads
// its slot (positions count from the "G" of "GP"), fills its part of `gps`
// and never reads past the slot's terminator or its 201 bytes, whatever it
// holds. Missing or empty fields read as 0. What each fills: nmea_fields.h.
#define EMS_NMEA_PARSE_DECLARATION(name, id) void nmea_parse_##name();
EMS_NMEA_SENTENCE_ROWS(EMS_NMEA_PARSE_DECLARATION)
#undef EMS_NMEA_PARSE_DECLARATION

// A sentence type as the receive side, the main loop and the host feeders
// see it: its identifier, its slot and flag in `nmea`, its parse step.
struct NmeaSentence {
    std::string_view id;                          // "RMC": the identifier after the talker "GP"
    std::atomic<uint8_t> NmeaLink::*flag;         // nmea.*flag: 1 while the slot waits
    char (NmeaLink::*slot)[NMEA_BODY_MAX + 1];    // nmea.*slot: the handed-over body
    void (*parse)();                              // the main loop's parse of the slot into gps
};

// Every row of nmea_sentences.h, in the main loop's parse order.
inline constexpr NmeaSentence NMEA_SENTENCES[] = {
#define EMS_NMEA_SENTENCE(name, id) {id, &NmeaLink::nmea_##name##_new, &NmeaLink::nmea_##name, nmea_parse_##name},
    EMS_NMEA_SENTENCE_ROWS(EMS_NMEA_SENTENCE)
#undef EMS_NMEA_SENTENCE
};

// The sentence type of a body ("GPRMC,..."): talker GP and an identifier of
// NMEA_SENTENCES; null for any other body. Safe on any thread.
const NmeaSentence* nmea_sentence_of(std::string_view body);

// ddmm.mmmm (or dddmm.mmmm) to decimal degrees: d = trunc(x / 100),
// d + (x - 100 d) / 60. A negative x gives a negative result.
double nmea_degrees(double ddmm);

// Recomputes mag_variation (gps/sun.h) from the current position, altitude
// and the date of clock_utc (gps/geomag.cpp). Does nothing until an RMC of
// the current fix has given a position (gps_fix_position): a fix reported by
// GSA alone leaves the position at whatever it was before.
void magvar_update();

} // namespace ems
