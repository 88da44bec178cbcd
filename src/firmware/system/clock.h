// The instrument clock: the PC's local time read as UTC every pass, and the
// local clock derived from it with utc_offset.
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
};
extern ClockState clk;

// Seconds since 1970-01-01 of a record whose year counts from 1900 (no century rule).
uint32_t clock_to_seconds(const ClockRecord& r);
// Fills a record (year counted from 1900) from seconds since 1970-01-01.
void seconds_to_clock(uint32_t s, ClockRecord& r);

// Main-loop step: reads the platform's local time into clock_utc and derives
// the local clock with the given offset (settings.utc_offset, minutes).
void clock_update(int16_t utc_offset_minutes);

} // namespace ems
