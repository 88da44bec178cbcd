// What the viewer works out of a recording: bounded drawing work whatever the
// length and span, what hostile values become, the lean-find, the spread, the
// figures over a stretch, the flights list and the export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "host/viewer/core/flight_analysis.h"
#include "host/viewer/core/flight_list.h"
#include "host/viewer/core/flight_trace.h"
#include "host/viewer/core/lean_find.h"
#include "host/viewer/core/time_ticks.h"
#include "support/fake_platform.h"

namespace {

using host::FlightData;

FlightData read(const std::string& text)
{
    FlightData d;
    std::string error;
    EXPECT_TRUE(host::read_flight_data(text, d, error)) << error;
    return d;
}

std::string line(int t, const std::string& values)
{
    char utc[32];
    std::snprintf(utc, sizeof utc, "2026-05-01 %02d:%02d:%02d", 10 + t / 3600 % 10, t / 60 % 60, t % 60);
    return std::string(utc) + "," + std::to_string(t) + "," + values + "\n";
}

TEST(FlightDrawing, PointsWorkAndLabelsStayBoundedForAnyLengthAndSpan)
{
    constexpr int COLUMNS = 200;
    constexpr size_t WORK_PER_COLUMN = 64;
    for (size_t records : {10u, 1000u, 100000u}) {
        std::vector<double> t, v;
        for (size_t i = 0; i < records; ++i) {
            // Seconds spread out to 1e12 on a log scale, or one a second.
            t.push_back(records == 1000 ? std::floor(std::pow(1e12, double(i) / (records - 1))) + double(i) : double(i));
            v.push_back(i % 97 == 0 ? NAN : std::sin(double(i)));
        }
        const host::ValueExtrema extrema(v);
        for (double span : {1.0, 10.0, 3600.0, 1e5, 1e9, 1e12}) {
            size_t work = 0, points = 0;
            for (const auto& run : host::trace_runs({t, v, extrema}, 0, span, COLUMNS, 64, &work)) points += run.size();
            EXPECT_LE(points, 2u * (COLUMNS + 2)) << records << " records over " << span << " s";
            EXPECT_LE(work, WORK_PER_COLUMN * (COLUMNS + 2)) << records << " records over " << span << " s";
            const double step = host::time_tick_step(span, 8);
            EXPECT_LE(host::time_tick_count(0, span, step), 9) << span;
            EXPECT_GE(host::time_tick_count(0, span, step), 2) << span;
        }
    }
    // The extremes the index finds are those a plain look finds.
    std::vector<double> v;
    for (int i = 0; i < 1000; ++i) v.push_back(i % 13 == 0 ? NAN : std::fmod(i * 7919.0, 1009.0));
    const host::ValueExtrema extrema(v);
    for (size_t a = 0; a < v.size(); a += 37)
        for (size_t b = a + 1; b <= v.size(); b += 53) {
            const auto f = extrema.find(v, a, b);
            double lo = INFINITY, hi = -INFINITY;
            for (size_t i = a; i < b; ++i)
                if (!std::isnan(v[i])) lo = std::min(lo, v[i]), hi = std::max(hi, v[i]);
            ASSERT_EQ(f.lo == host::ValueExtrema::NONE ? INFINITY : v[f.lo], lo) << a << ".." << b;
            ASSERT_EQ(f.hi == host::ValueExtrema::NONE ? -INFINITY : v[f.hi], hi) << a << ".." << b;
        }
}

TEST(FlightData, HostileNamesValuesAndTimesAreBoundedAndCounted)
{
    const std::string long_name(100000, 'N');
    const FlightData d = read("UTC,T (s)," + long_name + " (" + std::string(500, 'u') + "),EGT1 (F)\n" +
                              line(0, "1e308,1320") + line(1, "-1e308,nan") + line(2, "5,1e999") +
                              "2026-05-01 10:00:03,1000000000001,5,5\n");
    EXPECT_EQ(d.channels[0].name.size(), host::FLIGHT_NAME_MAX_CHARS);
    EXPECT_EQ(d.channels[0].unit.size(), host::FLIGHT_NAME_MAX_CHARS);
    EXPECT_EQ(d.names_shortened, 2u);
    EXPECT_EQ(d.values_left_out, 4u);
    EXPECT_TRUE(std::isnan(d.channels[0].values[0]));
    EXPECT_EQ(d.channels[0].values[2], 5);
    EXPECT_EQ(d.seconds.size(), 3u);
    EXPECT_EQ(host::reading_summary(d), "2 names shortened to 32 characters; 4 values not finite or past 1e9 left out; "
                                        "1 line skipped (line 5: T (s) is past 1e12)");
}

// A lean sweep as the instrument records it: the flow falls 0.05 gal/h a second
// from 12 to 9 while RPM and MAP hold, each cylinder's EGT peaking at its own flow.
std::string sweep_recording(int rpm_climb_per_second)
{
    const double peak_flow[] = {10.6, 9.8, 11.0, 10.2}; // cylinders 1 to 4
    std::string text = "UTC,T (s),RPM1 (RPM),MAP (inHg),EGT1 (F),EGT2 (F),EGT3 (F),EGT4 (F),FLOW1 (gal/h)\n";
    for (int t = 0; t < 120; ++t) {
        const double flow = std::clamp(12.0 - 0.05 * (t - 20), 9.0, 12.0);
        std::string v = std::to_string(2400 + rpm_climb_per_second * std::clamp(t - 20, 0, 60)) + ",24.1";
        for (double p : peak_flow) v += "," + std::to_string(std::lround(1400 - 60 * (flow - p) * (flow - p)));
        char f[16];
        std::snprintf(f, sizeof f, ",%.1f", flow);
        text += line(t, v + f);
    }
    return text;
}

TEST(LeanFind, ReportsThePeakOrderFlowsAndSpreadOfASweep)
{
    const auto sweeps = host::find_lean_sweeps(read(sweep_recording(0)));
    ASSERT_EQ(sweeps.size(), 1u);
    const host::LeanSweep& s = sweeps[0];
    EXPECT_EQ(s.begin_row, 20u);
    EXPECT_NEAR(double(s.end_row), 80, 1);
    std::vector<int> order;
    for (const auto& p : s.peaks) order.push_back(p.cylinder);
    EXPECT_EQ(order, (std::vector<int>{3, 1, 4, 2}));
    EXPECT_TRUE(s.not_peaked.empty());
    EXPECT_NEAR(s.peaks.front().flow, 11.0, 0.1);
    EXPECT_NEAR(s.peaks.back().flow, 9.8, 0.1);
    EXPECT_EQ(s.peaks.front().egt, 1400);
    EXPECT_NEAR(s.flow_spread(), 1.2, 0.15);

    // The same fall of the flow while the RPM climbs is a change of power, not leaning.
    EXPECT_TRUE(host::find_lean_sweeps(read(sweep_recording(10))).empty());
}

TEST(FlightAnalysis, SpreadStatsSummaryExportAndTheFlightsList)
{
    const std::string text = "UTC,T (s),EGT1 (F),EGT2 (F),CHT1 (F),ALARM1\n" + line(0, "1300,1350,300,0") +
                             line(1, "1310,,310,4") + line(2, "1290,1380,390,0") + line(3, "1000.25,1100,380,1");
    const FlightData d = read(text);
    const auto spread = host::cylinder_spread(d, "EGT");
    EXPECT_EQ(spread[0], 50);
    EXPECT_TRUE(std::isnan(spread[1])) << "one cylinder has no spread";
    EXPECT_EQ(spread[2], 90);
    EXPECT_TRUE(std::isnan(host::cylinder_spread(d, "CHT")[0]));

    const auto stats = host::channel_stats(d.seconds, d.channels[1].values, 1, 3);
    EXPECT_EQ(stats.count, 2u);
    EXPECT_EQ(stats.min, 1100);
    EXPECT_EQ(stats.max, 1380);
    EXPECT_EQ(stats.mean, 1240);

    const FlightData part = read(host::flight_csv(d, 1, 3));
    EXPECT_EQ(part.seconds, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(part.utc.front(), "2026-05-01 10:00:01");
    EXPECT_EQ(part.channels[2].unit, "F");
    EXPECT_EQ(part.channels[0].values[2], 1000.25);
    EXPECT_TRUE(std::isnan(part.channels[1].values[0]));

    test::FakePlatform dir; // a fresh temporary folder
    std::ofstream(dir.dir() / "26050101.CSV") << text;
    std::ofstream(dir.dir() / "26050102.csv") << "not a recording\n";
    std::ofstream(dir.dir() / "NOTES.TXT") << text;
    const auto list = host::scan_recordings(dir.dir());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].summary.date, "2026-05-01");
    EXPECT_EQ(list[0].summary.start_utc, "10:00:00");
    EXPECT_EQ(list[0].summary.duration, 3);
    EXPECT_EQ(list[0].summary.peak_egt, 1380);
    EXPECT_EQ(list[0].summary.peak_cht, 390);
    EXPECT_EQ(list[0].summary.alarms, 2u);
    EXPECT_FALSE(list[1].error.empty());
    EXPECT_TRUE(host::scan_recordings(dir.dir() / "missing").empty());
}

} // namespace
