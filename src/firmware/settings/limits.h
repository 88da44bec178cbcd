// The caution and alarm limits of one measured value, gathered from its
// settings record so that the gauges (and anything else that judges the value)
// read one shape instead of four loose numbers and two flags.
#pragma once
#include <cstdint>

namespace ems {

// Limits in the value's own stored units. The gauges colour their bands and
// highlights from all four levels whatever the flags say; the flags switch
// the alarm bits. A value below low_alarm or above high_alarm is in alarm.
struct Limits {
    int64_t low_alarm = 0;
    int64_t low_caution = 0;
    int64_t high_caution = 0;
    int64_t high_alarm = 0;
    bool low_alarm_on = false;
    bool high_alarm_on = false;
};

// Limits of a sender, current or generic record (they share the field names).
template <class Record>
constexpr Limits record_limits(const Record& r)
{
    return {.low_alarm = r.low_alarm,
            .low_caution = r.low_caution,
            .high_caution = r.high_caution,
            .high_alarm = r.high_alarm,
            .low_alarm_on = r.low_alarm_on != 0,
            .high_alarm_on = r.high_alarm_on != 0};
}

} // namespace ems
