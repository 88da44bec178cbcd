// The two alarm words: one bit per alarm.
#pragma once
#include <cstdint>

namespace ems {

struct AlarmState {
    uint32_t alarm_flags = 0; // bit set while the alarm condition holds
    uint32_t alarm_acked = 0; // bit set once the pilot acknowledged that alarm
    uint32_t alarm_shown = 0; // bit whose box the last run-screen frame showed, 0 for none
};
extern AlarmState alarms;

// Alarm bits raised by the UL Power ECU's sensor-fault inputs.
constexpr uint32_t ALARM_UL_AIR_TEMP_SENSOR = 0x4000;
constexpr uint32_t ALARM_UL_THROTTLE_POS_SENSOR = 0x8000;
constexpr uint32_t ALARM_UL_MAP_SENSOR = 0x10000;
constexpr uint32_t ALARM_UL_OIL_TEMP_SENSOR = 0x20000;
constexpr uint32_t ALARM_UL_POS_SYNC_SENSOR = 0x40000;
constexpr uint32_t ALARM_CURRENT = 0x20;
constexpr uint32_t ALARM_FUEL_PRESSURE = 0x100;
constexpr uint32_t ALARM_AUX1 = 0x400; // shifted left by the channel number for inputs 2..4

// Clears an alarm in both words, so the next violation alarms again.
inline void alarm_clear(uint32_t bits)
{
    alarms.alarm_flags &= ~bits;
    alarms.alarm_acked &= ~bits;
}

} // namespace ems
