// The engine setup pages: RPM 1, RPM 2, EGT, CHT and MAP. The two RPM pages
// and the two thermocouple pages are one description each, written out per
// input by a macro.
#include <cstdio>

#include "sensors/channels.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "settings/settings_schema.h"
#include "settings/unit_switch.h"
#include "setup/setup_common.h"
#include "setup/setup_pages.h"
#include "system/hooks.h"
#include "ui/navigation.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

namespace {

constexpr uint8_t RPM_PERCENT = 1;
constexpr uint8_t RPM_OFF = 2;
constexpr uint8_t TC_SCANNING = 1;
constexpr uint8_t PROBE_NTC = 3;
constexpr uint8_t NTC_CHT_CHANNELS = 2; // the NTC probes sit on analog inputs 3 and 4
constexpr uint8_t THERMOCOUPLE_INPUTS = 12;
constexpr uint8_t MAP_MB = 0;

// ---- RPM ------------------------------------------------------------------------------

// RPM 1 can be switched OFF only while RPM 2 is OFF: from RPM a turn back
// goes to PERCENT, from PERCENT a turn on goes to RPM.
void rpm1_display_set(int32_t v)
{
    if (v == RPM_OFF && settings.rpm2_display != RPM_OFF)
        v = settings.rpm1_display == RPM_PERCENT ? 0 : RPM_PERCENT;
    settings.rpm1_display = uint8_t(v);
}
void rpm2_display_set(int32_t v) { settings.rpm2_display = uint8_t(v); }

void pulses_text(char* out, size_t size, int32_t v) { decimal_value_text(out, size, v, 2); }

#define RPM_NUMBER(text, n, name, shown_fn)                                                       \
    {.label = text, .kind = RowKind::Number, SETUP_FIELD(settings.rpm##n##_##name),               \
     SETUP_RANGE(unit_fields::rpm##n##_##name), .shown = shown_fn}
#define RPM_FLAG(text, n, name)                                                                   \
    {.label = text, .kind = RowKind::Flag, SETUP_FIELD(settings.rpm##n##_##name), .shown = rpm##n##_on}

#define RPM_ROWS(n)                                                                               \
    {.label = "RPM DISPLAY: ", .kind = RowKind::Option,                                           \
     .get = [] { return int32_t(settings.rpm##n##_display); }, .set = rpm##n##_display_set,       \
     SETUP_OPTIONS(unit_fields::rpm##n##_display)},                                               \
    RPM_NUMBER("RPM 100% DISPLAY: ", n, full_scale,                                               \
               [] { return settings.rpm##n##_display == RPM_PERCENT; }),                          \
    RPM_NUMBER("DISPLAY MAX: ", n, display_max, rpm##n##_on),                                     \
    RPM_NUMBER("DISPLAY MIN: ", n, display_min, rpm##n##_on),                                     \
    RPM_FLAG("HIGH ALARM: ", n, high_alarm_on),                                                   \
    RPM_NUMBER("HIGH ALARM: ", n, high_alarm, rpm##n##_on),                                       \
    RPM_NUMBER("HIGH CAUTION: ", n, high_caution, rpm##n##_on),                                   \
    RPM_NUMBER("LOW CAUTION: ", n, low_caution, rpm##n##_on),                                     \
    RPM_FLAG("LOW ALARM: ", n, low_alarm_on),                                                     \
    RPM_NUMBER("LOW ALARM: ", n, low_alarm, rpm##n##_on),                                         \
    RPM_NUMBER("AVOID HIGH: ", n, avoid_high, rpm##n##_on),                                       \
    RPM_NUMBER("AVOID LOW: ", n, avoid_low, rpm##n##_on),                                         \
    RPM_FLAG("AVOID ZONE: ", n, avoid_zone),                                                      \
    {.label = "PULSES/REV: ", .kind = RowKind::Number, SETUP_FIELD(settings.rpm##n##_pulses),     \
     SETUP_RANGE(unit_fields::rpm##n##_pulses), .decimals = 2, .format = pulses_text,             \
     .shown = [] { return rpm##n##_on() && !ecu_rotax_direct(); }},                               \
    {.label = "INCREMENT: ", .kind = RowKind::Option, SETUP_FIELD(settings.rpm##n##_increment),   \
     SETUP_OPTIONS(unit_fields::rpm##n##_increment), .shown = rpm##n##_on},                       \
    {.label = "LABEL: ", .kind = RowKind::Text, .text = [] { return settings.rpm##n##_label; },   \
     .text_length = 6, .shown = rpm##n##_on}

bool rpm1_on() { return settings.rpm1_display != RPM_OFF; }
bool rpm2_on() { return settings.rpm2_display != RPM_OFF; }

const SetupRow RPM1_ROWS[] = {RPM_ROWS(1)};
const SetupRow RPM2_ROWS[] = {
    RPM_ROWS(2),
    {.label = "STYLE: ", .kind = RowKind::Option, SETUP_FIELD(settings.rpm2_style),
     SETUP_OPTIONS(unit_fields::rpm2_style), .shown = rpm2_on},
    {.label = "POSITION: ", .kind = RowKind::Option, SETUP_FIELD(settings.rpm2_position),
     SETUP_OPTIONS(unit_fields::rpm2_position), .shown = rpm2_on},
};

#undef RPM_ROWS
#undef RPM_FLAG
#undef RPM_NUMBER

// Both RPM pages leave with the RPM 1 scale brought up to date.
const SetupPage RPM1_PAGE = {.section = "EMS SETUP", .name = "RPM 1 SETUP", .rows = RPM1_ROWS,
                             .row_count = uint8_t(std::size(RPM1_ROWS)), .largest_step = 1000,
                             .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                             .parent_item = TILE_RPM1, .on_leave = rpm1_scale_update};
const SetupPage RPM2_PAGE = {.section = "EMS SETUP", .name = "RPM 2 SETUP", .rows = RPM2_ROWS,
                             .row_count = uint8_t(std::size(RPM2_ROWS)), .largest_step = 1000,
                             .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                             .parent_item = TILE_RPM2, .on_leave = rpm1_scale_update};

// ---- EGT and CHT ------------------------------------------------------------------

// EGT and CHT channels share the twelve thermocouple inputs: raising one
// lowers the other.
void egt_channels_set(int32_t v)
{
    settings.egt_channels = uint8_t(v);
    if (settings.egt_channels + settings.cht_channels > THERMOCOUPLE_INPUTS)
        settings.cht_channels = uint8_t(THERMOCOUPLE_INPUTS - settings.egt_channels);
}
RowRange cht_channels_range()
{
    const int32_t free_inputs = THERMOCOUPLE_INPUTS - settings.egt_channels;
    const int32_t most = settings.cht_probe == PROBE_NTC ? NTC_CHT_CHANNELS : free_inputs;
    return {0, most < 0 ? 0 : most > free_inputs ? free_inputs : most};
}
void cht_channels_set(int32_t v) { settings.cht_channels = uint8_t(v); }
// The NTC probes are read on two analog inputs: more CHT channels would read
// the same input twice.
void cht_probe_set(int32_t v)
{
    settings.cht_probe = uint8_t(v);
    if (v == PROBE_NTC && settings.cht_channels > NTC_CHT_CHANNELS) settings.cht_channels = NTC_CHT_CHANNELS;
}
void egt_probe_set(int32_t v) { settings.egt_probe = uint8_t(v); }

void tc_text(char* out, size_t size, int32_t v)
{
    char unit[4];
    temp_unit_text(unit, sizeof unit);
    value_with_unit(out, size, v, 0, unit);
}

#define TC_NUMBER(text, tc, name)                                                                 \
    {.label = text, .kind = RowKind::Number, SETUP_FIELD(settings.tc##_##name),                   \
     .range = [] { return unit_range(unit_fields::tc##_##name, settings.temp_unit); },            \
     .format = tc_text, .shown = tc##_on}

#define TC_ROWS(tc, CAPS)                                                                         \
    {.label = CAPS " CHANNELS: ", .kind = RowKind::Number,                                        \
     .get = [] { return int32_t(settings.tc##_channels); }, .set = tc##_channels_set,             \
     .range = tc##_channels_range},                                                               \
    {.label = "TEMPERATURE UNIT: ", .kind = RowKind::Option,                                      \
     .get = [] { return int32_t(settings.temp_unit); },                                           \
     .set = [](int32_t v) { temp_unit_switch(uint8_t(v)); }, SETUP_OPTIONS(unit_fields::temp_unit), \
     .shown = tc##_on},                                                                           \
    TC_NUMBER("DISPLAY MAX: ", tc, display_max),                                                  \
    TC_NUMBER("DISPLAY MIN: ", tc, display_min),                                                  \
    {.label = "HIGH ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.tc##_high_alarm_on),    \
     .shown = tc##_on},                                                                           \
    TC_NUMBER("HIGH ALARM: ", tc, high_alarm),                                                    \
    TC_NUMBER("HIGH CAUTION: ", tc, high_caution),                                                \
    {.label = "PROBE: ", .kind = RowKind::Option, .get = [] { return int32_t(settings.tc##_probe); }, \
     .set = tc##_probe_set, SETUP_OPTIONS(unit_fields::tc##_probe),                               \
     .shown = [] { return tc##_on() && !ecu_rotax_direct(); }},                                   \
    {.label = "MODE: ", .kind = RowKind::Option, SETUP_FIELD(settings.tc##_scanning),             \
     SETUP_OPTIONS(unit_fields::tc##_scanning), .shown = tc##_on},                                \
    {.label = "SCAN TIME: ", .kind = RowKind::Option, SETUP_FIELD(settings.tc##_scan_time),       \
     SETUP_OPTIONS(unit_fields::tc##_scan_time),                                                  \
     .shown = [] { return tc##_on() && settings.tc##_scanning == TC_SCANNING; }}

bool egt_on() { return settings.egt_channels != 0; }
bool cht_on() { return settings.cht_channels != 0; }
RowRange egt_channels_range() { return {unit_fields::egt_channels.range.min, unit_fields::egt_channels.range.max}; }

const SetupRow EGT_ROWS[] = {TC_ROWS(egt, "EGT")};
const SetupRow CHT_ROWS[] = {TC_ROWS(cht, "CHT")};

#undef TC_ROWS
#undef TC_NUMBER

const SetupPage EGT_PAGE = {.section = "EMS SETUP", .name = "EGT SETUP", .rows = EGT_ROWS,
                            .row_count = uint8_t(std::size(EGT_ROWS)), .largest_step = 100,
                            .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                            .parent_item = TILE_EGT};
const SetupPage CHT_PAGE = {.section = "EMS SETUP", .name = "CHT SETUP", .rows = CHT_ROWS,
                            .row_count = uint8_t(std::size(CHT_ROWS)), .largest_step = 100,
                            .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                            .parent_item = TILE_CHT};

// ---- MAP ------------------------------------------------------------------------------

// MAP trim: converter counts, stopping at the ends.
constexpr RowRange MAP_TRIM_RANGE = {-50, 50};

bool map_on() { return settings.map_display != 0; }

void map_text(char* out, size_t size, int32_t v)
{
    char digits[16];
    map_value_text(digits, sizeof digits, v);
    std::snprintf(out, size, "%s%s", digits, option_gauge_text(options::MAP_UNIT, settings.map_unit));
}
// In mb a click is 10, 100 or 1000 mb; in inches of mercury 0.1, 1 or 10.
int32_t map_step_scale() { return settings.map_unit == MAP_MB ? 10 : 1; }
void map_step(uint8_t item)
{
    static const char* const MB[] = {"X10", "X100", "X1000"};
    static const char* const INCHES[] = {"X0.1", "X1", "X10"};
    const int i = nav.edit_step == 1 ? 0 : nav.edit_step == 10 ? 1 : nav.edit_step == 100 ? 2 : -1;
    if (i < 0) return;
    step_label_text(item, settings.map_unit == MAP_MB ? MB[i] : INCHES[i]);
}
void map_trim_text(char* out, size_t size, int32_t v)
{
    std::snprintf(out, size, "%d (%umB)", int(v), unsigned(sens.map_hpa < 0 ? 0 : sens.map_hpa));
}

#define MAP_NUMBER(text, name)                                                                    \
    {.label = text, .kind = RowKind::Number, SETUP_FIELD(settings.map_##name),                    \
     .range = [] { return unit_range(unit_fields::map_##name, settings.map_unit); },              \
     .format = map_text, .step_label = map_step, .step_scale = map_step_scale, .shown = map_on}

const SetupRow MAP_ROWS[] = {
    {.label = "MAP DISPLAY: ", .kind = RowKind::Flag, SETUP_FIELD(settings.map_display)},
    {.label = "MAP UNIT: ", .kind = RowKind::Option, .get = [] { return int32_t(settings.map_unit); },
     .set = [](int32_t v) { map_unit_switch(uint8_t(v)); }, SETUP_OPTIONS(unit_fields::map_unit),
     .shown = map_on},
    MAP_NUMBER("DISPLAY MAX: ", display_max),
    MAP_NUMBER("DISPLAY MIN: ", display_min),
    {.label = "HIGH ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.map_high_alarm_on), .shown = map_on},
    MAP_NUMBER("HIGH ALARM: ", high_alarm),
    MAP_NUMBER("HIGH CAUTION: ", high_caution),
    MAP_NUMBER("LOW CAUTION: ", low_caution),
    {.label = "LOW ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.map_low_alarm_on), .shown = map_on},
    MAP_NUMBER("LOW ALARM: ", low_alarm),
    {.label = "FILTER: ", .kind = RowKind::Option, SETUP_FIELD(settings.map_filter),
     SETUP_OPTIONS(unit_fields::map_filter), .shown = [] { return map_on() && !ecu_rotax_direct(); }},
    {.label = "MAP CALIBRATION FACTOR: ", .kind = RowKind::Number, SETUP_FIELD(calibration.map_cal_offset),
     .min = MAP_TRIM_RANGE.min, .max = MAP_TRIM_RANGE.max, .format = map_trim_text,
     .shown = [] { return map_on() && !ecu_rotax_direct(); }, .flags = ROW_CLAMPED},
};

#undef MAP_NUMBER

const SetupPage MAP_PAGE = {.section = "EMS SETUP", .name = "MAP SETUP", .rows = MAP_ROWS,
                            .row_count = uint8_t(std::size(MAP_ROWS)), .largest_step = 100,
                            .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                            .parent_item = TILE_MAP, .on_leave = calibration_changed};

} // namespace

void screen_rpm1_setup() { setup_page(RPM1_PAGE); }
void screen_rpm2_setup() { setup_page(RPM2_PAGE); }
void screen_egt_setup() { setup_page(EGT_PAGE); }
void screen_cht_setup() { setup_page(CHT_PAGE); }
void screen_map_setup() { setup_page(MAP_PAGE); }

} // namespace ems
