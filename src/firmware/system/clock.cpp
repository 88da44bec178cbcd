#include "system/clock.h"

#include "system/platform.h"

namespace ems {

ClockState clk;

namespace {

// Days before each month in a common year, index 1..12.
constexpr uint16_t DAYS_BEFORE[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

} // namespace

uint32_t clock_to_seconds(const ClockRecord& r)
{
    const int32_t year = r.year;
    const uint8_t month = r.month >= 1 && r.month <= 12 ? r.month : 1;
    int32_t days = (year - 69) / 4 + year * 365 + DAYS_BEFORE[month] + r.day - 25551;
    if (month > 2 && year % 4 == 0) days += 1;
    return uint32_t(r.second) + uint32_t(r.minute) * 60u + uint32_t(r.hour) * 3600u +
           uint32_t(days) * 86400u;
}

void seconds_to_clock(uint32_t s, ClockRecord& r)
{
    r.second = uint8_t(s % 60);
    r.minute = uint8_t((s / 60) % 60);
    r.hour = uint8_t((s / 3600) % 24);
    const uint32_t d = s / 86400 + 731; // days since 1968-01-01
    const uint32_t q = d % 1461;
    const uint32_t g = d / 1461 + (q > 59 ? 1 : 0);
    uint32_t h = (d - g) % 365;
    if (q >= 60 && q <= 365) h += 1;
    const uint32_t y = (d - g) / 365;
    const bool leap = y % 4 == 0;
    uint8_t month = 1;
    for (uint8_t m = 1; m <= 12; ++m) {
        const uint32_t before = DAYS_BEFORE[m] + (m > 2 && leap ? 1 : 0);
        if (before <= h) month = m;
    }
    r.month = month;
    r.day = uint8_t(h - (DAYS_BEFORE[month] + (month > 2 && leap ? 1 : 0)) + 1);
    r.year = uint16_t(y + 68);
}

void clock_update(int16_t utc_offset_minutes)
{
    const UtcTime t = platform().clock().utc_time();
    ClockRecord& u = clk.clock_utc;
    u.second = uint8_t(t.second);
    u.minute = uint8_t(t.minute);
    u.hour = uint8_t(t.hour);
    u.day = uint8_t(t.day);
    u.month = uint8_t(t.month + 1);
    u.year = uint16_t(t.year);
    clk.pc_seconds = clock_to_seconds(u);
    clk.utc_seconds = clk.pc_seconds;
    if (clk.utc_adjust != 0) {
        int64_t adjusted = int64_t(clk.pc_seconds) + clk.utc_adjust;
        if (adjusted < 0) adjusted = 0;
        if (adjusted > int64_t(UINT32_MAX)) adjusted = UINT32_MAX;
        clk.utc_seconds = uint32_t(adjusted);
        seconds_to_clock(clk.utc_seconds, u);
    }
    u.year = uint16_t(u.year + 1900);
    clk.local_seconds = clk.utc_seconds + uint32_t(int32_t(utc_offset_minutes) * 60);
    seconds_to_clock(clk.local_seconds, clk.clock_local);
    clk.clock_local.year = uint16_t(clk.clock_local.year + 1900);
}

void clock_set_utc(const ClockRecord& utc)
{
    ClockRecord r = utc;
    r.year = uint16_t(utc.year >= 1900 ? utc.year - 1900 : 0);
    clk.utc_adjust = int64_t(clock_to_seconds(r)) - int64_t(clk.pc_seconds);
}

uint8_t days_in_month(uint16_t year, uint8_t month)
{
    constexpr uint8_t DAYS[13] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && year % 4 == 0) return 29;
    return DAYS[month <= 12 ? month : 0];
}

} // namespace ems
