#include "system/clock.h"

#include "system/platform.h"

namespace ems {

ClockState clk;

namespace {

// Days before each month in a common year, index 1..12.
constexpr uint16_t DAYS_BEFORE[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool leap_year(int32_t full_year)
{
    return (full_year % 4 == 0 && full_year % 100 != 0) || full_year % 400 == 0;
}

// Leap days from year 1 up to, not including, the given full year.
int32_t leap_days_before(int32_t full_year)
{
    const int32_t y = full_year - 1;
    return y / 4 - y / 100 + y / 400;
}

// Days from 1970-01-01 to 1 January of a full year.
int32_t days_to_year(int32_t full_year)
{
    return (full_year - 1970) * 365 + leap_days_before(full_year) - leap_days_before(1970);
}

uint16_t days_before_month(int32_t full_year, uint8_t month)
{
    return uint16_t(DAYS_BEFORE[month] + (month > 2 && leap_year(full_year) ? 1 : 0));
}

} // namespace

uint32_t clock_to_seconds(const ClockRecord& r)
{
    const int32_t year = 1900 + r.year;
    const uint8_t month = r.month >= 1 && r.month <= 12 ? r.month : 1;
    const int32_t days = days_to_year(year) + days_before_month(year, month) + r.day - 1;
    return uint32_t(r.second) + uint32_t(r.minute) * 60u + uint32_t(r.hour) * 3600u +
           uint32_t(days) * 86400u;
}

void seconds_to_clock(uint32_t s, ClockRecord& r)
{
    r.second = uint8_t(s % 60);
    r.minute = uint8_t((s / 60) % 60);
    r.hour = uint8_t((s / 3600) % 24);
    const int32_t days = int32_t(s / 86400);
    int32_t year = 1970 + days / 366; // never past the year, then counted up
    while (days_to_year(year + 1) <= days) ++year;
    const int32_t day_of_year = days - days_to_year(year);
    uint8_t month = 1;
    while (month < 12 && days_before_month(year, uint8_t(month + 1)) <= day_of_year) ++month;
    r.month = month;
    r.day = uint8_t(day_of_year - days_before_month(year, month) + 1);
    r.year = uint16_t(year - 1900);
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
    if (month == 2 && leap_year(year)) return 29;
    return DAYS[month <= 12 ? month : 0];
}

} // namespace ems
