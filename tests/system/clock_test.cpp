// The instrument clock and its conversions.
#include <gtest/gtest.h>

#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "system/clock.h"

namespace {

using namespace ems;

ClockRecord record(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    ClockRecord r;
    r.year = uint16_t(year - 1900);
    r.month = uint8_t(month);
    r.day = uint8_t(day);
    r.hour = uint8_t(hour);
    r.minute = uint8_t(minute);
    r.second = uint8_t(second);
    return r;
}

// Every day from `from` up to `to`, at a few times of day, converts back unchanged.
void expect_every_day_round_trips(const ClockRecord& from, const ClockRecord& to)
{
    for (uint32_t s = clock_to_seconds(from); s < clock_to_seconds(to); s += 86400 + 3607) {
        ClockRecord r;
        seconds_to_clock(s, r);
        ASSERT_EQ(clock_to_seconds(r), s) << "at " << int(r.year) + 1900 << "-" << int(r.month) << "-" << int(r.day);
    }
}

TEST(Clock, SecondsSince1970)
{
    EXPECT_EQ(clock_to_seconds(record(2026, 1, 1)), 1767225600u);
    EXPECT_EQ(clock_to_seconds(record(1970, 1, 1)), 0u);
    EXPECT_EQ(clock_to_seconds(record(2024, 3, 1)) - clock_to_seconds(record(2024, 2, 29, 23, 59, 59)), 1u);
}

TEST(Clock, RoundTripOverLeapYears)
{
    expect_every_day_round_trips(record(1999, 1, 1), record(2030, 1, 1));
    ClockRecord r;
    seconds_to_clock(clock_to_seconds(record(2024, 2, 29, 12)), r);
    EXPECT_EQ(r.month, 2);
    EXPECT_EQ(r.day, 29);
    seconds_to_clock(1767225600u, r);
    EXPECT_EQ(r.day, 1);
    EXPECT_EQ(r.month, 1);
    EXPECT_EQ(r.year, 126);
}

TEST(Clock, CenturyYearsFollowTheGregorianRule)
{
    // 2100 has no 29 February; 2000 has one.
    EXPECT_EQ(days_in_month(2100, 2), 28);
    EXPECT_EQ(days_in_month(2000, 2), 29);
    EXPECT_EQ(days_in_month(2024, 2), 29);
    EXPECT_EQ(clock_to_seconds(record(2100, 3, 1)) - clock_to_seconds(record(2100, 2, 28)), 86400u);
    EXPECT_EQ(clock_to_seconds(record(2000, 3, 1)) - clock_to_seconds(record(2000, 2, 28)), 2 * 86400u);
    expect_every_day_round_trips(record(2096, 1, 1), record(2106, 2, 7)); // to the end of the clock's range
    ClockRecord r;
    seconds_to_clock(clock_to_seconds(record(2100, 2, 28)) + 86400, r);
    EXPECT_EQ(r.year, 200);
    EXPECT_EQ(r.month, 3);
    EXPECT_EQ(r.day, 1);
}

TEST(Clock, UpdateReadsThePcTimeAndAppliesTheOffset)
{
    test::FakePlatform platform;
    test::reset_firmware();
    platform.now = UtcTime{30, 15, 23, 31, 11, 126}; // 2026-12-31 23:15:30
    settings.utc_offset = 60;                          // minutes
    clock_update(settings.utc_offset);
    EXPECT_EQ(clk.clock_utc.year, 2026);
    EXPECT_EQ(clk.clock_utc.month, 12);
    EXPECT_EQ(clk.clock_utc.hour, 23);
    EXPECT_EQ(clk.utc_seconds, clock_to_seconds(record(2026, 12, 31, 23, 15, 30)));
    EXPECT_EQ(clk.local_seconds, clk.utc_seconds + 3600);
    EXPECT_EQ(clk.clock_local.year, 2027);
    EXPECT_EQ(clk.clock_local.month, 1);
    EXPECT_EQ(clk.clock_local.day, 1);
    EXPECT_EQ(clk.clock_local.hour, 0);
    EXPECT_EQ(clk.clock_local.minute, 15);

    settings.utc_offset = -90;
    clock_update(settings.utc_offset);
    EXPECT_EQ(clk.clock_local.hour, 21);
    EXPECT_EQ(clk.clock_local.minute, 45);
}

} // namespace
