// The simple channels: volts, OAT, RPM 1, manifold pressure, main current.
#include "sensors/channels.h"

#include "alarms/alarm_words.h"
#include "sensors/convert.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/minmax.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace ems {

SensorState sens;

namespace {

constexpr uint32_t RPM_STOPPED_PERIOD = 30000; // longer periods read as a stopped engine
constexpr int32_t RPM_MAX = 99999;
constexpr int32_t RPM_RESOLUTION[5] = {1, 5, 10, 50, 100}; // by rpm1_increment
constexpr int32_t MAP_FLOOR = 164;                         // sums at or below read 0 hPa

bool holdoff() { return tick.alarm_holdoff != 0; }

// Manifold pressure of a filtered sensor sum.
int32_t map_hpa_of_sum(uint32_t e) { return int32_t(e * 100 / 167); }

} // namespace

uint16_t volts_x10_of(uint32_t average)
{
    // 64-bit product: with the highest calibration factor (150 %) a 32-bit
    // product wraps above about 43 V and would read near 0 V.
    const uint64_t scaled = uint64_t(average) * 8862 * calibration.volts_cal_percent / 1000000;
    return uint16_t(round_tenths(int32_t(scaled)));
}

int16_t oat_c_of(uint16_t raw_oat)
{
    return int16_t(int32_t(raw_oat) * 1612 / 10000 - 273 + calibration.oat_cal_offset);
}

int16_t map_hpa_of(uint16_t raw_map)
{
    const int32_t s = int32_t(raw_map) + calibration.map_cal_offset;
    return s > MAP_FLOOR ? int16_t(map_hpa_of_sum(uint32_t(s) + 175)) : 0;
}

int16_t map_disp_of_hpa(int16_t hpa)
{
    return settings.map_unit == 1 ? int16_t(uint64_t(uint16_t(hpa)) * 100000 / 338639) : hpa;
}

uint32_t rpm_of_period(uint16_t period)
{
    // A period of 0 (no capture yet) reads as stopped rather than dividing by zero.
    if (period == 0 || period > RPM_STOPPED_PERIOD) return 0;
    return uint32_t(derived.rpm1_scale) / period;
}

void sensors_start()
{
    sens.flow_window = FLOW_WINDOW_TICKS;
    sens.minmax_seed_due = 1;
    fuel_start();
}

void minmax_seed_after_holdoff()
{
    if (sens.minmax_seed_due == 0 || holdoff()) return;
    sens.minmax_seed_due = 0;
    minmax_reset();
}

void process_volts()
{
    if (ecu_substitution_active()) {
        const float volts = ecu_selected_lane().battery_voltage;
        const float x10 = volts * 10.0f;
        sens.volts_x10 = uint16_t(float_to_i32(x10));
    } else {
        sens.volts_acc = (uint32_t(raw.raw_volts) * 4 + sens.volts_acc * 3) >> 2;
        sens.volts_x10 = volts_x10_of(sens.volts_acc / 4);
    }
    if (holdoff()) return;
    const uint16_t v = sens.volts_x10;
    minmax.volts_min = minmax_lower(minmax.volts_min, v);
    minmax.volts_max = minmax_higher(minmax.volts_max, v);
    // Volts compare unsigned: the limits are taken as 16-bit unsigned.
    alarm_on_limits(ALARM_VOLTS, v,
                    {.low_alarm = uint16_t(settings.volts_low_alarm),
                     .high_alarm = uint16_t(settings.volts_high_alarm),
                     .low_alarm_on = settings.volts_low_alarm_on != 0,
                     .high_alarm_on = settings.volts_high_alarm_on != 0});
}

void process_oat()
{
    sens.oat_c = oat_c_of(raw.raw_oat);
    sens.oat_disp = settings.oat_unit == 1 ? c_to_f(sens.oat_c) : sens.oat_c;
    if (holdoff()) return;
    const int16_t v = sens.oat_disp;
    minmax.oat_min = minmax_lower(minmax.oat_min, v);
    minmax.oat_max = minmax_higher(minmax.oat_max, v);
    alarm_on_limits(ALARM_OAT, v,
                    {.low_alarm = settings.oat_low_alarm,
                     .high_alarm = settings.oat_high_alarm,
                     .low_alarm_on = settings.oat_low_alarm_on != 0,
                     .high_alarm_on = settings.oat_high_alarm_on != 0});
}

