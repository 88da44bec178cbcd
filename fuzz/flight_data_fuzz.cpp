// Fuzzes the flight-data reader: any input is refused with a message or read
// into records that agree with each other, and what the viewer then derives
// from them (alarm spans, trace points, the lean-find, the spread, an export
// read back) stays within the records.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/flight_analysis.h"
#include "host/viewer/core/flight_list.h"
#include "host/viewer/core/flight_trace.h"
#include "host/viewer/core/lean_find.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    host::FlightData d;
    std::string error;
    if (!host::read_flight_data(text, d, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    const size_t n = d.seconds.size();
    if (n == 0 || d.utc.size() != n || d.skip_reasons.size() > d.lines_skipped) std::abort();
    for (size_t i = 1; i < n; ++i)
        if (d.seconds[i] < d.seconds[i - 1]) std::abort();
    for (const host::FlightChannel& c : d.channels)
        if (c.values.size() != n) std::abort();
    for (const host::TimeSpan& s : host::alarm_spans(d))
        if (!(s.begin < s.end) || s.begin < d.seconds.front() || s.end > d.seconds.back() + 1) std::abort();
    for (const host::FlightChannel& c : d.channels)
        for (const host::TraceRun& run : host::trace_runs(d.seconds, c.values, d.seconds.front(), d.seconds.back(), 7, 4))
            for (const host::TracePoint& p : run)
                if (!std::isfinite(p.v) || p.t < d.seconds.front() || p.t > d.seconds.back()) std::abort();
    for (const host::FlightChannel& c : d.channels) {
        if (c.name.size() > host::FLIGHT_NAME_MAX_CHARS || c.unit.size() > host::FLIGHT_NAME_MAX_CHARS) std::abort();
        for (double v : c.values)
            if (std::fabs(v) > host::FLIGHT_VALUE_LIMIT) std::abort();
    }
    for (const host::LeanSweep& s : host::find_lean_sweeps(d)) {
        if (s.begin_row >= s.end_row || s.end_row >= n) std::abort();
        for (const host::CylinderPeak& p : s.peaks)
            if (p.row <= s.begin_row || p.row >= s.end_row) std::abort();
    }
    if (host::cylinder_spread(d, "EGT").size() != n) std::abort();
    host::FlightData again;
    if (!host::read_flight_data(host::flight_csv(d, d.seconds.front(), d.seconds.back()), again, error) ||
        again.seconds != d.seconds || again.channels.size() != d.channels.size())
        std::abort();
    return 0;
}
