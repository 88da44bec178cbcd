// Reading flight-data recordings: what is kept, what is skipped and why, and
// what is refused.
#include <gtest/gtest.h>

#include <cmath>

#include "host/viewer/core/flight_data.h"
#include "host/viewer/core/flight_trace.h"

namespace {

using host::FlightData;
using host::read_flight_data;

constexpr const char* HEADER = "UTC,T (s),RPM1 (rpm),EGT1 (F),ALARM1,ALARM2\n";

TEST(FlightData, ReadsRecordsWithUnitsGapsAndEitherLineEnd)
{
    const std::string text = std::string("\xEF\xBB\xBF") + "UTC,T (s),RPM1 (rpm),EGT1 (F),ALARM1,ALARM2\r\n"
                                                          "2026-05-01 10:00:00,0,2400,1320.5,0,0\r\n"
                                                          "2026-05-01 10:00:01,1,,-3,16,0\n"
                                                          "\n"
                                                          "2026-05-01 10:00:02,2,2410,1330,0,0\r\n";
    FlightData d;
    std::string error;
    ASSERT_TRUE(read_flight_data(text, d, error)) << error;
    ASSERT_EQ(d.channels.size(), 4u);
    EXPECT_EQ(d.channels[0].name, "RPM1");
    EXPECT_EQ(d.channels[0].unit, "rpm");
    EXPECT_EQ(d.channels[2].name, "ALARM1");
    EXPECT_EQ(d.channels[2].unit, "");
    EXPECT_EQ(d.utc, (std::vector<std::string>{"2026-05-01 10:00:00", "2026-05-01 10:00:01", "2026-05-01 10:00:02"}));
    EXPECT_EQ(d.seconds, (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(d.channels[1].values[0], 1320.5);
    EXPECT_EQ(d.channels[1].values[1], -3);
    EXPECT_TRUE(std::isnan(d.channels[0].values[1])) << "an empty field is no value, not zero";
    EXPECT_EQ(d.lines_skipped, 0u) << "a blank line is no record";
    EXPECT_FALSE(d.cut_short);
}

TEST(FlightData, SkipsBrokenRecordsSayingWhichAndWhy)
{
    const std::string text = std::string(HEADER) + "2026-05-01 10:00:00,0,2400,1320,0,0\n"
                                                   "2026-05-01 10:00:01,1,2400,1320,0\n"       // too few
                                                   "2026-05-01 10:00:01,1,2400,1320,0,0,7\n"   // too many
                                                   "2026-05-01 10:00:01,1,24x0,1320,0,0\n"     // garbage
                                                   "2026-05-01 10:0:01,1,2400,1320,0,0\n"      // bad time
                                                   "2026-05-01 10:00:01,1.5,2400,1320,0,0\n"   // not whole
                                                   "2026-05-01 10:00:02,2,2400,inf,0,0\n"      // kept, without its EGT
                                                   "2026-05-01 10:00:03,3,2400,1320,0,0\n"
                                                   "2026-05-01 10:00:02,2,2400,1320,0,0\n"     // goes back
                                                   "2026-05-01 10:00:04,4,2400,13";            // cut short
    FlightData d;
    std::string error;
    ASSERT_TRUE(read_flight_data(text, d, error)) << error;
    EXPECT_EQ(d.seconds, (std::vector<double>{0, 2, 3}));
    EXPECT_TRUE(std::isnan(d.channels[1].values[1]));
    EXPECT_EQ(d.values_left_out, 1u);
    EXPECT_EQ(d.lines_skipped, 7u);
    EXPECT_TRUE(d.cut_short);
    EXPECT_EQ(d.skip_reasons, (std::vector<std::string>{
                                  "line 3: 5 fields, expected 6", "line 4: 7 fields, expected 6",
                                  "line 5: RPM1 is not a number", "line 6: the time is not YYYY-MM-DD hh:mm:ss",
                                  "line 7: T (s) is not a whole number of seconds",
                                  "line 10: T (s) goes back", "line 11: cut short"}));
    EXPECT_EQ(host::skipped_summary(d, 2),
              "7 lines skipped (line 3: 5 fields, expected 6; line 4: 7 fields, expected 6; ...)");
}

TEST(FlightData, RefusesWhatHoldsNoRecordAndLeavesTheOutputAlone)
{
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "the file is empty"},
        {std::string("\x89PNG\r\n\x1a\n\0\0", 10),
         "this is not a flight-data recording: its first line does not begin with \"UTC,T (s)\""},
        {"Time,RPM\n1,2\n", "this is not a flight-data recording: its first line does not begin with \"UTC,T (s)\""},
        {"UTC,T (s),RPM1 (rpm)", "the recording ends inside its header line"},
        {HEADER, "the recording has a header but no records yet"},
        {"UTC,T (s),,EGT1\n", "column 3 of the header has no name"},
        {std::string(HEADER) + "garbage\n2026-05-01 10:00:00,0,2400",
         "no record could be read: 2 lines skipped (line 2: 1 field, expected 6; line 3: cut short)"},
        {std::string(host::FLIGHT_DATA_MAX_BYTES + 1, ','), "the file is larger than 16 MB, more than the viewer reads"},
    };
    for (const auto& c : cases) {
        FlightData d;
        d.utc = {"kept"};
        std::string error;
        EXPECT_FALSE(read_flight_data(c.text, d, error)) << c.text.substr(0, 60);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(d.utc, std::vector<std::string>{"kept"});
    }
}

TEST(FlightData, AlarmSpansAndTraceRuns)
{
    const std::string text = std::string(HEADER) + "2026-05-01 10:00:00,0,1,1,0,0\n"
                                                   "2026-05-01 10:00:01,1,,2,16,\n"
                                                   "2026-05-01 10:00:02,2,3,3,0,4\n"
                                                   "2026-05-01 10:00:03,3,4,4,,0\n"
                                                   "2026-05-01 10:00:05,5,5,5,0,1\n";
    FlightData d;
    std::string error;
    ASSERT_TRUE(read_flight_data(text, d, error)) << error;
    const auto spans = host::alarm_spans(d);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].begin, 1);
    EXPECT_EQ(spans[0].end, 3) << "either word counts; an empty one is no alarm";
    EXPECT_EQ(spans[1].begin, 5);
    EXPECT_EQ(spans[1].end, 6);

    // RPM1's empty field splits its trace in two.
    const auto runs = host::trace_runs(d.seconds, d.channels[0].values, 0, 5, 100, 16);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].size(), 1u);
    EXPECT_EQ(runs[1].size(), 3u);
    // Two pixel columns keep each column's lowest and highest value, in time order.
    std::vector<double> t, v{5, 9, 1, 7, 2, 8};
    for (int i = 0; i < 6; ++i) t.push_back(i);
    const auto squeezed = host::trace_runs(t, v, 0, 6, 2, 16);
    ASSERT_EQ(squeezed.size(), 1u);
    std::vector<double> kept;
    for (const auto& p : squeezed[0]) kept.push_back(p.v);
    EXPECT_EQ(kept, (std::vector<double>{9, 1, 2, 8}));
}

} // namespace
