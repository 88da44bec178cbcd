// The points of a recorded channel's trace that a plot draws for a span of
// time: all of them when they fit, otherwise the lowest and the highest value
// in each pixel column, so that a long flight draws as fast as a short one and
// no peak is lost. An empty field breaks the trace.
#pragma once
#include <cstddef>
#include <vector>

namespace host {

struct TracePoint {
    double t = 0;
    double v = 0;
};
using TraceRun = std::vector<TracePoint>; // drawn as one line

// The runs of values (one per entry of seconds, NaN for none) from t0 to t1
// (one record beyond each end included, so lines leave the view at its edges)
// drawn over columns pixel columns. Past max_runs runs the rest join the last
// run, bridging their gaps: only a broken file has that many.
std::vector<TraceRun> trace_runs(const std::vector<double>& seconds, const std::vector<double>& values, double t0,
                                 double t1, int columns, size_t max_runs);

} // namespace host
