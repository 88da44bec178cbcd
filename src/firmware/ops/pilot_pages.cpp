// Section index: shared pieces; timer; lean and cruise; fuel refill; fuel
// totals; cruising speed.
#include "ops/pilot_pages.h"

#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/quick_menus.h"
#include "pages/run_screen.h"
#include "sensors/fuel.h"
#include "sensors/thermocouple.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

PilotState pilot;

namespace {

// ---- Shared pieces -------------------------------------------------------------

constexpr int16_t PROMPT_Y[3] = {85, 105, 125};
constexpr int16_t DIGIT_Y = 150;

void install(ScreenFn popup)
{
    quick.quick_menu_handler = popup;
    tick.quick_menu_countdown = 10;
}

void close_popup() { tick.quick_menu_countdown = 0; }

// A black box with a white frame on the same corners.
void framed_box(int16_t x1, int16_t y1, int16_t x2, int16_t y2)
{
    fill_rect(x1, y1, x2, y2, COLOUR_BLACK);
    draw_rect(x1, y1, x2, y2, COLOUR_WHITE);
}

void prompt(const char* line1, const char* line2, const char* line3)
{
    const char* lines[3] = {line1, line2, line3};
    for (int i = 0; i < 3; ++i) draw_text(240, PROMPT_Y[i], lines[i], 8, ALIGN_CENTRE, COLOUR_WHITE);
}

// Digit `index` of digit_entry at x, red when selected.
void draw_digit(uint8_t index, int16_t x)
{
    const char text[2] = {char('0' + pilot.digit_entry[index] % 10), 0};
    draw_text(x, DIGIT_Y, text, 16, ALIGN_LEFT, index == nav.menu_cursor ? COLOUR_RED : COLOUR_WHITE);
}

// Rotary keys on the digits: 6 selects the next of `count` (wrapping), 7 and
// 8 step the selected digit within 0..limit[i] with wrap. True when a digit changed.
bool digit_keys(uint8_t key, uint8_t count, const uint8_t* limit)
{
    if (nav.menu_cursor >= count) nav.menu_cursor = 0;
    uint8_t& d = pilot.digit_entry[nav.menu_cursor];
    const uint8_t top = limit ? limit[nav.menu_cursor] : 9;
    switch (key) {
    case KEY_PUSH: nav.menu_cursor = nav.menu_cursor + 1 >= count ? 0 : uint8_t(nav.menu_cursor + 1); return false;
    case KEY_CW: d = d >= top ? 0 : uint8_t(d + 1); return true;
    case KEY_CCW: d = d == 0 || d > top ? top : uint8_t(d - 1); return true;
    default: return false;
    }
}

// Three digits from a number 0..999 (larger numbers keep their last three).
void load_three_digits(uint32_t value)
{
    pilot.digit_entry[0] = uint8_t(value / 100 % 10);
    pilot.digit_entry[1] = uint8_t(value / 10 % 10);
    pilot.digit_entry[2] = uint8_t(value % 10);
}

uint16_t three_digit_value()
{
    return uint16_t(100 * pilot.digit_entry[0] + 10 * pilot.digit_entry[1] + pilot.digit_entry[2]);
}

// Gallon fuel units are the odd entries of options::FUEL_UNIT.
bool gallon_units() { return settings.fuel_unit % 2 == 1; }

// Tank quantities in tenths: gallons, or litres at "0.1L" resolution.
bool tank_tenths() { return gallon_units() || settings.tank_resolution == 1; }

// ---- Timer ---------------------------------------------------------------------

constexpr uint8_t TIMER_DIGIT_LIMIT[5] = {9, 5, 9, 5, 9}; // H : M M : S S
constexpr int16_t TIMER_DIGIT_X[5] = {180, 210, 230, 260, 280};

void timer_preset_from_digits()
{
    const uint8_t* d = pilot.digit_entry;
    pilot.pilot_timer_preset = 3600u * d[0] + 600u * d[1] + 60u * d[2] + 10u * d[3] + d[4];
}

// ---- Lean and cruise -----------------------------------------------------------

void mode_popup(const char* title, uint8_t on, void (*toggle)())
{
    tick.quick_menu_countdown = 10;
    soft_key_labels(title, "EXIT", on ? "OFF" : "ON", nullptr, nullptr, nullptr);
    switch (KeyEvent) {
    case KEY_SOFT2:
        toggle();
        run.egt_cht_view = VIEW_BARS;
        close_popup();
        break;
    case KEY_SOFT1:
    case KEY_PUSH: close_popup(); break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

void toggle_lean()
{
    thermo.cruise_mode = 0;
    if (thermo.lean_mode == 1) {
        thermo.lean_mode = 0;
        return;
    }
    thermo.lean_mode = 1;
    for (uint8_t ch = 0; ch < TC_CHANNELS; ++ch) {
        thermo.tc_peak[ch] = thermo.tc_value[ch];
        thermo.tc_delta[ch] = 0;
        thermo.tc_peak_order[ch] = 0;
    }
    thermo.lean_order_next = 1;
}

void toggle_cruise()
{
    thermo.lean_mode = 0;
    if (thermo.cruise_mode == 1) {
        thermo.cruise_mode = 0;
        return;
    }
    thermo.cruise_mode = 1;
    for (uint8_t ch = 0; ch < TC_CHANNELS; ++ch) {
        thermo.tc_peak[ch] = thermo.tc_value[ch];
        thermo.tc_delta[ch] = 0;
    }
}

// ---- Fuel refill ---------------------------------------------------------------

int16_t tank_size(uint8_t tank) { return tank == 0 ? settings.tank1_size : settings.tank2_size; }

// The entered level becomes the tank's calculated contents in flow-sender
// pulses. The product reaches about 2.5e9 (injector K-factors, gallons), so
// it is formed in 64 bits and kept unsigned.
void refill_store(uint8_t tank)
{
    const int16_t size = tank_size(tank);
    uint16_t& level = pilot.refill_level[tank];
    if (size >= 0 && level > size) level = uint16_t(size);
    const uint64_t k = k_unit(tank == 0 ? settings.k_factor1 : settings.k_factor2);
    uint64_t contents = k * level;
    if (gallon_units()) contents /= 10;
    if (contents > UINT32_MAX) contents = UINT32_MAX;
    (tank == 0 ? fuel_hobbs.fuel.tank1_contents : fuel_hobbs.fuel.tank2_contents) = uint32_t(contents);
    fuel_data_changed();
}

void refill_popup(uint8_t tank)
{
    tick.quick_menu_countdown = 10;
    framed_box(125, 80, 355, 190);
    prompt("USE THE ROTARY", "CONTROL TO MANUALLY", tank == 0 ? "ENTER YOUR FUEL LEVEL 1" : "ENTER YOUR FUEL LEVEL 2");
    if (tank_tenths()) {
        draw_digit(0, 204);
        draw_digit(1, 230);
        draw_text(243, DIGIT_Y, ".", 16, ALIGN_LEFT, COLOUR_WHITE);
        draw_digit(2, 250);
    } else {
        // Whole litres: evenly spaced between the first and last places of
        // the decimal form's digits, so no two digits overlap.
        draw_digit(0, 214);
        draw_digit(1, 232);
        draw_digit(2, 250);
    }
    draw_text(280, 157, gallon_units() ? "G" : "L", 12, ALIGN_LEFT, COLOUR_WHITE);
    soft_key_labels(tank == 0 ? "TANK 1" : "TANK 2", "EXIT", "FULL", nullptr, nullptr, nullptr);

    uint8_t key = KeyEvent;
    KeyEvent = KEY_NONE;
    if (digit_keys(key, 3, nullptr)) pilot.refill_level[tank] = three_digit_value();
    if (key == KEY_SOFT2) {
        const int16_t size = tank_size(tank);
        pilot.refill_level[tank] = uint16_t(size < 0 ? 0 : size);
        key = KEY_SOFT1;
    }
    if (key != KEY_SOFT1) return;
    refill_store(tank);
    if (tank == 0 && settings.tank2_mode == TANK_CALCULATED)
        refill_open(1);
    else
        close_popup();
}

// ---- Fuel totals ---------------------------------------------------------------

struct TotalsLine {
    const char* label;
    int64_t value;
};

// The lines the fuel configuration shows (0, 1 or 2); returns their number.
uint8_t totals_lines(TotalsLine (&line)[2])
{
    const uint8_t fc = derived.fuel_config;
    // Layout 9 (a combination without range) still counts each sender's fuel,
    // so it shows a line per flow sender that is on, as 11 and 14 do.
    const bool either_flow = fc == 11 || fc == 14 || fc == 9;
    const bool pair = fc == 7 || fc == 10 || (fc == 9 && settings.flow1_on == 1 && settings.flow2_on == 1);
    uint8_t n = 0;
    if (fc == 0 || fc == 5 || fc == 7 || fc == 8 || fc == 10 || fc == 12 || fc == 13 ||
        (either_flow && settings.flow1_on == 1)) {
        if (fc == 8 || fc == 12 || fc == 13) {
            const bool differential = settings.flow_mode == FLOW_DIFFERENTIAL;
            line[n++] = {"TOTAL:", differential ? fuel_total(0) - fuel_total(1) : fuel_total(0) + fuel_total(1)};
        } else {
            line[n++] = {pair ? "TOTAL 1:" : "TOTAL:", fuel_total(0)};
        }
    }
    if (fc == 1 || fc == 6 || pair || (either_flow && settings.flow2_on == 1))
        line[n++] = {pair ? "TOTAL 2:" : "TOTAL:", fuel_total(1)};
    return n;
}

void total_text(char* out, size_t size, int64_t value)
{
    if (tank_tenths()) {
        const int64_t magnitude = value < 0 ? -value : value;
        std::snprintf(out, size, "%s%lld.%lld %s", value < 0 ? "-" : "", (long long)(magnitude / 10),
                      (long long)(magnitude % 10), gallon_units() ? "G" : "L");
    } else {
        std::snprintf(out, size, "%lld L", (long long)value);
    }
}

} // namespace

// ---- Timer ---------------------------------------------------------------------

void pilot_timer_open()
{
    uint32_t preset = pilot.pilot_timer_preset;
    if (preset > 35999) preset = 35999;
    const uint32_t minutes = preset % 3600 / 60;
    const uint32_t seconds = preset % 60;
    pilot.digit_entry[0] = uint8_t(preset / 3600);
    pilot.digit_entry[1] = uint8_t(minutes / 10);
    pilot.digit_entry[2] = uint8_t(minutes % 10);
    pilot.digit_entry[3] = uint8_t(seconds / 10);
    pilot.digit_entry[4] = uint8_t(seconds % 10);
    nav.menu_cursor = 0;
    install(popup_timer);
}

void popup_timer()
{
    tick.quick_menu_countdown = 10;
    framed_box(150, 80, 330, 190);
    prompt("USE THE ROTARY", "CONTROL TO ADJUST", "THE TIMER");
    for (uint8_t i = 0; i < 5; ++i) draw_digit(i, TIMER_DIGIT_X[i]);
    draw_text(197, DIGIT_Y, ":", 16, ALIGN_LEFT, COLOUR_WHITE);
    draw_text(247, DIGIT_Y, ":", 16, ALIGN_LEFT, COLOUR_WHITE);
    soft_key_labels("TIMER", "EXIT", tick.pilot_timer_up ? "DOWN" : "UP",
                    tick.pilot_timer_running ? "STOP" : "START", "RESET", nullptr);

    switch (KeyEvent) {
    case KEY_SOFT1: close_popup(); break;
    case KEY_SOFT2: tick.pilot_timer_up = tick.pilot_timer_up ? 0 : 1; break;
    case KEY_SOFT3: tick.pilot_timer_running = tick.pilot_timer_running ? 0 : 1; break;
    case KEY_SOFT4: tick.pilot_timer = pilot.pilot_timer_preset; break;
    default:
        if (digit_keys(KeyEvent, 5, TIMER_DIGIT_LIMIT)) timer_preset_from_digits();
        break;
    }
    KeyEvent = KEY_NONE;
}

// ---- Lean and cruise -----------------------------------------------------------

void lean_mode_open() { install(popup_lean_mode); }
void cruise_mode_open() { install(popup_cruise_mode); }
void popup_lean_mode() { mode_popup("LEAN MODE", thermo.lean_mode, toggle_lean); }
void popup_cruise_mode() { mode_popup("CRUISE MODE", thermo.cruise_mode, toggle_cruise); }

// ---- Fuel refill ---------------------------------------------------------------

void refill_open(uint8_t tank)
{
    if (tank > 1) return;
    const uint16_t level = fuel.tank_level[tank];
    load_three_digits(level);
    pilot.refill_level[tank] = level;
    nav.menu_cursor = 0;
    install(tank == 0 ? popup_refill_tank1 : popup_refill_tank2);
}

void popup_refill_tank1() { refill_popup(0); }
void popup_refill_tank2() { refill_popup(1); }

// ---- Fuel totals ---------------------------------------------------------------

int64_t fuel_total(uint8_t sender)
{
    const uint32_t used = sender == 0 ? fuel_hobbs.fuel.fuel_used1 : fuel_hobbs.fuel.fuel_used2;
    const uint32_t k = k_unit(sender == 0 ? settings.k_factor1 : settings.k_factor2);
    return k == 0 ? 0 : int64_t(used / k);
}

void fuel_totals_open() { install(popup_fuel_totals); }

void popup_fuel_totals()
{
    tick.quick_menu_countdown = 10;
    TotalsLine line[2];
    const uint8_t lines = totals_lines(line);
    const int16_t bottom = lines == 2 ? 183 : 156;
    fill_rect(141, 81, 341, bottom, COLOUR_BLACK);
    draw_rect(140, 80, 340, int16_t(bottom - 1), COLOUR_WHITE);
    draw_text(240, 90, "FUEL TOTALS", 10, ALIGN_CENTRE, COLOUR_RED);
    for (uint8_t i = 0; i < lines; ++i) {
        const int16_t y = int16_t(127 + 30 * i);
        char value[32];
        total_text(value, sizeof value, line[i].value);
        draw_text(150, y, line[i].label, 8, ALIGN_LEFT, COLOUR_SILVER);
        draw_text(220, int16_t(y - 13), value, 16, ALIGN_LEFT, COLOUR_WHITE);
    }
    soft_key_labels("FUEL TOTALS", "EXIT", "RESET", nullptr, nullptr, nullptr);

    if (KeyEvent == KEY_SOFT1) {
        close_popup();
    } else if (KeyEvent == KEY_SOFT2) {
        fuel_hobbs.fuel.fuel_used1 = 0;
        fuel_hobbs.fuel.fuel_used2 = 0;
        fuel.fuel_used[0] = 0;
        fuel.fuel_used[1] = 0;
        fuel_data_changed();
    }
    KeyEvent = KEY_NONE;
}

// ---- Cruising speed ------------------------------------------------------------

void cruise_speed_open()
{
    load_three_digits(settings.cruise_speed);
    nav.menu_cursor = 0;
    install(popup_cruise_speed);
}

void popup_cruise_speed()
{
    tick.quick_menu_countdown = 10;
    framed_box(115, 80, 365, 190);
    prompt("USE THE ROTARY", "CONTROL TO MANUALLY", "ENTER YOUR CRUISING SPEED");
    draw_digit(0, 195);
    draw_digit(1, 215);
    draw_digit(2, 235);
    draw_text(270, 157, fuel_speed_unit_text(), 12, ALIGN_LEFT, COLOUR_WHITE);
    soft_key_labels("CRUISING SPEED", "EXIT", nullptr, nullptr, nullptr, nullptr);

    if (KeyEvent == KEY_SOFT1) {
        close_popup();
        settings_changed();
    } else if (digit_keys(KeyEvent, 3, nullptr)) {
        settings.cruise_speed = three_digit_value();
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
