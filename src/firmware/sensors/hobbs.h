// The hobbs meter and the maintenance countdown as they run, and the hobbs
// time in its two display formats.
//
// The counters live in fuel_hobbs.hobbs (settings.h), minutes always 0..59.
// While the start condition holds (hobbs_start: POWER, or RPM 1 / RPM 2 at
// or above hobbs_min_rpm) every 60 seconds of the time base add one minute
// to the hobbs meter and take one from the maintenance countdown, which
// stops at 0 h 0 min; each counted minute calls hobbs_changed.
#pragma once
#include <cstdint>

namespace ems {

struct HobbsCounting {
    uint8_t run_seconds = 0; // seconds counted towards the next whole minute, 0..59
};
extern HobbsCounting hobbs_count;

// Highest hobbs meter reading; the meter stops there.
constexpr uint16_t HOBBS_HOURS_MAX = 9999;

// True while the hobbs and maintenance timers run: POWER from power-on,
// RPM 1 or RPM 2 at or above hobbs_min_rpm while the main loop runs.
bool hobbs_running();

// Once a second from the time base: counts the second while hobbs_running,
// and on the sixtieth a whole minute.
void hobbs_second();

// One minute on both counters (hobbs up, maintenance down to 0), then hobbs_changed.
void hobbs_count_minute();

// DECIMAL format: minutes 0..59 as the tenths digit of the hour (35 min is .5),
// and a tenths digit 0..9 as minutes (.5 is 30 min).
uint8_t hobbs_tenths(uint8_t minutes);
uint8_t hobbs_minutes_of_tenths(uint8_t tenths);

} // namespace ems
