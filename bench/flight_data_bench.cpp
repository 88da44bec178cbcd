// Cost of reading a flight-data recording and of picking a plot's points from
// it: what opening a recording and each zoom or pan step take in the viewer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/flight_trace.h"
#include "host/viewer/core/lean_find.h"
#include "host/viewer/core/time_ticks.h"

namespace {

// A recording of the given flight hours, one record a second, 30 columns.
std::string recording(int hours)
{
    std::string text = "UTC,T (s),RPM1 (rpm),MAP (inHg)";
    for (int i = 1; i <= 6; ++i) text += ",EGT" + std::to_string(i) + " (F),CHT" + std::to_string(i) + " (F)";
    text += ",VOLTS (V),AMPS (A),OAT (F),FLOW1 (gal/h),FUEL USED (gal),LAT (deg),LON (deg),ALT (ft),SPEED (kt),"
            "COURSE (deg),ALARM1,ALARM2\r\n";
    for (int t = 0; t < hours * 3600; ++t) {
        text += "2026-05-01 10:00:00," + std::to_string(t) + ",2400,24.5";
        for (int i = 0; i < 6; ++i) text += "," + std::to_string(1300 + (t + i * 7) % 50) + "," + std::to_string(350 + i);
        text += ",13.8,12.5,59,9.8,12.25,47.41234,8.51234,4500,118,271,0,0\r\n";
    }
    return text;
}

void BM_ReadFlightData(benchmark::State& state)
{
    const std::string text = recording(int(state.range(0)));
    for (auto _ : state) {
        host::FlightData d;
        std::string error;
        benchmark::DoNotOptimize(host::read_flight_data(text, d, error));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadFlightData)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// One zoom, pan or reset of the viewer: twelve cylinder traces of a flight of
// state.range(0) hours over a plot 800 pixels wide, showing state.range(1)
// seconds. The counters show the work and the points drawn follow the width
// of the plot, not the length of the flight or of the span.
void BM_TraceZoom(benchmark::State& state)
{
    host::FlightData d;
    std::string error;
    host::read_flight_data(recording(int(state.range(0))), d, error);
    std::vector<host::ValueExtrema> extrema;
    for (const auto& c : d.channels) extrema.emplace_back(c.values);
    const double span = std::min(double(state.range(1)), d.seconds.back());
    size_t work = 0, points = 0;
    for (auto _ : state) {
        work = points = 0;
        for (size_t c = 2; c < 14; ++c)
            for (const auto& run : host::trace_runs({d.seconds, d.channels[c].values, extrema[c]}, 0, span, 800, 64, &work))
                points += run.size();
    }
    state.counters["records"] = double(d.seconds.size());
    state.counters["work"] = double(work);
    state.counters["points"] = double(points);
    state.counters["labels"] = double(host::time_tick_count(0, span, host::time_tick_step(span, 8)));
}
BENCHMARK(BM_TraceZoom)
    ->Args({1, 10})
    ->Args({1, 3600})
    ->Args({30, 10})
    ->Args({30, 3600})
    ->Args({30, 108000})
    ->Unit(benchmark::kMicrosecond);

// The tick step and label count for spans of 1 s to 1e12 s: never more than a handful.
void BM_TimeTicks(benchmark::State& state)
{
    const double span = std::pow(10.0, double(state.range(0)));
    long long labels = 0;
    for (auto _ : state) {
        labels = host::time_tick_count(0, span, host::time_tick_step(span, 8));
        benchmark::DoNotOptimize(labels);
    }
    state.counters["labels"] = double(labels);
}
BENCHMARK(BM_TimeTicks)->DenseRange(0, 12, 3);

// The lean-find over a ten-hour flight, done once when a recording opens.
void BM_LeanFind(benchmark::State& state)
{
    host::FlightData d;
    std::string error;
    host::read_flight_data(recording(10), d, error);
    for (auto _ : state) benchmark::DoNotOptimize(host::find_lean_sweeps(d));
}
BENCHMARK(BM_LeanFind)->Unit(benchmark::kMillisecond);

} // namespace
