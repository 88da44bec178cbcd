// Engine-data recording: while a flight is in progress and data_recording is
// ON, one CSV file per flight under SDCARD\DATA\, one record per second of the
// time base (10 ticks), whatever the pass rate: a pass that comes after several
// seconds writes a record for each of them.
//
// Files are named YYMMDDNN.CSV from the UTC date at the start, NN the next
// number after the highest that day's files already use (01..99), so a new
// recording never replaces an earlier one. The first line names the columns
// (data_recording_columns.cpp); a change of units or channels during a flight
// ends the file and continues in the next one under the new header.
//
// The header goes to the card as soon as the file is made, so a recording cut
// off in its first seconds is still a recording; records are kept in RAM and
// handed to the card every RECORDING_FLUSH_SECONDS (append_write, which never
// waits for the card). The file is closed at STOP FLIGHT, when recording is
// switched off, at power-off and program end, and when "SD Card Mounted" is
// cleared; the same card mounted again in the same flight continues the
// file (the seconds it was out have no records), so a flaky card does not
// use up the day's numbers. A card that is missing, full or cannot take the
// file stops the recording with one notice over the run screen (never over
// an alarm); what was written stays, whole lines only. Recording starts again
// with the next flight.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

constexpr const char* RECORDING_FOLDER = "SDCARD\\DATA";
constexpr uint8_t RECORDING_FLUSH_SECONDS = 5;
constexpr size_t RECORDING_LINE_MAX = 768;     // longest header or record line
constexpr size_t RECORDING_BUFFER = 8192;      // RAM buffer between hand-overs

struct RecordingState {
    int handle = -1;            // open recording (append handle), -1 none
    char file[40] = {};         // the flight's file, "SDCARD\DATA\26120701.CSV"; "" before one is made
    uint32_t next_tick = 0;     // tick.ticks at which the next record falls due
    uint32_t seconds = 0;       // T (s) of the next record
    uint8_t unflushed = 0;      // records in the buffer since the last hand-over
    uint8_t stopped = 0;        // 1 after a failure: nothing more until the flight ends
    uint8_t card_out = 0;       // 1 while the card is unmounted during a flight (notice shown)
    const char* problem = "";   // what stopped the recording ("CARD FULL" ...)
    size_t used = 0;            // bytes in buffer
    char header[RECORDING_LINE_MAX] = {}; // the open file's first line
    char buffer[RECORDING_BUFFER] = {};
};
extern RecordingState recording;

// Main-loop step, after the clock and GPS steps: opens, writes and closes the
// recording as the flight, the setting and the card say.
void data_recording_pass();
// Writes what is buffered and closes the file (power-off, program end). No
// notice is shown; a later flight starts a new file.
void data_recording_close();

// ---- Columns (data_recording_columns.cpp) -----------------------------------

// The header line for the present settings, without line end; false when it
// does not fit in size.
bool recording_header(char* out, size_t size);
// One record: UTC (seconds since 1970) and T (s), then every column's value
// as the instrument shows it now, empty where none is available.
bool recording_record(char* out, size_t size, uint32_t utc_seconds, uint32_t t_seconds);

} // namespace ems
