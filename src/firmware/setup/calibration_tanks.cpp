// TANK 1/2 SETUP, TANK 1/2 CALIBRATE and the store of a tank table.
//
// Tank quantities (size, low alarm, low caution) are in whole litres with a
// litre fuel unit and "1L" resolution, otherwise in tenths of the unit (0.1 L
// or 0.1 gal). The level table holds the sender readings at 0, 20, .., 100 %.
//
// Section index: units; tank setup rows; tank setup pass; tank calibrate; store.
#include <cstdio>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "settings/options.h"
#include "settings/settings_schema.h"
#include "settings/unit_switch.h"
#include "setup/calibration.h"
#include "setup/setup_pages.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "ui/navigation.h"
#include "ui/screen_ids.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

namespace {

// ---- Units -----------------------------------------------------------------------

bool gallons() { return (settings.fuel_unit & 1) != 0; }
bool tenths() { return gallons() || settings.tank_resolution != 0; }

// A tank quantity with its unit: "80L", "80.5L" or "21.0G".
void quantity_text(char* out, size_t size, int32_t value)
{
    char number[16];
    decimal_value_text(number, sizeof number, value, tenths() ? 1 : 0);
    std::snprintf(out, size, "%s%s", number, gallons() ? "G" : "L");
}

void quantity_step_label(uint8_t item)
{
    static const char* const TENTHS[4] = {"X0.1", "X1", "X10", nullptr};
    static const char* const WHOLE[4] = {"X1", "X10", "X100", nullptr};
    step_label_texts(item, tenths() ? TENTHS : WHOLE);
}

uint8_t tank_mode(uint8_t tank) { return tank == 0 ? settings.tank1_mode : settings.tank2_mode; }
int32_t tank_size(uint8_t tank) { return tank == 0 ? settings.tank1_size : settings.tank2_size; }

uint16_t tank_cal(uint8_t tank, int k) { return tank == 0 ? settings.tank1_cal[k] : settings.tank2_cal[k]; }
void set_tank_cal(uint8_t tank, int k, int32_t value)
{
    if (tank == 0) settings.tank1_cal[k] = uint16_t(value);
    else settings.tank2_cal[k] = uint16_t(value);
}

// ---- Tank setup rows -------------------------------------------------------------

template <uint8_t T> bool tank_on() { return tank_mode(T) != TANK_OFF; }
template <uint8_t T> bool tank_sender() { return tank_mode(T) == TANK_SENDER; }
template <uint8_t T> bool litre_resolution_shown() { return tank_on<T>() && !gallons(); }
template <uint8_t T> RowRange up_to_size() { return {0, tank_size(T)}; }

void open_tank_calibrate()
{
    cal_screens.tank_cal_manual = 0;
    enter_list(0);
    show_screen(ScreenId::TANK_CALIBRATE);
}

// The rows of one tank; n is 1 or 2 (the field names), T its index.
#define TANK_SETUP_ROWS(n, T, filter_label)                                                        \
    {                                                                                             \
        {.label = "TANK " #n ": ", .kind = RowKind::Option, SETUP_FIELD(settings.tank##n##_mode), \
         SETUP_OPTIONS(unit_fields::tank##n##_mode)},                                             \
        {.label = "TANK SIZE: ", .kind = RowKind::Number, SETUP_FIELD(settings.tank##n##_size),    \
         SETUP_RANGE(unit_fields::tank##n##_size), .format = quantity_text,                       \
         .step_label = quantity_step_label, .shown = tank_on<T>},                                 \
        {.label = "LOW ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.tank##n##_low_alarm_on), \
         .shown = tank_on<T>},                                                                    \
        {.label = "LOW ALARM: ", .kind = RowKind::Number, SETUP_FIELD(settings.tank##n##_low_alarm), \
         .range = up_to_size<T>, .format = quantity_text, .step_label = quantity_step_label,      \
         .shown = tank_on<T>},                                                                    \
        {.label = "LOW CAUTION: ", .kind = RowKind::Number,                                       \
         SETUP_FIELD(settings.tank##n##_low_caution), .range = up_to_size<T>,                     \
         .format = quantity_text, .step_label = quantity_step_label, .shown = tank_on<T>},        \
        {.label = "ADD TO RANGE: ", .kind = RowKind::Option,                                      \
         SETUP_FIELD(settings.tank##n##_add_to_range),                                            \
         SETUP_OPTIONS(unit_fields::tank##n##_add_to_range), .shown = tank_on<T>},                \
        {.label = "CALIBRATE TANK", .kind = RowKind::Action, .action = open_tank_calibrate,        \
         .shown = tank_sender<T>},                                                                \
        {.label = filter_label, .kind = RowKind::Option, SETUP_FIELD(settings.tank##n##_filter),   \
         SETUP_OPTIONS(unit_fields::tank##n##_filter), .shown = tank_sender<T>},                  \
        {.label = "TANK LITRE RESOLUTION: ", .kind = RowKind::Option,                             \
         .get = [] { return int32_t(settings.tank_resolution); },                                 \
         .set = [](int32_t v) { tank_resolution_switch(uint8_t(v)); },                            \
         SETUP_OPTIONS(unit_fields::tank_resolution),                                             \
         .shown = litre_resolution_shown<T>},                                                     \
    }

const SetupRow TANK1_ROWS[] = TANK_SETUP_ROWS(1, 0, "TANK FILTER: ");
const SetupRow TANK2_ROWS[] = TANK_SETUP_ROWS(2, 1, "FILTER: ");
#undef TANK_SETUP_ROWS

// BACK goes to FUEL SETUP on the row that opened the page; EXIT derives the
// fuel configuration, as leaving FUEL SETUP does.
void tank_setup_leave()
{
    if (ScreenHandler == screen_fuel_setup) {
        if (cal_screens.caller_row != CALLER_ROW_NONE) nav.menu_cursor = cal_screens.caller_row;
        nav.edit_step = 1;
    } else {
        fuel_config_derive();
    }
    cal_screens.caller_row = CALLER_ROW_NONE;
}

#define TANK_SETUP_PAGE(table, title)                                                               \
    SetupPage                                                                                     \
    {                                                                                             \
        .section = "FUEL SETUP", .name = title, .rows = table, .row_count = uint8_t(std::size(table)), \
        .largest_step = 100, .step_on_numbers_only = true, .parent = ScreenId::FUEL_SETUP,           \
        .parent_item = 0, .on_leave = tank_setup_leave                                            \
    }

const SetupPage TANK_SETUP_PAGES[2] = {TANK_SETUP_PAGE(TANK1_ROWS, "TANK 1 SETUP"),
                                       TANK_SETUP_PAGE(TANK2_ROWS, "TANK 2 SETUP")};
#undef TANK_SETUP_PAGE

} // namespace

// ---- Tank setup pass ---------------------------------------------------------------

void open_tank_setup(uint8_t tank)
{
    cal_screens.cal_tank = tank > 1 ? 1 : tank;
    cal_screens.caller_row = nav.menu_cursor;
    enter_list(0);
    show_screen(ScreenId::TANK_SETUP);
}

void screen_tank_setup() { setup_page(TANK_SETUP_PAGES[cal_screens.cal_tank & 1]); }

// ---- Tank calibrate ------------------------------------------------------------------

namespace {

constexpr uint8_t TANK_CAL_ROWS = 7; // MODE and the six levels
constexpr int32_t TANK_CAL_MAX = 4096;

// "16L: " or "16.0L: " for level row k (1..6) of the tank's size.
void level_label(char* out, size_t size, uint8_t tank, int k)
{
    const int32_t share = tank_size(tank) * 20 * (k - 1);
    if (tenths())
        std::snprintf(out, size, "%.1f%s: ", share * 0.001, gallons() ? "G" : "L");
    else
        std::snprintf(out, size, "%dL: ", int(share / 100));
}

void tank_calibrate_draw(uint8_t tank, uint16_t reading)
{
    title_bar(tank == 0 ? "TANK 1 SETUP" : "TANK 2 SETUP", tank == 0 ? "TANK 1 CALIBRATE" : "TANK 2 CALIBRATE");
    list_row(0, "MODE: ", option_menu_text(options::TANK_CAL_MODE, cal_screens.tank_cal_manual));
    for (int k = 1; k < TANK_CAL_ROWS; ++k) {
        char label[24];
        char value[12];
        level_label(label, sizeof label, tank, k);
        std::snprintf(value, sizeof value, "%d", int(tank_cal(tank, k - 1)));
        list_row(k, label, value);
        if (cal_screens.tank_cal_manual) step_label_int(uint8_t(k));
    }
    char text[32];
    std::snprintf(text, sizeof text, "TANK %d ADC: %u ", tank + 1, unsigned(reading));
    draw_text(100, 200, text, 10, ALIGN_LEFT, COLOUR_RED);
    scroll_indicator(nav.menu_cursor, TANK_CAL_ROWS);
    soft_key_bar(1);
}

void tank_calibrate_key(uint8_t tank, uint16_t reading, uint8_t key)
{
    const uint8_t row = nav.menu_cursor;
    const bool level_row = row >= 1;
    const bool manual = cal_screens.tank_cal_manual != 0;
    switch (key) {
    case KEY_SOFT1: tank_cal_store(tank, true); break;
    case KEY_SOFT2: tank_cal_store(tank, false); break;
    case KEY_SOFT3:
        if (manual && level_row) nav.edit_step = step_cycle(nav.edit_step, 100);
        break;
    case KEY_PUSH:
        if (level_row && !manual) set_tank_cal(tank, row - 1, reading);
        else nav.edit_active = nav.edit_active ? 0 : 1;
        break;
    case KEY_CW:
    case KEY_CCW: {
        const bool up = key == KEY_CW;
        if (!nav.edit_active) {
            nav.menu_cursor = up ? cursor_next(row, TANK_CAL_ROWS) : cursor_prev(row, TANK_CAL_ROWS);
        } else if (!level_row) {
            cal_screens.tank_cal_manual = manual ? 0 : 1;
        } else if (manual) {
            const int32_t v = tank_cal(tank, row - 1);
            set_tank_cal(tank, row - 1, up ? number_up(v, nav.edit_step, 0, TANK_CAL_MAX)
                                           : number_down(v, nav.edit_step, 0, TANK_CAL_MAX));
        }
        break;
    }
    default: break;
    }
}

} // namespace

void screen_tank_calibrate()
{
    const uint8_t tank = cal_screens.cal_tank & 1;
    const uint16_t reading = raw.raw_fuel_level[tank];
    if (nav.menu_cursor >= TANK_CAL_ROWS) nav.menu_cursor = TANK_CAL_ROWS - 1;
    nav.menu_scroll = 0;
    tank_calibrate_draw(tank, reading);
    tank_calibrate_key(tank, reading, KeyEvent);
    KeyEvent = KEY_NONE;
}

// ---- Store -----------------------------------------------------------------------------

bool tank_cal_store(uint8_t tank, bool exit_to_run)
{
    tank &= 1;
    int32_t values[6];
    for (int k = 0; k < 6; ++k) values[k] = tank_cal(tank, k);
    if (!strictly_monotonic(values, 6)) {
        cal_screens.slope_error_return = screen_of(ScreenId::TANK_CALIBRATE);
        show_screen(ScreenId::SLOPE_ERROR);
        return false;
    }
    settings_changed();
    if (exit_to_run) {
        fuel_config_derive();
        cal_screens.caller_row = CALLER_ROW_NONE;
        exit_to_run_screen();
    } else {
        cal_screens.cal_tank = tank;
        enter_list(6);
        show_screen(ScreenId::TANK_SETUP);
    }
    return true;
}

} // namespace ems
