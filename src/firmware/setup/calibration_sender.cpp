// CALIBRATE SENDER, ZERO CURRENT SENSOR and the SLOPE ERROR message.
//
// Section index: state and checks; openers; calibrate sender (record, rows,
// keys, pass); zero current; slope error.
#include <cstdio>

#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "settings/options.h"
#include "settings/settings_schema.h"
#include "setup/calibration.h"
#include "setup/setup_pages.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "ui/navigation.h"
#include "ui/screen_ids.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

CalibrationScreens cal_screens;

// ---- State and checks ------------------------------------------------------------

bool strictly_monotonic(const int32_t* values, uint8_t count)
{
    if (count < 2) return true;
    const bool rising = values[0] <= values[count - 1];
    for (uint8_t k = 1; k < count; ++k)
        if (rising ? values[k - 1] >= values[k] : values[k - 1] <= values[k]) return false;
    return true;
}

namespace {

// A sender or current input's converter reading as shown and as zeroed: 12
// bits. The inputs reach 4096 at full scale, read as 4095, so that a zero
// taken there (x 16) still fits its 16-bit field.
uint16_t adc_reading(uint16_t raw_value) { return raw_value > 4095 ? 4095 : raw_value; }

void show_slope_error(ScreenFn back_to)
{
    cal_screens.slope_error_return = back_to;
    show_screen(ScreenId::SLOPE_ERROR);
}

// Puts the calling page's cursor on the row that opened the screen, or on
// `usual_row` when the opener named none.
void return_to_caller(ScreenFn caller, uint8_t usual_row)
{
    nav.menu_cursor = cal_screens.caller_row != CALLER_ROW_NONE ? cal_screens.caller_row : usual_row;
    cal_screens.caller_row = CALLER_ROW_NONE;
    nav.menu_scroll = 0;
    nav.edit_active = 0;
    nav.edit_step = 1;
    ScreenHandler = caller ? caller : screen_of(ScreenId::RUN);
}

void start_screen(ScreenFn screen)
{
    cal_screens.caller_row = nav.menu_cursor;
    enter_list(0);
    ScreenHandler = screen;
}

} // namespace

// ---- Openers ---------------------------------------------------------------------

void open_zero_current(bool main)
{
    start_screen(main ? screen_zero_main_current : screen_zero_current);
}

// ---- Calibrate sender: the record ------------------------------------------------

