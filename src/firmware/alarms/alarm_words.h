// The alarm words (one bit per alarm, named in alarm_table.h) and the calls
// with which a channel raises and clears its alarm.
#pragma once
#include "settings/limits.h"
#include <cstdint>

#include "alarms/alarm_table.h"

namespace ems {

struct AlarmState {
    uint32_t alarm_flags = 0; // bit set while the alarm condition holds
    uint32_t alarm_acked = 0; // bit set once the pilot acknowledged that alarm
    uint32_t alarm_shown = 0; // bit whose box the last run-screen frame showed, 0 for none
    uint32_t alarm_low = 0;   // bit set when its channel last found the value below its low limit (the box reads LOW)
};
extern AlarmState alarms;

// Clears an alarm in both words, so the next violation alarms again.
inline void alarm_clear(uint32_t bits)
{
    alarms.alarm_flags &= ~bits;
    alarms.alarm_acked &= ~bits;
}

// Sets `bit` in alarm_flags while `condition` holds, else clears it in both
// alarm words. Channels skip it while alarm_holdoff runs.
void channel_alarm(uint32_t bit, bool condition);

// The alarm of a channel with limits (low_alarm and high_alarm with their
// flags, in the type the channel compares its value in: a limit compared
// unsigned is passed as such; the caution levels are not used here): `bit` is
// raised while `value` is below the enabled low limit or above the enabled high one, else cleared in both
// words; the side (below the low limit or not) is recorded in alarm_low for
// the box's LOW or HIGH.
void alarm_on_limits(uint32_t bit, int64_t value, const Limits& limits);

} // namespace ems
