// Cost of reading a flight-data recording and of picking a plot's points from
// it: what opening a recording and each zoom or pan step take in the viewer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/flight_trace.h"

namespace {

// A recording of the given flight hours, one record a second, 30 columns.
std::string recording(int hours)
{
    std::string text = "UTC,T (s),RPM1 (rpm),MAP (inHg)";
    for (int i = 1; i <= 6; ++i) text += ",EGT" + std::to_string(i) + " (F),CHT" + std::to_string(i) + " (F)";
    text += ",VOLTS (V),AMPS (A),OAT (F),FF1 (gal/h),FUEL USED (gal),LAT (deg),LON (deg),ALT (ft),SPEED (kt),"
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

// Twelve cylinder traces of a ten-hour flight over a plot 800 pixels wide.
void BM_TraceRuns(benchmark::State& state)
{
    host::FlightData d;
    std::string error;
    host::read_flight_data(recording(10), d, error);
    for (auto _ : state)
        for (size_t c = 2; c < 14; ++c)
            benchmark::DoNotOptimize(host::trace_runs(d.seconds, d.channels[c].values, 0, d.seconds.back(), 800, 64));
}
BENCHMARK(BM_TraceRuns)->Unit(benchmark::kMillisecond);

} // namespace
