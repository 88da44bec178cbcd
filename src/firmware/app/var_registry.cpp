#include "app/screen_names.h"
#include "app/var_registry.h"
#include "app/var_registry_table.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "alarms/alarm_words.h"
#include "app/tick.h"
#include "gps/gps_data.h"
#include "gps/sun.h"
#include "ops/documents.h"
#include "ops/flight_log.h"
#include "ops/pilot_pages.h"
#include "ops/quick_menus.h"
#include "ops/unit_info.h"
#include "pages/gauges.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/hobbs.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "setup/calibration.h"
#include "setup/timers_setup.h"
#include "system/clock.h"
#include "system/raw_inputs.h"
#include "system/system_state.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace ems {
namespace {

// Where the instrument is, by function name, copied in before each lookup.
constexpr size_t NAME_BYTES = 32;
char screen_text[NAME_BYTES];
char popup_text[NAME_BYTES];
char export_problem_text[NAME_BYTES];
char run_notice_text[2 * NAME_BYTES]; // the run notice's two lines, "INSERT SD CARD"; "" when none

void copy_name(char (&out)[NAME_BYTES], const char* name)
{
    std::strncpy(out, name, NAME_BYTES - 1);
    out[NAME_BYTES - 1] = 0;
}

void refresh_screen_names()
{
    copy_name(screen_text, active_screen_name());
    copy_name(popup_text, open_popup_name());
    copy_name(export_problem_text, flight_log_export_problem());
    run_notice_text[0] = 0;
    if (run_notice.first)
        std::snprintf(run_notice_text, sizeof run_notice_text, "%s %s", run_notice.first, run_notice.second);
}

#define HOBBS_VAR(name, field, type)                                                            \
    {name, reinterpret_cast<uint8_t*>(&fuel_hobbs.hobbs) + offsetof(HobbsMaintenance, field), VarType::type, 1}

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
    VAR("volts_cal_percent", calibration.volts_cal_percent), VAR("oat_cal_offset", calibration.oat_cal_offset),
    VAR("map_cal_offset", calibration.map_cal_offset), VAR("serial_number", calibration.serial_number),
    VAR("current_zero", calibration.current_zero), VAR("main_current_zero", calibration.main_current_zero),
    VAR("cal_kind", cal_screens.cal_kind), VAR("tank_cal_manual", cal_screens.tank_cal_manual),
    VAR("cal_tank", cal_screens.cal_tank),
    // Sensor outputs (channels, thermocouples, ECU, min/max)
    VAR("volts_x10", sens.volts_x10), VAR("oat_c", sens.oat_c), VAR("oat_disp", sens.oat_disp),
    VAR("rpm", sens.rpm), VAR("rpm_unrounded", sens.rpm_unrounded), VAR("rpm_percent", sens.rpm_percent),
    VAR("map_hpa", sens.map_hpa), VAR("map_disp", sens.map_disp), VAR("current_x10", sens.current_x10),
    VAR("current_a", sens.current_a), VAR("volts_acc", sens.volts_acc), VAR("map_acc", sens.map_acc),
    VAR("cjc_c", thermo.cjc_c), VAR("tc_value_c", thermo.tc_value_c), VAR("tc_value", thermo.tc_value),
    VAR("tc_history", thermo.tc_history), VAR("tc_history_phase", thermo.tc_history_phase),
    VAR("tc_peak", thermo.tc_peak), VAR("tc_delta", thermo.tc_delta), VAR("tc_peak_order", thermo.tc_peak_order),
    VAR("lean_order_next", thermo.lean_order_next), VAR("lean_mode", thermo.lean_mode),
    VAR("cruise_mode", thermo.cruise_mode), VAR("ecu_temp_c", ecu.ecu_temp_c), VAR("ecu_temp", ecu.ecu_temp),
    VAR("rotax_data_valid", ecu.rotax_data_valid), VAR("lane_a_online", ecu.lane_a_online), VAR("lane_b_online", ecu.lane_b_online),
    VAR("ecu.relay.lanes_present", ecu.records.relay.lanes_present), VAR("ecu.relay.status", ecu.records.relay.status),
    VAR("ecu.lane_a.engine_speed", ecu.records.lane[0].engine_speed),
    VAR("ecu.lane_b.engine_speed", ecu.records.lane[1].engine_speed),
    VAR("ecu.lane_a.manifold_pressure", ecu.records.lane[0].manifold_pressure),
    VAR("ecu.lane_b.manifold_pressure", ecu.records.lane[1].manifold_pressure),
    VAR("ecu.lane_a.battery_voltage", ecu.records.lane[0].battery_voltage),
    VAR("ecu.lane_b.battery_voltage", ecu.records.lane[1].battery_voltage),
    VAR("ecu.lane_a.egt_cht", ecu.records.lane[0].egt_cht), VAR("ecu.lane_b.egt_cht", ecu.records.lane[1].egt_cht),
    VAR("ecu.lane_a.status", ecu.records.lane[0].status), VAR("ecu.lane_b.status", ecu.records.lane[1].status),
    VAR("minmax.volts_min", minmax.volts_min), VAR("minmax.volts_max", minmax.volts_max),
    VAR("minmax.oat_min", minmax.oat_min), VAR("minmax.oat_max", minmax.oat_max),
    VAR("minmax.map_min", minmax.map_min), VAR("minmax.map_max", minmax.map_max),
    VAR("minmax.gps_speed_max", minmax.gps_speed_max), VAR("minmax.rpm1_max", minmax.rpm1_max),
    VAR("minmax.rpm2_max", minmax.rpm2_max), VAR("minmax.tc_max", minmax.tc_max),
    VAR("minmax.aux_pressure_max", minmax.aux_pressure_max), VAR("minmax.aux_temp_max", minmax.aux_temp_max),
    VAR("minmax.aux_current_min", minmax.aux_current_min), VAR("minmax.aux_current_max", minmax.aux_current_max),
    VAR("minmax.fuel_pressure_max", minmax.fuel_pressure_max), VAR("minmax.current_min", minmax.current_min),
    VAR("minmax.current_max", minmax.current_max), VAR("minmax.aux_generic_max", minmax.aux_generic_max),
    // Sender and fuel outputs
    VAR("aux_pressure", senders.aux_pressure), VAR("aux_temp_c", senders.aux_temp_c),
    VAR("aux_temp", senders.aux_temp), VAR("aux_current_x10", senders.aux_current_x10),
    VAR("aux_current", senders.aux_current), VAR("aux_generic", senders.aux_generic),
    VAR("fuel_pressure", senders.fuel_pressure), VAR("fuel_flow_l", fuel.fuel_flow_l),
    VAR("fuel_flow", fuel.fuel_flow), VAR("tank_level", fuel.tank_level), VAR("tank_open", fuel.tank_open),
    VAR("fuel_used", fuel.fuel_used), VAR("fuel_range", fuel.fuel_range),
    VAR("fuel_time_left", fuel.fuel_time_left), VAR("tank_filter_acc", fuel.tank_filter_acc),
    VAR("fuel_used1", fuel_hobbs.fuel.fuel_used1), VAR("fuel_used2", fuel_hobbs.fuel.fuel_used2),
    VAR("tank1_contents", fuel_hobbs.fuel.tank1_contents), VAR("tank2_contents", fuel_hobbs.fuel.tank2_contents),
    // The hobbs record is packed: its 16-bit fields are reached by offset.
    HOBBS_VAR("hobbs_minutes", hobbs_minutes, U8), HOBBS_VAR("hobbs_hours", hobbs_hours, U16),
    HOBBS_VAR("maint_minutes", maint_minutes, U8), HOBBS_VAR("maint_hours", maint_hours, U16),
    VAR("hobbs_run_seconds", hobbs_count.run_seconds), VAR("timers.digit_entry", timers.digit_entry),
    VAR("code_scratch", timers.code_scratch),
    {"nmea_active", &nmea.nmea_active, VarType::AtomicU8, 1},
    {"gps_data_timeout", &nmea.gps_data_timeout, VarType::AtomicU8, 1},
    // GPS record (gps_fix_valid, gps_sats_in_view and magvar_counter are listed above; the
    // atomic nmea_active and gps_data_timeout are not listed)
    VAR("gps_latitude", gps.gps_latitude), VAR("gps_longitude", gps.gps_longitude),
    VAR("gps_speed_mph", gps.gps_speed_mph), VAR("gps_speed", gps.gps_speed),
    VAR("gps_speed_dist", gps.gps_speed_dist), VAR("gps_course", gps.gps_course),
    VAR("gps_course_mag", gps.gps_course_mag), VAR("gps_sats_used", gps.gps_sats_used),
    VAR("gps_altitude_m", gps.gps_altitude_m), VAR("gps_altitude_ft", gps.gps_altitude_ft),
    VAR("gps_fix_type", gps.gps_fix_type), VAR("gps_prn_used", gps.gps_prn_used),
    VAR("gps_pdop", gps.gps_pdop), VAR("gps_hdop", gps.gps_hdop), VAR("gps_vdop", gps.gps_vdop),
    VAR("mag_variation", magsun.mag_variation), VAR("sun_event_hours", magsun.sun_event_hours),
#define GPS_SAT(i)                                                                                  \
    VAR("gps_sats[" #i "].prn", gps.gps_sats[i].prn),                                               \
        VAR("gps_sats[" #i "].elevation", gps.gps_sats[i].elevation),                               \
        VAR("gps_sats[" #i "].azimuth", gps.gps_sats[i].azimuth), VAR("gps_sats[" #i "].snr", gps.gps_sats[i].snr)
    GPS_SAT(0),
    GPS_SAT(1),
    GPS_SAT(2),
    GPS_SAT(3),
    GPS_SAT(4),
    GPS_SAT(5),
    GPS_SAT(6),
    GPS_SAT(7),
    GPS_SAT(8),
    GPS_SAT(9),
    GPS_SAT(10),
    GPS_SAT(11),
    GPS_SAT(12),
    GPS_SAT(13),
    GPS_SAT(14),
    GPS_SAT(15),
#undef GPS_SAT
    // Gauges and pages
    VAR("mag_check_rpm1", gauges.mag_check_rpm1), VAR("mag_check_rpm2", gauges.mag_check_rpm2),
    VAR("doc_shown", docs.doc_shown), VAR("checklist_line_count", docs.checklist_line_count),
    VAR("checklist_cursor", docs.checklist_cursor),
    // Run screen
    VAR("egt_cht_view", run.egt_cht_view), VAR("fault_page", run.fault_page),
    VAR("fault_page_count", run.fault_page_count), VAR("quick_menu_count", quick.quick_menu_count),
    VAR("flight_in_progress", flight.flight_in_progress), VAR("flight_time", flight.flight_time),
    VAR("flight_log_count", flight.log_count), VAR("log_view_pos", flight.log_view_pos),
    VAR("flight_detect_hold", flight.detect_hold), VAR("flight_detect_fail", flight.detect_fail),
    {"flight_export_problem", export_problem_text, VarType::Text, NAME_BYTES},
    {"run_notice", run_notice_text, VarType::Text, sizeof run_notice_text},
    // Screens, pop-ups and pilot pages
    {"screen", screen_text, VarType::Text, NAME_BYTES}, {"popup", popup_text, VarType::Text, NAME_BYTES},
    VAR("second_ticks", tick.second_ticks), VAR("pilot_timer_preset", pilot.pilot_timer_preset),
    VAR("digit_entry", pilot.digit_entry), VAR("refill_level", pilot.refill_level),
    VAR("doc_kind_list", docs.doc_kind_list), VAR("doc_count", docs.doc_count),
    VAR("doc_dir_entries", docs.doc_dir_entries), VAR("doc_pos", docs.doc_pos),
    VAR("doc_path", docs.doc_path), VAR("serial_digits", unit_info.serial_digits),
    VAR("sensor_page", unit_info.sensor_page),
};

} // namespace

const VarInfo* find_var(const char* name)
{
    refresh_screen_names();
    for (const VarInfo& v : VARS)
        if (std::strcmp(v.name, name) == 0) return &v;
    return find_settings_var(name);
}

size_t var_count() { return sizeof VARS / sizeof VARS[0] + settings_var_count(); }

const VarInfo& var_at(size_t i)
{
    refresh_screen_names();
    constexpr size_t own = sizeof VARS / sizeof VARS[0];
    return i < own ? VARS[i] : settings_var_at(i - own);
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
    case VarType::AtomicU8: return static_cast<const std::atomic<uint8_t>*>(v.ptr)[i].load(std::memory_order_relaxed);
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