namespace {

// The table of the record being calibrated, or null when it is not bound.
SenderCalibrationTable* bound_table()
{
    switch (cal_screens.cal_kind) {
    case CAL_PRESSURE: return bindings.active_pressure_cfg ? &bindings.active_pressure_cfg->cal : nullptr;
    case CAL_TEMPERATURE: return bindings.active_temperature_cfg ? &bindings.active_temperature_cfg->cal : nullptr;
    case CAL_GENERIC: return bindings.active_generic_cfg ? &bindings.active_generic_cfg->cal : nullptr;
    default: return nullptr;
    }
}

bool fuel_pressure_sender()
{
    return cal_screens.cal_kind == CAL_PRESSURE && bindings.active_pressure_cfg == &settings.fuel_pressure_cfg;
}

// The calling page's row of CALIBRATE SENDER when the opener named none.
uint8_t usual_calibrate_row()
{
    return cal_screens.cal_kind == CAL_PRESSURE ? 3 : cal_screens.cal_kind == CAL_TEMPERATURE ? 2 : 1;
}

// Points in use. POINTS is edited within 2..16, but a recalled table of up
// to 21 points is shown and kept whole until POINTS is changed.
uint8_t points()
{
    const uint8_t n = cal_screens.cal_work.count;
    return n < CAL_POINTS_MIN ? CAL_POINTS_MIN : n > CAL_POINT_SLOTS ? uint8_t(CAL_POINT_SLOTS) : n;
}

uint8_t row_count() { return uint8_t(2 * points() + 1); }

bool display_row(uint8_t row) { return row % 2 == 1; }
uint8_t point_of(uint8_t row) { return uint8_t((row - 1) / 2); } // rows 1, 2 -> point 0

// Display values: tenths for pressure in bar or psi(0.1), whole numbers for
// psi and temperature, the record's decimals for generic.
uint8_t display_decimals()
{
    switch (cal_screens.cal_kind) {
    case CAL_PRESSURE: return bindings.active_pressure_cfg && bindings.active_pressure_cfg->unit == 1 ? 0 : 1;
    case CAL_GENERIC: return bindings.active_generic_cfg ? bindings.active_generic_cfg->decimals : 0;
    default: return 0;
    }
}

void display_unit(char* out, size_t size)
{
    switch (cal_screens.cal_kind) {
    case CAL_PRESSURE:
        std::snprintf(out, size, "%s",
                      option_gauge_text(options::PRESSURE_UNIT, bindings.active_pressure_cfg ? bindings.active_pressure_cfg->unit : 0));
        break;
    case CAL_TEMPERATURE: temp_unit_text(out, size); break;
    default: std::snprintf(out, size, "%.3s", bindings.active_generic_cfg ? bindings.active_generic_cfg->unit_label : ""); break;
    }
}

const char* screen_title()
{
    if (fuel_pressure_sender()) return "FUEL PRESSURE SETUP";
    switch (cal_screens.cal_kind) {
    case CAL_PRESSURE: return "PRESSURE SETUP";
    case CAL_TEMPERATURE: return "TEMPERATURE SETUP";
    default: return "GENERIC SETUP";
    }
}

// ---- Calibrate sender: rows ------------------------------------------------------

constexpr uint8_t CAL_VISIBLE_ROWS = 10;
constexpr FieldRange DISPLAY_RANGE = cal_point_fields::display.range;
constexpr FieldRange ADC_RANGE = cal_point_fields::adc.range;

// Largest step of key 3 on a row: ADC rows 1..100, display rows 1..100 for
// generic and 1..10 otherwise; POINTS steps by one.
uint16_t largest_step(uint8_t row)
{
    if (row == 0) return 1;
    if (!display_row(row) || cal_screens.cal_kind == CAL_GENERIC) return 100;
    return 10;
}

// The step label of the selected row; a step the row cannot take goes back to 1.
void step_label(uint8_t row)
{
    if (row == 0 || row != nav.menu_cursor) return;
    if (nav.edit_step > largest_step(row)) nav.edit_step = 1;
    if (!display_row(row)) {
        step_label_int(row);
    } else if (cal_screens.cal_kind == CAL_GENERIC) {
        step_label_decimals(row, display_decimals());
    } else {
        static const char* const TENTHS[4] = {"X0.1", "X1", nullptr, nullptr};
        static const char* const WHOLE[4] = {"X1", "X10", nullptr, nullptr};
        step_label_texts(row, display_decimals() == 1 ? TENTHS : WHOLE);
    }
}

void draw_row(uint8_t row)
{
    char label[24];
    char value[32];
    const int screen_row = int(row) - nav.menu_scroll;
    if (screen_row < 0 || screen_row >= CAL_VISIBLE_ROWS) return;
    if (row == 0) {
        std::snprintf(value, sizeof value, "%u", unsigned(points()));
        list_row(screen_row, "POINTS: ", value);
        return;
    }
    const CalPoint p = cal_screens.cal_work.point[point_of(row)];
    const unsigned k = point_of(row) + 1u;
    if (display_row(row)) {
        std::snprintf(label, sizeof label, "DISPLAY %u: ", k);
        char number[16];
        char unit[8];
        const uint8_t decimals = display_decimals();
        if (decimals == 0 && cal_screens.cal_kind != CAL_GENERIC)
            std::snprintf(number, sizeof number, "%03d", int(p.display));
        else
            decimal_value_text(number, sizeof number, p.display, decimals);
        display_unit(unit, sizeof unit);
        std::snprintf(value, sizeof value, "%s %s", number, unit);
    } else {
        std::snprintf(label, sizeof label, "ADC %u: ", k);
        std::snprintf(value, sizeof value, "%04d", int(p.adc));
    }
    list_row(screen_row, label, value);
    step_label(row);
}

void draw_live_reading()
{
    const char* name = fuel_pressure_sender()                      ? "FUEL PRESSURE ADC: %u"
                       : cal_screens.cal_kind == CAL_PRESSURE      ? "PRESSURE SENDER ADC: %u"
                       : cal_screens.cal_kind == CAL_TEMPERATURE   ? "TEMPERATURE SENDER ADC: %u"
                                                                   : "GENERIC SENDER ADC: %u";
    const uint16_t reading = fuel_pressure_sender() ? raw.raw_fuel_pressure : raw.raw_aux[bindings.channel_index & 3];
    char text[40];
    std::snprintf(text, sizeof text, name, unsigned(adc_reading(reading)));
    draw_text(100, 230, text, 10, ALIGN_LEFT, COLOUR_RED);
}

// ---- Calibrate sender: keys ------------------------------------------------------

// One click on the selected value; numbers wrap within their range.
void change_value(bool up)
{
    SenderCalibrationTable& t = cal_screens.cal_work;
    const uint8_t row = nav.menu_cursor;
    if (row == 0) {
        const uint8_t n = points() > CAL_POINTS_MAX ? CAL_POINTS_MAX : points();
        t.count = uint8_t(up ? (n >= CAL_POINTS_MAX ? CAL_POINTS_MIN : n + 1)
                             : (n <= CAL_POINTS_MIN ? CAL_POINTS_MAX : n - 1));
        return;
    }
    CalPoint& p = t.point[point_of(row)];
    const int32_t step = nav.edit_step;
    if (display_row(row))
        p.display = int16_t(up ? number_up(p.display, step, DISPLAY_RANGE.min, DISPLAY_RANGE.max)
                               : number_down(p.display, step, DISPLAY_RANGE.min, DISPLAY_RANGE.max));
    else
        p.adc = int16_t(up ? number_up(p.adc, step, ADC_RANGE.min, ADC_RANGE.max)
                           : number_down(p.adc, step, ADC_RANGE.min, ADC_RANGE.max));
}

// BACK stores the working copy when its ADC points are strictly monotonic
// (the sender reading needs a slope on every segment); otherwise it shows
// SLOPE ERROR and keeps the copy. Slots past the points in use are stored as zero.
bool store_table()
{
    SenderCalibrationTable& work = cal_screens.cal_work;
    work.count = points();
    int32_t adc[CAL_POINT_SLOTS];
    for (uint8_t k = 0; k < work.count; ++k) adc[k] = work.point[k].adc;
    if (!strictly_monotonic(adc, work.count)) {
        show_slope_error(screen_of(ScreenId::SENDER_CALIBRATION));
        return false;
    }
    SenderCalibrationTable stored = work;
    for (size_t k = stored.count; k < CAL_POINT_SLOTS; ++k) stored.point[k] = CalPoint{0, 0};
    if (SenderCalibrationTable* table = bound_table()) *table = stored;
    return true;
}

void sender_key(uint8_t key)
{
    const uint8_t rows = row_count();
    switch (key) {
    case KEY_SOFT1:
        // EXIT abandons the edit: the working copy is dropped unchecked, so a
        // table that cannot be stored never holds the pilot on this screen.
        cal_screens.caller_row = CALLER_ROW_NONE;
        exit_to_run_screen();
        break;
    case KEY_SOFT2:
        if (store_table()) return_to_caller(return_screen, usual_calibrate_row());
        break;
    case KEY_SOFT3:
        nav.edit_step = step_cycle(nav.edit_step, largest_step(nav.menu_cursor));
        break;
    case KEY_PUSH:
        nav.edit_active = nav.edit_active ? 0 : 1;
        break;
    case KEY_CW:
    case KEY_CCW:
        if (nav.edit_active)
            change_value(key == KEY_CW);
        else
            nav.menu_cursor = key == KEY_CW ? cursor_next(nav.menu_cursor, rows) : cursor_prev(nav.menu_cursor, rows);
        break;
    default:
        break;
    }
}

} // namespace

