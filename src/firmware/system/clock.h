// The instrument clock: the PC's UTC read every pass, and the local clock
// derived from it with utc_offset.
#pragma once
#include <cstdint>

namespace ems {

struct ClockRecord {
    uint8_t second = 0, minute = 0, hour = 0;
    uint8_t day = 1;   // 1..31
    uint8_t month = 1; // 1..12
    uint16_t year = 0; // counted from 1900 inside the conversions, full year after the clock step
};

struct ClockState {
    ClockRecord clock_utc;
    ClockRecord clock_local;
    uint32_t utc_seconds = 0;   // seconds since 1970-01-01 00:00
    uint32_t local_seconds = 0; // utc_seconds + utc_offset minutes
    uint32_t pc_seconds = 0;    // the PC's own reading of the last clock step, seconds since 1970
    int64_t utc_adjust = 0;     // seconds the pilot's date and time differ from the PC's; kept until the program ends
};
extern ClockState clk;

// Seconds since 1970-01-01 of a record whose year counts from 1900 (Gregorian
// leap years: 2100 has no 29 February).
uint32_t clock_to_seconds(const ClockRecord& r);
// Fills a record (year counted from 1900) from seconds since 1970-01-01.
void seconds_to_clock(uint32_t s, ClockRecord& r);

// Main-loop step: reads the platform's UTC into clock_utc (moved by
// utc_adjust once the pilot has set the date and time) and derives the local
// clock with the given offset (settings.utc_offset, minutes).
void clock_update(int16_t utc_offset_minutes);

// SET UTC DATE & TIME: from now on the UTC clock runs from `utc` (full year,
// 1970..2105), kept as an offset to the PC's clock.
void clock_set_utc(const ClockRecord& utc);

// Days in a month (1..12) of a year (full year, Gregorian leap years).
uint8_t days_in_month(uint16_t year, uint8_t month);

} // namespace ems
