#include "sensors/minmax.h"

#include "gps/gps_data.h"
#include "sensors/channels.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"

namespace ems {

// Aligned so that the 16-bit fields sit at even addresses.
alignas(4) MinMaxValues minmax;

namespace {

template <typename T>
T keep_if(bool replace, T kept, T value)
{
    if (!replace || kept == value) return kept;
    minmax_changed();
    return value;
}

} // namespace

int16_t minmax_higher(int16_t kept, int16_t value) { return keep_if(value > kept, kept, value); }
int16_t minmax_lower(int16_t kept, int16_t value) { return keep_if(value < kept, kept, value); }
uint16_t minmax_higher(uint16_t kept, uint16_t value) { return keep_if(value > kept, kept, value); }
uint16_t minmax_lower(uint16_t kept, uint16_t value) { return keep_if(value < kept, kept, value); }
int32_t minmax_higher(int32_t kept, int32_t value) { return keep_if(value > kept, kept, value); }

int32_t rpm1_kept_reading() { return settings.rpm1_display != 0 ? sens.rpm_percent : sens.rpm; }
int32_t rpm2_kept_reading() { return settings.rpm2_display != 0 ? raw.rpm2_percent : raw.rpm2; }

void minmax_reset()
{
    MinMaxValues m{};
    m.volts_min = m.volts_max = sens.volts_x10;
    m.oat_min = m.oat_max = sens.oat_disp;
    m.map_min = m.map_max = sens.map_disp;
    m.gps_speed_max = gps.gps_speed;
    m.rpm1_max = rpm1_kept_reading();
    m.rpm2_max = rpm2_kept_reading();
    for (int i = 0; i < TC_CHANNELS; ++i) m.tc_max[i] = thermo.tc_value[i];
    for (int i = 0; i < 4; ++i) {
        m.aux_pressure_max[i] = senders.aux_pressure[i];
        m.aux_temp_max[i] = senders.aux_temp[i];
        m.aux_current_min[i] = m.aux_current_max[i] = senders.aux_current[i];
        m.aux_generic_max[i] = senders.aux_generic[i];
    }
    m.fuel_pressure_max = senders.fuel_pressure;
    m.current_min = m.current_max = sens.current_a;
    minmax = m;
    minmax_changed();
}

} // namespace ems
