#include "sensors/ecu_data.h"

#include <cstring>

#include "alarms/alarm_words.h"
#include "sensors/channels.h"
#include "sensors/convert.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "system/tick.h"

namespace ems {

EcuState ecu;

bool ecu_substitution_active()
{
    return settings.ecu_type == ECU_ROTAX_912IS && settings.ecu_connect == ECU_CONNECT_DIRECT;
}

const EcuLaneRecord& ecu_selected_lane()
{
    return ecu.records.lane[settings.ecu_lane == 0 ? 0 : 1];
}

EcuStatusView ecu_status_view()
{
    EcuStatusView v{};
    if (ecu_substitution_active()) {
        const EcuLaneRecord& l = ecu_selected_lane();
        v.status = l.status;
        v.engine_hours = l.engine_hours;
        v.ecu_hours = l.ecu_hours;
        v.ambient_pressure = l.ambient_pressure;
        std::memcpy(v.faults, l.faults, sizeof v.faults);
        v.throttle = l.throttle;
    } else {
        const EcuRelayRecord& r = ecu.records.relay;
        v.status = r.status;
        v.engine_hours = r.engine_hours;
        v.ecu_hours = r.ecu_hours;
        v.ambient_pressure = r.ambient_pressure;
        std::memcpy(v.faults, r.faults, sizeof v.faults);
        v.throttle = r.throttle;
    }
    return v;
}

bool ecu_lane_present(uint8_t lane)
{
    if (lane > 1) return false;
    if (ecu.records.relay.lanes_present & (1u << lane)) return true;
    const uint8_t online = lane == 0 ? ecu.lane_a_online : ecu.lane_b_online;
    return ecu_substitution_active() && online != 0;
}

void ul_oil_temp_input(uint16_t v)
{
    const int16_t c = int16_t(v / 10);
    senders.aux_temp_c[0] = c;
    int16_t shown = settings.temp_unit == 1 ? c_to_f(c) : c;
    if (shown < -100) shown = -99;
    if (shown > 999) shown = 999;
    senders.aux_temp[0] = shown;
    if (tick.alarm_holdoff != 0) return;
    minmax.aux_temp_max[0] = minmax_higher(minmax.aux_temp_max[0], shown);
    const TemperatureSenderConfig& cfg = settings.temperature_cfg[0];
    alarm_on_limits(ALARM_AUX1, shown, record_limits(cfg));
}

void ul_fuel_pressure_input(uint16_t v)
{
    const PressureSenderConfig& cfg = settings.fuel_pressure_cfg;
    int32_t p = v;
    if (cfg.unit == 1)
        p = p * 1450 / 1000;
    else if (cfg.unit == 2)
        p = p * 1450 / 100;
    if (p < 0) p = 0;
    if (p > 999) p = 999;
    senders.fuel_pressure = int16_t(p);
    if (tick.alarm_holdoff != 0) return;
    minmax.fuel_pressure_max = minmax_higher(minmax.fuel_pressure_max, int16_t(p));
    alarm_on_limits(ALARM_FUEL_PRESSURE, p, record_limits(cfg));
}

void ul_ecu_temp_input(uint16_t v)
{
    ecu.ecu_temp_c = int16_t(v / 10);
    ecu.ecu_temp = settings.ecu_air_temp_unit == 1 ? c_to_f(ecu.ecu_temp_c) : ecu.ecu_temp_c;
}

} // namespace ems