// ---- Calibrate sender: the pass ----------------------------------------------------

void open_sender_calibration(uint8_t kind, ScreenFn caller)
{
    cal_screens.cal_kind = kind;
    if (const SenderCalibrationTable* table = bound_table()) cal_screens.cal_work = *table;
    return_screen = caller;
    start_screen(screen_sender_calibration);
}

void screen_sender_calibration()
{
    const uint8_t rows = row_count();
    if (nav.menu_cursor >= rows) nav.menu_cursor = uint8_t(rows - 1);
    nav.menu_scroll = nav.menu_cursor >= CAL_VISIBLE_ROWS ? uint8_t(nav.menu_cursor - (CAL_VISIBLE_ROWS - 1)) : 0;

    title_bar(screen_title(), "CALIBRATE SENDER");
    for (uint8_t row = 0; row < rows; ++row) draw_row(row);
    draw_live_reading();
    scroll_indicator(nav.menu_cursor, rows);
    soft_key_bar(1);

    sender_key(KeyEvent);
    KeyEvent = KEY_NONE;
}

// ---- Zero current ------------------------------------------------------------------

namespace {

// The confirmation: NO (menu_cursor 0) or YES (1); YES takes the live reading
// as the zero, in 1/16 counts, and shows DONE before the calling page.
void zero_current_pass(uint16_t reading, uint16_t& zero, ScreenFn caller)
{
    title_bar("CURRENT SETUP", "ZERO CURRENT SENSOR");
    draw_text(260, 80, "ARE YOU SURE YOU WANT TO", 10, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(260, 100, "ZERO THE CURRENT SENSOR", 10, ALIGN_CENTRE, COLOUR_WHITE);
    draw_image(45, 75, icon_question);
    const bool yes = nav.menu_cursor == 1;
    draw_text(170, 160, "NO", 10, ALIGN_LEFT, yes ? COLOUR_WHITE : COLOUR_RED);
    draw_text(310, 160, "YES", 10, ALIGN_LEFT, yes ? COLOUR_RED : COLOUR_WHITE);
    char text[32];
    std::snprintf(text, sizeof text, "CURRENT SENSOR ADC: %d", int(adc_reading(reading)));
    draw_text(100, 230, text, 10, ALIGN_LEFT, COLOUR_RED);

    switch (KeyEvent) {
    case KEY_CW:
    case KEY_CCW:
        nav.menu_cursor = yes ? 0 : 1;
        break;
    case KEY_PUSH:
        return_to_caller(caller, 9);
        if (yes) {
            zero = uint16_t(adc_reading(reading) * 16);
            calibration_changed();
            return_screen = caller;
            show_screen(ScreenId::DONE);
        }
        break;
    default:
        break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace

void screen_zero_current()
{
    const uint8_t channel = bindings.channel_index & 3;
    zero_current_pass(raw.raw_aux[channel], calibration.current_zero[channel], screen_channel_setup);
}

void screen_zero_main_current()
{
    zero_current_pass(raw.raw_current, calibration.main_current_zero, screen_current_setup);
}

// ---- Slope error -------------------------------------------------------------------

void screen_slope_error()
{
    title_bar("", "MESSAGE");
    draw_image(60, 115, icon_attention);
    draw_text(260, 120, "SLOPE ERROR", 20, ALIGN_CENTRE, COLOUR_WHITE);
    if (KeyEvent == KEY_NONE) return;
    ScreenHandler = cal_screens.slope_error_return ? cal_screens.slope_error_return : screen_of(ScreenId::RUN);
    KeyEvent = KEY_NONE;
}

} // namespace ems
