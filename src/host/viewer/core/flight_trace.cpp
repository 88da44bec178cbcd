#include "host/viewer/core/flight_trace.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

// Collects runs: a NaN or a bucket without values ends the current run.
class RunBuilder {
public:
    explicit RunBuilder(size_t max_runs) : max_runs_(std::max<size_t>(max_runs, 1)) {}
    void add(double t, double v)
    {
        if (runs_.empty() || (broken_ && runs_.size() < max_runs_)) runs_.emplace_back();
        broken_ = false;
        runs_.back().push_back({t, v});
    }
    void gap() { broken_ = true; }
    std::vector<TraceRun> take() { return std::move(runs_); }

private:
    size_t max_runs_;
    bool broken_ = false;
    std::vector<TraceRun> runs_;
};

} // namespace

std::vector<TraceRun> trace_runs(const std::vector<double>& seconds, const std::vector<double>& values, double t0,
                                 double t1, int columns, size_t max_runs)
{
    RunBuilder runs(max_runs);
    const size_t n = std::min(seconds.size(), values.size());
    if (n == 0 || !(t1 > t0) || columns < 1) return runs.take();
    size_t first = size_t(std::lower_bound(seconds.begin(), seconds.begin() + long(n), t0) - seconds.begin());
    size_t last = size_t(std::upper_bound(seconds.begin(), seconds.begin() + long(n), t1) - seconds.begin());
    if (first > 0) --first;
    if (last < n) ++last;

    if (last - first <= size_t(columns) * 2) {
        for (size_t i = first; i < last; ++i) {
            if (std::isnan(values[i])) runs.gap();
            else runs.add(seconds[i], values[i]);
        }
        return runs.take();
    }
    const double width = (t1 - t0) / columns;
    size_t i = first;
    while (i < last) {
        const double bucket = std::floor((seconds[i] - t0) / width);
        size_t lo = last, hi = last;
        size_t j = i;
        for (; j < last && std::floor((seconds[j] - t0) / width) == bucket; ++j) {
            if (std::isnan(values[j])) continue;
            if (lo == last || values[j] < values[lo]) lo = j;
            if (hi == last || values[j] > values[hi]) hi = j;
        }
        if (lo == last) {
            runs.gap();
        } else {
            runs.add(seconds[std::min(lo, hi)], values[std::min(lo, hi)]);
            if (lo != hi) runs.add(seconds[std::max(lo, hi)], values[std::max(lo, hi)]);
        }
        i = j;
    }
    return runs.take();
}

} // namespace host
