#include "alarms/alarm_words.h"

namespace ems {

AlarmState alarms;

void channel_alarm(uint32_t bit, bool condition)
{
    if (condition)
        alarms.alarm_flags |= bit;
    else
        alarm_clear(bit);
}

void alarm_on_limits(uint32_t bit, int64_t value, const Limits& limits)
{
    const bool low = limits.low_alarm_on && value < limits.low_alarm;
    const bool high = limits.high_alarm_on && value > limits.high_alarm;
    if (low)
        alarms.alarm_low |= bit;
    else
        alarms.alarm_low &= ~bit;
    channel_alarm(bit, low || high);
}

} // namespace ems