void process_rpm()
{
    uint32_t speed = 0;
    if (ecu_substitution_active()) {
        speed = ecu_selected_lane().engine_speed;
    } else {
        speed = rpm_of_period(raw.rpm_period);
    }
    if (speed > uint32_t(RPM_MAX)) speed = RPM_MAX;
    sens.rpm_unrounded = int32_t(speed);

    const uint8_t inc = settings.rpm1_increment;
    const int32_t r = inc < 5 ? RPM_RESOLUTION[inc] : 1;
    sens.rpm = r * ((r / 2 + sens.rpm_unrounded) / r);
    const uint32_t full_scale = settings.rpm1_full_scale;
    sens.rpm_percent = full_scale != 0 ? int32_t(int64_t(sens.rpm) * 100 / full_scale) : 0;

    if (holdoff()) return;
    minmax.rpm1_max = minmax_higher(minmax.rpm1_max, rpm1_kept_reading());
    minmax.rpm2_max = minmax_higher(minmax.rpm2_max, rpm2_kept_reading());
    // No RPM alarm while RPM 1 is not shown (rpm1_display "OFF").
    const bool shown = settings.rpm1_display != 2;
    alarm_on_limits(ALARM_RPM1, sens.rpm,
                    {.low_alarm = settings.rpm1_low_alarm,
                     .high_alarm = settings.rpm1_high_alarm,
                     .low_alarm_on = shown && settings.rpm1_low_alarm_on,
                     .high_alarm_on = shown && settings.rpm1_high_alarm_on});
}

void process_map()
{
    int32_t hpa = 0;
    if (ecu_substitution_active()) {
        hpa = ecu_selected_lane().manifold_pressure;
        if (hpa > INT16_MAX) hpa = INT16_MAX;
    } else {
        const int32_t s = int32_t(raw.raw_map) + calibration.map_cal_offset;
        if (s > MAP_FLOOR) {
            uint32_t e = uint32_t(s) + 175;
            switch (settings.map_filter) {
            case 1: // FAST
                sens.map_acc = (e * 2 + sens.map_acc) >> 1;
                e = sens.map_acc >> 1;
                break;
            case 2: // SLOW
                sens.map_acc = (sens.map_acc * 3 + e * 4) >> 2;
                e = sens.map_acc >> 2;
                break;
            default: // NONE
                break;
            }
            hpa = map_hpa_of_sum(e);
        }
    }
    sens.map_hpa = int16_t(hpa);
    sens.map_disp = map_disp_of_hpa(sens.map_hpa);
    if (holdoff()) return;
    const int16_t v = sens.map_disp;
    minmax.map_min = minmax_lower(minmax.map_min, v);
    minmax.map_max = minmax_higher(minmax.map_max, v);
    alarm_on_limits(ALARM_MAP, v,
                    {.low_alarm = settings.map_low_alarm,
                     .high_alarm = settings.map_high_alarm,
                     .low_alarm_on = settings.map_low_alarm_on != 0,
                     .high_alarm_on = settings.map_high_alarm_on != 0});
}

void process_current()
{
    const CurrentSensorConfig& cfg = settings.main_current_cfg;
    const int32_t offset = (int32_t(raw.raw_current) * 16 - int32_t(calibration.main_current_zero)) / 16;
    sens.current_x10 = int16_t(offset * cfg.gain / 1000);
    sens.current_a = int16_t(sens.current_x10 / 10);
    if (holdoff()) return;
    const int16_t a = sens.current_a;
    alarm_on_limits(ALARM_CURRENT, a, record_limits(cfg));
    minmax.current_min = minmax_lower(minmax.current_min, a);
    minmax.current_max = minmax_higher(minmax.current_max, a);
}

} // namespace ems
