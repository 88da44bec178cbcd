#include "system/var_registry.h"

#include <cstring>
#include <type_traits>

#include "alarms/alarm_words.h"
#include "config/settings.h"
#include "gps/gps_data.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "system/clock.h"
#include "system/raw_inputs.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen.h"

namespace ems {
namespace {

template <typename T>
constexpr VarType type_of()
{
    using U = std::remove_cv_t<std::remove_all_extents_t<T>>;
    if constexpr (std::is_same_v<U, char>) return VarType::Text;
    else if constexpr (std::is_same_v<U, float>) return VarType::F32;
    else if constexpr (std::is_same_v<U, uint8_t>) return VarType::U8;
    else if constexpr (std::is_same_v<U, int8_t>) return VarType::I8;
    else if constexpr (std::is_same_v<U, uint16_t>) return VarType::U16;
    else if constexpr (std::is_same_v<U, int16_t>) return VarType::I16;
    else if constexpr (std::is_same_v<U, uint32_t>) return VarType::U32;
    else return VarType::I32;
}

template <typename T>
constexpr uint16_t count_of()
{
    if constexpr (std::is_array_v<T>) return uint16_t(sizeof(T) / sizeof(std::remove_all_extents_t<T>));
    else return 1;
}

#define VAR(name, expr) {name, &(expr), type_of<decltype(expr)>(), count_of<decltype(expr)>()}
#define SET(field) VAR("settings." #field, settings.field)

const VarInfo VARS[] = {
    // Raw inputs.
    VAR("raw_volts", raw.raw_volts), VAR("raw_current", raw.raw_current), VAR("raw_oat", raw.raw_oat),
    VAR("raw_map", raw.raw_map), VAR("rpm_period", raw.rpm_period), VAR("raw_cjc", raw.raw_cjc),
    VAR("tc_input", raw.tc_input), VAR("raw_aux", raw.raw_aux), VAR("raw_fuel_level", raw.raw_fuel_level),
    VAR("raw_fuel_pressure", raw.raw_fuel_pressure), VAR("flow_pulses", raw.flow_pulses),
    VAR("injector_duty", raw.injector_duty), VAR("rpm2", raw.rpm2), VAR("rpm2_percent", raw.rpm2_percent),
    // Time base.
    VAR("blink_ticks", tick.blink_ticks), VAR("blink_flag", tick.blink_flag), VAR("slow_ticks", tick.slow_ticks),
    VAR("alarm_holdoff", tick.alarm_holdoff), VAR("mag_check_countdown", tick.mag_check_countdown),
    VAR("quick_menu_countdown", tick.quick_menu_countdown), VAR("vexa_data_timeout", tick.vexa_data_timeout),
    VAR("ul_data_timeout", tick.ul_data_timeout), VAR("engine_rotate_ticks", tick.engine_rotate_ticks),
    VAR("pilot_timer_running", tick.pilot_timer_running), VAR("pilot_timer_up", tick.pilot_timer_up),
    VAR("pilot_timer", tick.pilot_timer), VAR("egt_scan_ticks", tick.egt_scan_ticks),
    VAR("cht_scan_ticks", tick.cht_scan_ticks), VAR("egt_scan_index", tick.egt_scan_index),
    VAR("cht_scan_index", tick.cht_scan_index),
    // Power, card, keys, screens.
    VAR("power_off_request", sys.power_off_request), VAR("sd_card_mounted", sys.sd_card_mounted),
    VAR("sd_card_present", sys.sd_card_present), VAR("KeyEvent", KeyEvent), VAR("run_page", run.run_page),
    VAR("menu_cursor", nav.menu_cursor), VAR("menu_scroll", nav.menu_scroll), VAR("edit_active", nav.edit_active),
    VAR("edit_cursor", nav.edit_cursor), VAR("edit_step", nav.edit_step),
    // Links, alarms, GPS.
    VAR("vexa_data_valid", ecu.vexa_data_valid), VAR("ul_data_valid", ecu.ul_data_valid),
    VAR("ignition_state", ecu.ignition_state), VAR("alarm_flags", alarms.alarm_flags),
    VAR("alarm_acked", alarms.alarm_acked), VAR("gps_fix_valid", gps.gps_fix_valid),
    VAR("gps_sats_in_view", gps.gps_sats_in_view), VAR("magvar_counter", gps.magvar_counter),
    VAR("flow_window", sens.flow_window),
    // Clock.
    VAR("utc_seconds", clk.utc_seconds), VAR("local_seconds", clk.local_seconds),
    VAR("clock_utc.year", clk.clock_utc.year), VAR("clock_utc.month", clk.clock_utc.month),
    VAR("clock_utc.day", clk.clock_utc.day), VAR("clock_utc.hour", clk.clock_utc.hour),
    VAR("clock_utc.minute", clk.clock_utc.minute), VAR("clock_utc.second", clk.clock_utc.second),
    VAR("clock_local.year", clk.clock_local.year), VAR("clock_local.month", clk.clock_local.month),
    VAR("clock_local.day", clk.clock_local.day), VAR("clock_local.hour", clk.clock_local.hour),
    VAR("clock_local.minute", clk.clock_local.minute), VAR("clock_local.second", clk.clock_local.second),
    // Derived settings values and calibration.
    VAR("rpm1_scale", derived.rpm1_scale), VAR("fuel_config", derived.fuel_config),
    VAR("serial_number", calibration.serial_number),
    // Settings fields the host and the pass read.
    SET(oat_display), SET(current_display), SET(channel_mode), SET(rpm1_display), SET(rpm2_display),
    SET(map_display), SET(rpm2_full_scale), SET(rpm1_pulses), SET(ecu_type), SET(registration),
    SET(fuel_pressure_display), SET(egt_channels), SET(cht_channels), SET(egt_scanning), SET(cht_scanning),
    SET(egt_scan_time), SET(cht_scan_time), SET(utc_offset), SET(temp_unit), SET(rpm1_label), SET(rpm2_label),
    // Sensor outputs (channels, thermocouples, ECU, min/max)
    // Sender and fuel outputs
    // GPS record
};

} // namespace

const VarInfo* find_var(const char* name)
{
    for (const VarInfo& v : VARS)
        if (std::strcmp(v.name, name) == 0) return &v;
    return nullptr;
}

const VarInfo* all_vars(size_t& n)
{
    n = sizeof VARS / sizeof VARS[0];
    return VARS;
}

int64_t var_int(const VarInfo& v, size_t i)
{
    if (i >= v.count) return 0;
    switch (v.type) {
    case VarType::U8: return static_cast<const uint8_t*>(v.ptr)[i];
    case VarType::I8: return static_cast<const int8_t*>(v.ptr)[i];
    case VarType::U16: { uint16_t x; std::memcpy(&x, static_cast<const uint8_t*>(v.ptr) + 2 * i, 2); return x; }
    case VarType::I16: { int16_t x; std::memcpy(&x, static_cast<const uint8_t*>(v.ptr) + 2 * i, 2); return x; }
    case VarType::U32: { uint32_t x; std::memcpy(&x, static_cast<const uint8_t*>(v.ptr) + 4 * i, 4); return x; }
    case VarType::I32: { int32_t x; std::memcpy(&x, static_cast<const uint8_t*>(v.ptr) + 4 * i, 4); return x; }
    case VarType::F32: return int64_t(var_double(v, i));
    case VarType::Text: return 0;
    }
    return 0;
}

double var_double(const VarInfo& v, size_t i)
{
    if (v.type == VarType::F32) {
        if (i >= v.count) return 0;
        float f;
        std::memcpy(&f, static_cast<const uint8_t*>(v.ptr) + 4 * i, 4);
        return f;
    }
    return double(var_int(v, i));
}

} // namespace ems
