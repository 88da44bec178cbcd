// The recordings on a card as a list of flights: what each one is at a glance
// (when, how long, how hot, how many alarms), and a stretch of one written out
// again as a recording of its own.
#pragma once
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "host/viewer/core/flight_data.h"

namespace host {

struct FlightSummary {
    std::string date;      // "YYYY-MM-DD" of the first record
    std::string start_utc; // "hh:mm:ss" of the first record
    double duration = 0;   // seconds from the first record to the last
    double peak_egt = NAN; // the highest of any EGTn, NaN when none was recorded
    double peak_cht = NAN;
    size_t alarms = 0;     // alarm periods (alarm_spans)
};
FlightSummary summarize_flight(const FlightData& data);

// One recording of the list: its summary, or why it cannot be shown.
struct FlightEntry {
    std::filesystem::path path;
    FlightSummary summary;
    std::string error; // empty when the summary holds
};

// Every file ending in ".CSV" (any letter case) in folder, by name; a missing
// or unreadable folder gives an empty list. Reads every file in full, up to
// FLIGHT_DATA_MAX_BYTES each: call it off the window's thread.
std::vector<FlightEntry> scan_recordings(const std::filesystem::path& folder);

// The records timed t0 to t1 (both included) as a recording the reader takes
// back: the recorded columns (derived ones left out), UTC and T (s) as recorded, values in their shortest
// exact form, "\r\n" line ends as the instrument writes them.
std::string flight_csv(const FlightData& data, double t0, double t1);

} // namespace host
