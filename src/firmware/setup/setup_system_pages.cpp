// The VOLTS, OAT and ECU setup pages, and GPS SETUP from the main menu.
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "gps/page_gps.h"
#include "ops/main_menu.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
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

// The factory trims, stopping at their ends.
constexpr RowRange VOLTS_TRIM_RANGE = {50, 150}; // percent
constexpr RowRange OAT_TRIM_RANGE = {-20, 20};   // degrees C

// ---- VOLTS ------------------------------------------------------------------------------

void volts_text(char* out, size_t size, int32_t v) { value_with_unit(out, size, v, 1, "V"); }
void volts_trim_text(char* out, size_t size, int32_t v)
{
    char volts[16];
    decimal_value_text(volts, sizeof volts, sens.volts_x10, 1);
    std::snprintf(out, size, "%d%% %sV", int(v), volts);
}
bool trims_shown() { return !ecu_rotax_direct(); }

#define VOLTS_NUMBER(text, name)                                                                  \
    {.label = text, .kind = RowKind::Number, SETUP_FIELD(settings.volts_##name),                  \
     SETUP_RANGE(unit_fields::volts_##name), .decimals = 1, .format = volts_text}

const SetupRow VOLTS_ROWS[] = {
    VOLTS_NUMBER("DISPLAY MAX: ", display_max),
    VOLTS_NUMBER("DISPLAY MIN: ", display_min),
    {.label = "HIGH ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.volts_high_alarm_on)},
    VOLTS_NUMBER("HIGH ALARM: ", high_alarm),
    VOLTS_NUMBER("HIGH CAUTION: ", high_caution),
    VOLTS_NUMBER("LOW CAUTION: ", low_caution),
    {.label = "LOW ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.volts_low_alarm_on)},
    VOLTS_NUMBER("LOW ALARM: ", low_alarm),
    {.label = "LABEL: ", .kind = RowKind::Text, .text = [] { return settings.volts_label; }, .text_length = 4},
    {.label = "VOLTS CALIBRATION FACTOR: ", .kind = RowKind::Number,
     SETUP_FIELD(calibration.volts_cal_percent), .min = VOLTS_TRIM_RANGE.min, .max = VOLTS_TRIM_RANGE.max,
     .format = volts_trim_text, .shown = trims_shown, .flags = ROW_CLAMPED},
};

#undef VOLTS_NUMBER

const SetupPage VOLTS_PAGE = {.section = "EMS SETUP", .name = "VOLTS SETUP", .rows = VOLTS_ROWS,
                              .row_count = uint8_t(std::size(VOLTS_ROWS)), .largest_step = 10,
                              .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                              .parent_item = TILE_VOLTS, .on_leave = calibration_changed};

// ---- OAT --------------------------------------------------------------------------------

bool oat_on() { return settings.oat_display != 0; }
void oat_text(char* out, size_t size, int32_t v)
{
    char unit[4];
    oat_unit_text(unit, sizeof unit);
    value_with_unit(out, size, v, 0, unit);
}
void oat_trim_text(char* out, size_t size, int32_t v)
{
    std::snprintf(out, size, "%+d %d\xB0" "C", int(v), int(sens.oat_c));
}

#define OAT_NUMBER(text, name)                                                                    \
    {.label = text, .kind = RowKind::Number, SETUP_FIELD(settings.oat_##name),                    \
     .range = [] { return unit_range(unit_fields::oat_##name, settings.oat_unit); },              \
     .format = oat_text, .shown = oat_on}

const SetupRow OAT_ROWS[] = {
    {.label = "OAT DISPLAY: ", .kind = RowKind::Flag, SETUP_FIELD(settings.oat_display)},
    {.label = "OAT TEMPERATURE UNIT: ", .kind = RowKind::Option, .get = [] { return int32_t(settings.oat_unit); },
     .set = [](int32_t v) { oat_unit_switch(uint8_t(v)); }, SETUP_OPTIONS(unit_fields::oat_unit), .shown = oat_on},
    OAT_NUMBER("DISPLAY MAX: ", display_max),
    OAT_NUMBER("DISPLAY MIN: ", display_min),
    {.label = "HIGH ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.oat_high_alarm_on), .shown = oat_on},
    OAT_NUMBER("HIGH ALARM: ", high_alarm),
    {.label = "LOW ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.oat_low_alarm_on), .shown = oat_on},
    OAT_NUMBER("LOW ALARM: ", low_alarm),
    {.label = "OAT CALIBRATION FACTOR: ", .kind = RowKind::Number, SETUP_FIELD(calibration.oat_cal_offset),
     .min = OAT_TRIM_RANGE.min, .max = OAT_TRIM_RANGE.max, .format = oat_trim_text,
     .shown = [] { return oat_on() && trims_shown(); }, .flags = ROW_CLAMPED},
};

#undef OAT_NUMBER

const SetupPage OAT_PAGE = {.section = "EMS SETUP", .name = "OAT SETUP", .rows = OAT_ROWS,
                            .row_count = uint8_t(std::size(OAT_ROWS)), .largest_step = 10,
                            .step_on_numbers_only = true, .parent = ScreenId::EMS_SETUP,
                            .parent_item = TILE_OAT, .on_leave = calibration_changed};

// ---- ECU --------------------------------------------------------------------------------

constexpr uint8_t FONT_LIST = 8;

const SetupRow ECU_ROWS[] = {
    {.label = "TYPE: ", .kind = RowKind::Option, SETUP_FIELD(settings.ecu_type), SETUP_OPTIONS(unit_fields::ecu_type)},
    {.label = "CONNECT: ", .kind = RowKind::Option, SETUP_FIELD(settings.ecu_connect),
     SETUP_OPTIONS(unit_fields::ecu_connect), .shown = ecu_is_rotax},
    {.label = "LANE: ", .kind = RowKind::Option, SETUP_FIELD(settings.ecu_lane),
     SETUP_OPTIONS(unit_fields::ecu_lane), .shown = ecu_rotax_direct},
    {.label = "ECU/AIR TEMP: ", .kind = RowKind::Option, SETUP_FIELD(settings.ecu_air_temp_unit),
     SETUP_OPTIONS(unit_fields::ecu_air_temp_unit), .shown = ecu_is_ul_power},
};

// The ROTAX badge, or the UL POWER computer's own data with its picture;
// the data are crossed out while the computer sends nothing.
void draw_ecu_extras()
{
    if (ecu_is_rotax()) {
        fill_rect(290, 190, 450, 235, COLOUR_RED);
        draw_text(370, 197, "ROTAX", 16, ALIGN_CENTRE, COLOUR_WHITE);
        return;
    }
    if (!ecu_is_ul_power()) return;
    // The engine-computer link delivers neither value here: both read 0.
    const int static_pressure_mb = 0;
    const int serial_version = 0;
    char line[32];
    std::snprintf(line, sizeof line, "STATIC PRESSURE: %dmB", static_pressure_mb);
    draw_text(LIST_X, 86, line, FONT_LIST, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(line, sizeof line, "SERIAL VER: %d", serial_version);
    draw_text(LIST_X, 104, line, FONT_LIST, ALIGN_LEFT, COLOUR_WHITE);
    if (ecu.ul_data_valid == 0) {
        draw_line(100, 86, 250, 116, COLOUR_RED);
        draw_line(100, 116, 250, 86, COLOUR_RED);
    }
    draw_image(280, 120, picture_engine_computer);
}

const SetupPage ECU_PAGE = {.section = "EMS SETUP", .name = "ECU SETUP", .rows = ECU_ROWS,
                            .row_count = uint8_t(std::size(ECU_ROWS)), .largest_step = 1,
                            .parent = ScreenId::EMS_SETUP, .parent_item = TILE_ECU,
                            .draw_extra = draw_ecu_extras};

// ---- GPS --------------------------------------------------------------------------------

constexpr uint8_t COG_MAGNETIC = 0;

bool gps_on() { return settings.gps_source != 0; }
bool gps_magnetic() { return gps_on() && settings.gps_cog == COG_MAGNETIC; }

void variation_text(char* out, size_t size, int32_t v)
{
    std::snprintf(out, size, "%d\xB0%s", int(v < 0 ? -v : v), v < 0 ? "W" : "E");
}

#define GPS_OPTION(text, name)                                                                    \
    {.label = text, .kind = RowKind::Option, SETUP_FIELD(settings.name),                          \
     SETUP_OPTIONS(unit_fields::name), .shown = gps_on}

const SetupRow GPS_ROWS[] = {
    {.label = "GPS: ", .kind = RowKind::Option, SETUP_FIELD(settings.gps_source),
     SETUP_OPTIONS(unit_fields::gps_source)},
    GPS_OPTION("GPS BAUD RATE: ", gps_baud),
    GPS_OPTION("POSITION FORMAT: ", gps_position_format),
    GPS_OPTION("ALTITUDE UNIT: ", gps_altitude_unit),
    GPS_OPTION("SPEED UNIT: ", speed_unit),
    GPS_OPTION("COG: ", gps_cog),
    {.label = "LOCAL VARIATION: ", .kind = RowKind::Option, SETUP_FIELD(settings.gps_local_variation),
     SETUP_OPTIONS(unit_fields::gps_local_variation), .shown = gps_magnetic},
    {.label = "MANUAL LOCAL VARIATION: ", .kind = RowKind::Number, SETUP_FIELD(settings.gps_manual_variation),
     SETUP_RANGE(unit_fields::gps_manual_variation), .format = variation_text, .shown = gps_magnetic,
     .flags = ROW_CLAMPED},
};

#undef GPS_OPTION

void draw_auto_variation()
{
    if (!gps_magnetic()) return;
    char text[24];
    format_auto_variation(text, sizeof text);
    char line[48];
    std::snprintf(line, sizeof line, "AUTO LOCAL VARIATION: %s", text);
    draw_text(LIST_X, 194, line, FONT_LIST, ALIGN_LEFT, COLOUR_WHITE);
}

const SetupPage GPS_PAGE = {.section = "", .name = "GPS SETUP", .rows = GPS_ROWS,
                            .row_count = uint8_t(std::size(GPS_ROWS)), .largest_step = 1,
                            .parent = ScreenId::MAIN_MENU, .parent_item = MAIN_TILE_GPS_SETUP,
                            .draw_extra = draw_auto_variation};

} // namespace

void screen_volts_setup() { setup_page(VOLTS_PAGE); }
void screen_oat_setup() { setup_page(OAT_PAGE); }
void screen_ecu_setup() { setup_page(ECU_PAGE); }
void screen_gps_setup() { setup_page(GPS_PAGE); }

} // namespace ems
