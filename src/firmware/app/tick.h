// Timer1: the 100 ms tick that advances the time base (system/tick.h) and
// the durations the subsystems count in slow ticks.
#pragma once
#include <cstdint>

#include "system/tick.h"

namespace ems {

// Dwell times of the scanning displays in slow ticks, indexed by egt_scan_time / cht_scan_time.
extern const uint8_t SCAN_DWELL_TICKS[7];

// One 100 ms tick. Runs whether the firmware is on or off.
void Timer1Timer();

} // namespace ems
