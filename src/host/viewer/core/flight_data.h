// Flight-data recordings: the CSV files the instrument writes to the card's
// DATA folder, one record a second, read back for the viewer.
//
//   UTC,T (s),RPM1 (rpm),EGT1 (F),...,ALARM1,ALARM2
//   2026-05-01 10:00:00,0,2400,1320,...,0,0
//
// Line 1 names the columns, NAME or NAME (UNIT); then one record a line,
// fields separated by ',' without quoting, lines ending in "\r\n" or "\n". The
// first two columns are the UTC time and the whole seconds since the recording
// started; an empty field is "no value". A recording cut short (the card
// pulled, the power lost) is valid up to its last complete line.
//
// The reader keeps every record it can trust and skips the others, saying
// which lines and why; it refuses a file only when nothing in it can be shown.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// A recorded channel: one value per record, NaN where the field was empty.
struct FlightChannel {
    std::string name; // "EGT1"
    std::string unit; // "F"; empty when the header gives none
    std::vector<double> values;
    bool derived = false; // worked out by the viewer (a spread), not recorded
};

struct FlightData {
    std::vector<std::string> utc;  // "YYYY-MM-DD hh:mm:ss" per record
    std::vector<double> seconds;   // T (s) per record, never decreasing
    std::vector<FlightChannel> channels; // the columns after UTC and T (s), in file order
    size_t lines_skipped = 0;      // records left out, the cut-short last line included
    std::vector<std::string> skip_reasons; // "line N: why", the first SKIP_REASONS_KEPT of them
    bool cut_short = false;        // the last line had no line end and was left out
    size_t values_left_out = 0;    // fields read as no value: not finite, or past FLIGHT_VALUE_LIMIT
    size_t names_shortened = 0;    // header names or units cut to FLIGHT_NAME_MAX_CHARS
};

// Recordings larger than this are refused before they are read: about 30
// flight hours at the instrument's half a megabyte an hour.
constexpr size_t FLIGHT_DATA_MAX_BYTES = 16u << 20;
// More columns than this are not a recording.
constexpr size_t FLIGHT_DATA_MAX_COLUMNS = 256;
constexpr size_t SKIP_REASONS_KEPT = 20;
// A channel's name or unit longer than this is shortened to it: the instrument's
// own are a few characters, and the lists and axes lay out every character.
constexpr size_t FLIGHT_NAME_MAX_CHARS = 32;
// A value further from zero than this is no reading of an engine, a fuel
// computer or a GPS; it is left out (no value) rather than stretch an axis.
constexpr double FLIGHT_VALUE_LIMIT = 1e9;
// A T (s) past this is left out with its line: the plot's time axis stays exact
// to well under a second up to here.
constexpr double FLIGHT_SECONDS_LIMIT = 1e12;

// Reads a recording. On failure returns false with a message in error and
// leaves out untouched; success means at least one record was read.
bool read_flight_data(std::string_view text, FlightData& out, std::string& error);

// "3 lines skipped (line 7: 5 fields, expected 9; ...)", or empty when none were.
std::string skipped_summary(const FlightData& data, size_t reasons_shown = 3);

// Everything the reader left out or changed, for the status bar: names
// shortened, values left out, then skipped_summary; empty when nothing.
std::string reading_summary(const FlightData& data, size_t reasons_shown = 3);

// A span of recorded time, [begin, end) in seconds.
struct TimeSpan {
    double begin = 0;
    double end = 0;
};

// The spans in which either alarm word (ALARM1, ALARM2) is non-zero. A record
// stands for its second, so a span ends at the next record's time, or one
// second after the last record.
std::vector<TimeSpan> alarm_spans(const FlightData& data);

// The cylinder (1-based) whose EGT or CHT an EGTn or CHTn channel holds, else 0.
int channel_cylinder(std::string_view name);
// Whether the channel is one of the alarm words, ALARM1 or ALARM2.
bool is_alarm_word(std::string_view name);

// The channel named name, or nullptr.
const FlightChannel* find_channel(const FlightData& data, std::string_view name);

} // namespace host
