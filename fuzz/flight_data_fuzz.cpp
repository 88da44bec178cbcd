// Fuzzes the flight-data reader: any input is refused with a message or read
// into records that agree with each other, and what the viewer then derives
// from them (alarm spans, trace points) stays within the records.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/flight_trace.h"

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
    return 0;
}
