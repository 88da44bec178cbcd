#include "host/viewer/core/lean_find.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

// A sweep takes at least this long and takes at least this share off the flow.
constexpr size_t MIN_SWEEP_RECORDS = 10;
constexpr double MIN_FLOW_DROP = 0.10;
// A reading may rise this share of the starting flow above the lowest so far
// (the display's last digit flickers) without ending the sweep.
constexpr double FLOW_FLICKER = 0.02;
// The flow may stand still this many records (the pilot pausing at a peak).
constexpr size_t MAX_PAUSE_RECORDS = 30;
// RPM and MAP hold within this share of their value at the start.
constexpr double HOLD_SHARE = 0.04;
// An EGT peaked when it fell at least this many degrees after its highest reading.
constexpr double PEAK_FALL_DEGREES = 5;

struct Channels {
    const FlightChannel* flow = nullptr;
    const FlightChannel* rpm = nullptr;
    const FlightChannel* map = nullptr;
    std::vector<const FlightChannel*> egt; // by cylinder order in the file
};

// A value within HOLD_SHARE of start; a channel missing or without values holds.
bool holds(const FlightChannel* c, size_t start, size_t r)
{
    if (!c) return true;
    const double a = c->values[start], b = c->values[r];
    if (std::isnan(a)) return true;
    return !std::isnan(b) && std::fabs(b - a) <= std::fabs(a) * HOLD_SHARE;
}

// The record where a sweep starting at start stops: the last fall of the flow
// before it rises, stalls, or RPM or MAP move.
size_t sweep_end(const Channels& c, size_t start, size_t n)
{
    const std::vector<double>& flow = c.flow->values;
    const double flicker = flow[start] * FLOW_FLICKER;
    double lowest = flow[start];
    size_t last_fall = start;
    for (size_t r = start + 1; r < n; ++r) {
        const double f = flow[r];
        if (std::isnan(f) || f > lowest + flicker || !holds(c.rpm, start, r) || !holds(c.map, start, r)) break;
        if (r - last_fall > MAX_PAUSE_RECORDS) break;
        if (f < lowest) {
            lowest = f;
            last_fall = r;
        }
    }
    return last_fall;
}

// The middle of the first run of the highest reading in [a, b], and whether the
// EGT fell far enough after it to call it a peak.
bool egt_peak(const std::vector<double>& egt, size_t a, size_t b, size_t& peak)
{
    size_t top = b + 1;
    for (size_t r = a; r <= b; ++r)
        if (!std::isnan(egt[r]) && (top > b || egt[r] > egt[top])) top = r;
    if (top > b) return false;
    size_t top_end = top;
    while (top_end + 1 <= b && egt[top_end + 1] == egt[top]) ++top_end;
    peak = (top + top_end) / 2;
    for (size_t r = top_end + 1; r <= b; ++r)
        if (egt[r] <= egt[top] - PEAK_FALL_DEGREES) return top > a;
    return false;
}

LeanSweep read_sweep(const Channels& c, size_t a, size_t b)
{
    LeanSweep s;
    s.begin_row = a;
    s.end_row = b;
    for (const FlightChannel* egt : c.egt) {
        size_t peak = 0;
        if (egt_peak(egt->values, a, b, peak))
            s.peaks.push_back({channel_cylinder(egt->name), peak, egt->values[peak], c.flow->values[peak]});
        else
            s.not_peaked.push_back(channel_cylinder(egt->name));
    }
    std::stable_sort(s.peaks.begin(), s.peaks.end(),
                     [](const CylinderPeak& x, const CylinderPeak& y) { return x.row < y.row; });
    return s;
}

} // namespace

std::vector<LeanSweep> find_lean_sweeps(const FlightData& data)
{
    Channels c;
    c.flow = find_channel(data, LEAN_FLOW_CHANNEL);
    c.rpm = find_channel(data, LEAN_RPM_CHANNEL);
    c.map = find_channel(data, LEAN_MAP_CHANNEL);
    for (const FlightChannel& ch : data.channels)
        if (channel_cylinder(ch.name) > 0 && ch.name.rfind("EGT", 0) == 0) c.egt.push_back(&ch);
    std::vector<LeanSweep> sweeps;
    if (!c.flow || c.egt.empty()) return sweeps;
    const size_t n = data.seconds.size();
    const std::vector<double>& flow = c.flow->values;
    for (size_t a = 0; a + 1 < n;) {
        // A sweep starts at the last record before the flow falls.
        if (std::isnan(flow[a]) || !(flow[a] > 0) || !(flow[a + 1] < flow[a])) {
            ++a;
            continue;
        }
        const size_t b = sweep_end(c, a, n);
        if (b - a + 1 >= MIN_SWEEP_RECORDS && flow[a] - flow[b] >= flow[a] * MIN_FLOW_DROP) {
            sweeps.push_back(read_sweep(c, a, b));
            a = b + 1;
        } else {
            ++a;
        }
    }
    return sweeps;
}

} // namespace host
