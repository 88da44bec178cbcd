// The GPS record shared by the pages, the fuel computer and the min/max page,
// and the sentence hand-over from the serial receive thread to the main loop.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace ems {

// Written on the user-interface thread by the parsers and the power-on sequence.
struct GpsState {
    uint8_t gps_fix_valid = 0;    // 1 while the receiver reports a usable fix
    uint8_t gps_sats_in_view = 0; // satellites in view (GSV)
    uint16_t magvar_counter = 0;  // slow ticks since the last magnetic-variation update
};
extern GpsState gps;

// Longest sentence body between "$" and "*"; slots hold it and a terminator.
constexpr size_t NMEA_BODY_MAX = 200;

// Shared with the serial receive thread; no lock. The receive thread fills a
// slot only while its flag is 0 and then sets the flag with a release store;
// the main loop parses a slot only after an acquire load reads 1, and stores
// 0 when done. Each slot is a NUL-terminated body such as "GPRMC,..." (no
// "$", "*" or checksum).
struct NmeaLink {
    std::atomic<uint8_t> nmea_active{0};      // 1 after any good sentence; 0 once gps_data_timeout runs out
    std::atomic<uint8_t> gps_data_timeout{0}; // 3 after every good sentence, counted down by the slow tick
    std::atomic<uint8_t> nmea_rmc_new{0};     // 1 while nmea_rmc waits to be parsed
    std::atomic<uint8_t> nmea_gga_new{0};     // 1 while nmea_gga waits to be parsed
    std::atomic<uint8_t> nmea_gsa_new{0};     // 1 while nmea_gsa waits to be parsed
    std::atomic<uint8_t> nmea_gsv_new{0};     // 1 while nmea_gsv waits to be parsed
    char nmea_rmc[NMEA_BODY_MAX + 1] = {};    // last handed-over GPRMC body
    char nmea_gga[NMEA_BODY_MAX + 1] = {};    // last handed-over GPGGA body
    char nmea_gsa[NMEA_BODY_MAX + 1] = {};    // last handed-over GPGSA body
    char nmea_gsv[NMEA_BODY_MAX + 1] = {};    // last handed-over GPGSV body

    NmeaLink() = default;
    // Copying is for resetting (`nmea = NmeaLink{}`) while no receive thread runs.
    NmeaLink(const NmeaLink& other) { *this = other; }
    NmeaLink& operator=(const NmeaLink& other);
};
extern NmeaLink nmea;

// The four sentence parsers, run by the main loop when their slot is full.
void nmea_parse_rmc();
void nmea_parse_gga();
void nmea_parse_gsa();
void nmea_parse_gsv();

// Recomputes mag_variation from the current position and date.
void magvar_update();

} // namespace ems

// The receive side: framing state, nmea_hex_value and ComPort1RxChar.
#include "gps/nmea_rx.h"
