#include "sensors/hobbs.h"

#include "sensors/channels.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "system/system_state.h"

namespace ems {

HobbsCounting hobbs_count;

bool hobbs_running()
{
    const int64_t min_rpm = settings.hobbs_min_rpm;
    const bool main_loop = sys.phase == PowerPhase::Running;
    switch (settings.hobbs_start) {
    case 0: return sys.phase != PowerPhase::Off;
    case 1: return main_loop && sens.rpm_unrounded >= min_rpm;
    case 2: return main_loop && raw.rpm2 >= min_rpm;
    default: return false;
    }
}

void hobbs_second()
{
    if (!hobbs_running()) return;
    if (++hobbs_count.run_seconds < 60) return;
    hobbs_count.run_seconds = 0;
    hobbs_count_minute();
}

void hobbs_count_minute()
{
    HobbsMaintenance& h = fuel_hobbs.hobbs;
    if (h.hobbs_minutes >= 59) {
        if (h.hobbs_hours < HOBBS_HOURS_MAX) {
            h.hobbs_hours = uint16_t(h.hobbs_hours + 1);
            h.hobbs_minutes = 0;
        } else {
            h.hobbs_minutes = 59;
        }
    } else {
        ++h.hobbs_minutes;
    }
    if (h.maint_minutes > 59) h.maint_minutes = 59;
    if (h.maint_minutes > 0) {
        --h.maint_minutes;
    } else if (h.maint_hours > 0) {
        h.maint_hours = uint16_t(h.maint_hours - 1);
        h.maint_minutes = 59;
    }
    hobbs_changed();
}

uint8_t hobbs_tenths(uint8_t minutes) { return uint8_t((minutes > 59 ? 59 : minutes) / 6); }

uint8_t hobbs_minutes_of_tenths(uint8_t tenths) { return uint8_t((tenths > 9 ? 9 : tenths) * 6); }

} // namespace ems
