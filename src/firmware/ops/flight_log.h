// Flights and the flight log. A flight is started and stopped by hand from
// the engine page's quick menu (flight detection "MANUAL") or by the
// automatic flight detection (flight_detect.cpp); its time counts one second
// per second while the firmware runs (app/tick.cpp). Every stopped flight
// becomes an entry of the log, which keeps the last FLIGHT_LOG_ENTRIES in
// memory only: power-on starts with an empty log. EXPORT merges them into
// FLIGHTS.CSV on the card (flight_log_export.cpp).
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/settings.h"

namespace ems {

constexpr uint8_t FLIGHT_LOG_ENTRIES = 20;
constexpr uint16_t LOG_VIEW_POSITIONS = 20; // log_view_pos runs 0..19

// FLIGHT LOG rows that its own screens come back to.
constexpr uint8_t FLIGHT_LOG_ROW_EXPORT = 0;
constexpr uint8_t FLIGHT_LOG_ROW_VIEW = 1;
constexpr uint8_t FLIGHT_LOG_ROW_ERASE = 2;

// One finished flight.
struct FlightLogEntry {
    uint32_t start_utc = 0;      // UTC start, seconds since 1970-01-01
    uint32_t flight_seconds = 0; // flight time
    uint8_t pilot_number = 0;    // pilot_number at STOP
    char registration[9] = {};   // aircraft registration at STOP, NUL-terminated
    HobbsMaintenance hobbs = {}; // hobbs and maintenance timer at STOP
};

struct FlightLogState {
    uint8_t flight_in_progress = 0; // 1 between START FLIGHT and STOP FLIGHT; 0 at power-on
    uint32_t flight_time = 0;       // seconds of the present or last flight, shown by the engine page; 0 at power-on
    uint32_t flight_start_utc = 0;  // UTC start of the present flight, seconds since 1970
    FlightLogEntry log[FLIGHT_LOG_ENTRIES] = {}; // ring of finished flights
    uint8_t log_count = 0;          // entries held, 0..20
    uint8_t log_next = 0;           // ring slot the next entry goes to
    uint16_t log_view_pos = 0;      // VIEW FLIGHT LOG: first entry shown (0 = newest), 0..19
    uint8_t detect_hold = 0;        // seconds in a row every start criterion has held (automatic)
    uint8_t detect_fail = 0;        // seconds in a row the stop criterion has failed (automatic)
};
extern FlightLogState flight;

// START FLIGHT: flight_in_progress 1, flight_time from 0, start time now.
void flight_start();
// STOP FLIGHT: logs the flight, flight_end_hook, then flight_in_progress 0
// (flight_time stays shown). Does nothing without a flight in progress.
void flight_stop();
// flight_time 0 and every log entry gone.
void flight_log_erase();
// The entry `newest` places back from the latest flight (0 = latest), or null
// when the log holds fewer.
const FlightLogEntry* flight_log_entry(uint8_t newest);

// Automatic flight detection, once a second while the main loop runs
// (flight_detect "AUTOMATIC" only). A flight starts after
// FLIGHT_DETECT_START_SECONDS in which every configured criterion holds: RPM 1
// at or above its minimum when RPM 1 is shown, RPM 2 likewise, and the GPS
// ground speed at or above its minimum while a fix is valid. It stops after
// FLIGHT_DETECT_STOP_SECONDS with the ground speed below its minimum, or,
// without a fix, RPM 1 (else RPM 2) below its minimum. The logged flight runs
// from the first second the start criteria held to the first second the stop
// criterion failed.
constexpr uint8_t FLIGHT_DETECT_START_SECONDS = 10;
constexpr uint8_t FLIGHT_DETECT_STOP_SECONDS = 30;
void flight_detect_second();

// The CSV file EXPORT writes: ASCII, CRLF lines, a header row, then one row
// per flight, oldest first. It is written beside the old one and renamed over
// it; flights already in the old file are kept and not repeated.
constexpr const char* FLIGHT_LOG_FILE = "SDCARD\\FLIGHTS.CSV";
constexpr const char* FLIGHT_LOG_TEMP_FILE = "SDCARD\\FLIGHTS.TMP";
// An old file larger than this is not a log we wrote (a row is under 96
// bytes, so this holds over 20000 flights) and is refused rather than
// copied: the export runs in one pass of the main loop.
constexpr size_t FLIGHT_LOG_FILE_MAX = size_t(2) << 20;
// Writes the file and shows screen_done, or screen_export_failed naming the
// problem (nothing on the card changes then). Returns true on success.
bool flight_log_export();
// What the last failed export ran into ("CARD FULL" ...), "" after a success.
const char* flight_log_export_problem();

// Main menu tile 0: export, view, erase, pilot number and flight detection.
void screen_flight_log();
// The log, newest first, nine entries at a time from log_view_pos.
void screen_view_flight_log();
// NO / YES confirmation; YES erases and shows DONE.
void screen_erase_flight_log();
// "EXPORT FAILED" and the problem; any key returns to return_screen.
void screen_export_failed();
// Main menu tile 4: the one row "DATA RECORDING: " OFF/ON.
void screen_data_recording();

} // namespace ems
