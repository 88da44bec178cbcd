#include "ops/unit_info.h"

#include <cstdio>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/main_menu.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"
#include "ui/widgets.h"

namespace ems {

UnitInfoState unit_info;

namespace {

constexpr int32_t SERIAL_MAX = 9999999;

// The entry starts from the present number (a number it cannot show starts from 0).
void open_serial_number()
{
    const int32_t n = calibration.serial_number;
    std::snprintf(unit_info.serial_digits, sizeof unit_info.serial_digits, "%07d",
                  int(n >= 0 && n <= SERIAL_MAX ? n : 0));
    go_to(ScreenId::SERIAL_NUMBER, 0);
}

// A key on the INFORMATION page other than EXIT and BACK.
void service_key(uint8_t key)
{
    uint8_t& progress = unit_info.service_progress;
    if (key == SERVICE_SEQUENCE[progress])
        ++progress;
    else
        progress = key == SERVICE_SEQUENCE[0] ? 1 : 0;
    if (progress == sizeof SERVICE_SEQUENCE) {
        progress = 0;
        open_serial_number();
    }
}

int32_t serial_digits_value()
{
    int32_t value = 0;
    for (uint8_t k = 0; k < SERIAL_DIGITS; ++k) value = value * 10 + (unit_info.serial_digits[k] - '0');
    return value;
}

// One raw reading of SENSOR INFO: page, column x, line, caption format and value.
struct RawLine {
    uint8_t page;
    int16_t x;
    uint8_t line;
    const char* format;
    int32_t (*value)();
};

#define RAW(expr) [] { return int32_t(expr); }
const RawLine RAW_LINES[] = {
    {0, 0, 0, "MAP: %d", RAW(raw.raw_map)},
    {0, 0, 2, "RPM 1: %d", RAW(raw.rpm_period)},
    {0, 0, 3, "RPM 2: %d", RAW(raw.rpm2)},
    {0, 0, 5, "FUEL FLOW 1: %d", RAW(raw.flow_pulses[0])},
    {0, 0, 6, "FUEL FLOW 2: %d", RAW(raw.flow_pulses[1])},
    {0, 0, 7, "FUEL LEVEL 1: %d", RAW(raw.raw_fuel_level[0])},
    {0, 0, 8, "FUEL LEVEL 2: %d", RAW(raw.raw_fuel_level[1])},
    {0, 0, 9, "FUEL PRESSURE: %d", RAW(raw.raw_fuel_pressure)},
    {0, 220, 0, "VOLTS: %d", RAW(raw.raw_volts)},
    {0, 220, 1, "CURRENT: %d", RAW(raw.raw_current)},
    {0, 220, 3, "OAT: %d", RAW(raw.raw_oat)},
    {0, 220, 5, "OIL TEMPERATURE: %d", RAW(raw.raw_aux[0])},
    {0, 220, 6, "OIL PRESSURE: %d", RAW(raw.raw_aux[1])},
    {0, 220, 8, "AUX 1/CHT 1: %d", RAW(raw.raw_aux[2])},
    {0, 220, 9, "AUX 2/CHT 2: %d", RAW(raw.raw_aux[3])},
    {1, 0, 7, "CJC TEMPERATURE: %d\xB0" "C", RAW(thermo.cjc_c)},
};
#undef RAW

void draw_raw_line(int16_t x, uint8_t line, const char* text)
{
    draw_text(x, int16_t(LIST_Y + LIST_ROW_HEIGHT * line), text, 8, ALIGN_LEFT, COLOUR_WHITE);
}

void draw_sensor_page(uint8_t page)
{
    char text[40];
    for (const RawLine& r : RAW_LINES) {
        if (r.page != page) continue;
        std::snprintf(text, sizeof text, r.format, int(r.value()));
        draw_raw_line(r.x, r.line, text);
    }
    if (page != 1) return;
    // The twelve thermocouple inputs, channels 1..6 left and 7..12 right.
    for (uint8_t ch = 0; ch < 12; ++ch) {
        std::snprintf(text, sizeof text, "TC CHANNEL %d: %d", ch + 1, int(raw.tc_input[ch]));
        draw_raw_line(ch < 6 ? 0 : 220, uint8_t(ch % 6), text);
    }
}

} // namespace

void screen_information()
{
    title_bar("", "INFORMATION");
    char text[48];
    draw_text(LIST_X, 50, "MODEL: SORVIK-EMS", 8, ALIGN_LEFT, nav.menu_cursor == 0 ? COLOUR_RED : COLOUR_WHITE);
    std::snprintf(text, sizeof text, "FIRMWARE VERSION: %0.2f", FIRMWARE_VERSION / 100.0);
    draw_text(LIST_X, 68, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "SERIAL NUMBER: %07d", int(calibration.serial_number));
    draw_text(LIST_X, 86, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "AIRCRAFT REG: %.8s", settings.registration);
    draw_text(LIST_X, 104, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    soft_key_bar(1);

    if (KeyEvent == KEY_SOFT1) {
        unit_info.service_progress = 0;
        exit_to_run_screen();
    } else if (KeyEvent == KEY_SOFT2) {
        unit_info.service_progress = 0;
        nav.edit_active = 0;
        go_to(ScreenId::MISC_SETUP, MISC_ROW_INFORMATION);
    } else if (KeyEvent != KEY_NONE) {
        service_key(KeyEvent);
    }
    KeyEvent = KEY_NONE;
}

void screen_serial_number()
{
    if (nav.menu_cursor >= SERIAL_DIGITS) nav.menu_cursor = 0;
    title_bar("", "ENTER SERIAL NUMBER");
    draw_text(240, 96, "USE THE ROTARY CONTROL", 10, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 114, "TO SET THE SERIAL NUMBER", 10, ALIGN_CENTRE, COLOUR_WHITE);
    char* digits = unit_info.serial_digits;
    for (uint8_t k = 0; k < SERIAL_DIGITS; ++k) {
        const char one[2] = {digits[k], 0};
        draw_text(int16_t(130 + 34 * k), 160, one, 20, ALIGN_CENTRE, k == nav.menu_cursor ? COLOUR_RED : COLOUR_WHITE);
    }
    soft_key_labels("SERIAL NUMBER", "SAVE", "BACK", nullptr, nullptr, nullptr);
    rotary_symbol();

    char& digit = digits[nav.menu_cursor];
    switch (KeyEvent) {
    case KEY_PUSH: nav.menu_cursor = uint8_t((nav.menu_cursor + 1) % SERIAL_DIGITS); break;
    case KEY_CW: digit = digit >= '9' ? '0' : char(digit + 1); break;
    case KEY_CCW: digit = digit <= '0' ? '9' : char(digit - 1); break;
    case KEY_SOFT1:
        calibration.serial_number = serial_digits_value();
        calibration_changed();
        exit_to_run_screen();
        break;
    case KEY_SOFT2:
        go_to(ScreenId::INFORMATION, 0);
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

void screen_sensor_info()
{
    if (unit_info.sensor_page > 1) unit_info.sensor_page = 0;
    title_bar("", "SENSOR INFO");
    draw_sensor_page(unit_info.sensor_page);
    scroll_indicator(unit_info.sensor_page, 2);
    soft_key_bar(1);

    switch (KeyEvent) {
    case KEY_SOFT1: exit_to_run_screen(); break;
    case KEY_SOFT2: back_to_main_menu(MAIN_TILE_SENSOR_INFO); break;
    case KEY_CW:
    case KEY_CCW: unit_info.sensor_page ^= 1; break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
