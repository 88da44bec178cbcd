// The points of a recorded channel's trace that a plot draws for a span of
// time: all of them when they fit, otherwise the lowest and the highest value
// in each pixel column, so that a long flight draws as fast as a short one and
// no peak is lost. An empty field breaks the trace.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

struct TracePoint {
    double t = 0;
    double v = 0;
};
using TraceRun = std::vector<TracePoint>; // drawn as one line

// Where the lowest and highest value of any stretch of a channel are, found in
// a few steps however long the stretch: the lowest and highest of each block of
// records, and of each pair of those, and so on up. Built once per channel.
class ValueExtrema {
public:
    static constexpr size_t NONE = SIZE_MAX;
    struct Found {
        size_t lo = NONE, hi = NONE; // record numbers; NONE when the stretch has no value
    };

    ValueExtrema() = default;
    explicit ValueExtrema(const std::vector<double>& values);

    // The extremes of values[a, b), values being those the index was built from.
    // work, when given, grows by the records and blocks looked at.
    Found find(const std::vector<double>& values, size_t a, size_t b, size_t* work = nullptr) const;

private:
    static constexpr size_t BLOCK = 16; // records summed up in one leaf
    void take(const std::vector<double>& values, Found& f, size_t node) const;

    size_t leaves_ = 0;                  // a power of two, at least the number of blocks
    std::vector<uint32_t> lo_, hi_;      // the tree, root at 1, leaves from leaves_; UINT32_MAX for none
};

// A channel as the plot draws it: its times, values and their extremes.
struct TraceSource {
    const std::vector<double>& seconds;
    const std::vector<double>& values;
    const ValueExtrema& extrema;
};

// The runs of values (one per entry of seconds, NaN for none) from t0 to t1
// (one record beyond each end included, so lines leave the view at its edges)
// drawn over columns pixel columns. Past max_runs runs the rest join the last
// run, bridging their gaps: only a broken file has that many. The work, when
// asked for, follows the columns, not the records in view.
std::vector<TraceRun> trace_runs(const TraceSource& source, double t0, double t1, int columns, size_t max_runs,
                                 size_t* work = nullptr);
// The same for a channel without an index (it is built on the way: fine for one call).
std::vector<TraceRun> trace_runs(const std::vector<double>& seconds, const std::vector<double>& values, double t0,
                                 double t1, int columns, size_t max_runs);

} // namespace host
