#include "host/viewer/core/flight_trace.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

constexpr uint32_t NO_RECORD = UINT32_MAX;

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

void keep_lower(const std::vector<double>& v, size_t& at, size_t candidate)
{
    if (candidate != ValueExtrema::NONE && (at == ValueExtrema::NONE || v[candidate] < v[at])) at = candidate;
}

void keep_higher(const std::vector<double>& v, size_t& at, size_t candidate)
{
    if (candidate != ValueExtrema::NONE && (at == ValueExtrema::NONE || v[candidate] > v[at])) at = candidate;
}

size_t record(uint32_t r) { return r == NO_RECORD ? ValueExtrema::NONE : r; }

} // namespace

ValueExtrema::ValueExtrema(const std::vector<double>& values)
{
    const size_t blocks = (values.size() + BLOCK - 1) / BLOCK;
    leaves_ = 1;
    while (leaves_ < blocks) leaves_ *= 2;
    lo_.assign(2 * leaves_, NO_RECORD);
    hi_.assign(2 * leaves_, NO_RECORD);
    for (size_t b = 0; b < blocks; ++b) {
        size_t lo = NONE, hi = NONE;
        for (size_t i = b * BLOCK; i < std::min(values.size(), (b + 1) * BLOCK); ++i) {
            if (std::isnan(values[i])) continue;
            keep_lower(values, lo, i);
            keep_higher(values, hi, i);
        }
        lo_[leaves_ + b] = lo == NONE ? NO_RECORD : uint32_t(lo);
        hi_[leaves_ + b] = hi == NONE ? NO_RECORD : uint32_t(hi);
    }
    for (size_t n = leaves_ - 1; n >= 1; --n) {
        size_t lo = record(lo_[2 * n]), hi = record(hi_[2 * n]);
        keep_lower(values, lo, record(lo_[2 * n + 1]));
        keep_higher(values, hi, record(hi_[2 * n + 1]));
        lo_[n] = lo == NONE ? NO_RECORD : uint32_t(lo);
        hi_[n] = hi == NONE ? NO_RECORD : uint32_t(hi);
    }
}

void ValueExtrema::take(const std::vector<double>& values, Found& f, size_t node) const
{
    keep_lower(values, f.lo, record(lo_[node]));
    keep_higher(values, f.hi, record(hi_[node]));
}

ValueExtrema::Found ValueExtrema::find(const std::vector<double>& values, size_t a, size_t b, size_t* work) const
{
    Found f;
    b = std::min(b, values.size());
    size_t looked = 0;
    const auto scan = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i, ++looked) {
            if (std::isnan(values[i])) continue;
            keep_lower(values, f.lo, i);
            keep_higher(values, f.hi, i);
        }
    };
    // Whole blocks from the tree, the records before and after them one by one.
    const size_t first_block = (a + BLOCK - 1) / BLOCK, end_block = b / BLOCK;
    if (a >= b || lo_.empty() || first_block >= end_block) {
        scan(a, b);
    } else {
        scan(a, first_block * BLOCK);
        scan(end_block * BLOCK, b);
        for (size_t l = first_block + leaves_, r = end_block + leaves_; l < r; l /= 2, r /= 2, ++looked) {
            if (l & 1) take(values, f, l++);
            if (r & 1) take(values, f, --r);
        }
    }
    if (work) *work += looked;
    return f;
}

std::vector<TraceRun> trace_runs(const TraceSource& source, double t0, double t1, int columns, size_t max_runs,
                                 size_t* work)
{
    const auto& seconds = source.seconds;
    const auto& values = source.values;
    RunBuilder runs(max_runs);
    const size_t n = std::min(seconds.size(), values.size());
    if (n == 0 || !(t1 > t0) || columns < 1) return runs.take();
    const auto begin = seconds.begin();
    size_t first = size_t(std::lower_bound(begin, begin + long(n), t0) - begin);
    size_t last = size_t(std::upper_bound(begin, begin + long(n), t1) - begin);
    if (first > 0) --first;
    if (last < n) ++last;

    if (last - first <= size_t(columns) * 2) {
        for (size_t i = first; i < last; ++i) {
            if (std::isnan(values[i])) runs.gap();
            else runs.add(seconds[i], values[i]);
        }
        if (work) *work += last - first;
        return runs.take();
    }
    // A pixel column at a time: its records found by bisection, their extremes
    // from the index, so a column costs the same for a second as for an hour.
    const double width = (t1 - t0) / columns;
    const auto column_of = [t0, width](double t) { return std::floor((t - t0) / width); };
    size_t i = first;
    while (i < last) {
        const double column = column_of(seconds[i]);
        // Galloping, then bisecting: the steps follow the records of this column, not the file.
        size_t step = 1;
        while (i + step < last && column_of(seconds[i + step]) <= column) step *= 2;
        const size_t j = size_t(std::partition_point(begin + long(i + step / 2), begin + long(std::min(i + step, last)),
                                                     [&](double t) { return column_of(t) <= column; }) -
                                begin);
        const ValueExtrema::Found f = source.extrema.find(values, i, j, work);
        if (work) *work += 1;
        if (f.lo == ValueExtrema::NONE) {
            runs.gap();
        } else {
            runs.add(seconds[std::min(f.lo, f.hi)], values[std::min(f.lo, f.hi)]);
            if (f.lo != f.hi) runs.add(seconds[std::max(f.lo, f.hi)], values[std::max(f.lo, f.hi)]);
        }
        i = j;
    }
    return runs.take();
}

std::vector<TraceRun> trace_runs(const std::vector<double>& seconds, const std::vector<double>& values, double t0,
                                 double t1, int columns, size_t max_runs)
{
    const ValueExtrema extrema(values);
    return trace_runs(TraceSource{seconds, values, extrema}, t0, t1, columns, max_runs);
}

} // namespace host
