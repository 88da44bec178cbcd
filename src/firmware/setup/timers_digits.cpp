// The digit screens of TIMERS SETUP: HOBBS TIME, MAINTENANCE TIMER and the
// four hobbs code screens. Each is one DigitScreen description handed to
// digit_screen, which draws it and applies the shared keys.
#include <cstdio>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "sensors/hobbs.h"
#include "settings/settings.h"
#include "setup/timers_setup.h"
#include "system/hooks.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"
#include "ui/widgets.h"

namespace ems {

namespace {

constexpr int16_t DIGIT_Y = 160;
constexpr uint8_t DIGIT_FONT = 20;

struct DigitScreen {
    const char* name;                 // title bar subtitle
    const char* line1;                // instruction lines centred at y 96 and 114, font 10
    const char* line2;                // null for one line
    const int16_t* digit_x;           // left edge of each digit
    uint8_t count;                    // digits, at most 6
    uint8_t (*digit_max)(uint8_t i);  // highest value of digit i; null for 9
    void (*draw_extra)();             // separators and units, or null
    void (*complete)();               // after key 6 on the last digit
    uint8_t back_row;                 // TIMERS SETUP row of BACK
};

void back_to_timers(uint8_t row)
{
    nav.menu_cursor = row;
    nav.edit_active = 0;
    ScreenHandler = screen_timers_setup;
}

void clear_digits()
{
    for (uint8_t& d : timers.digit_entry) d = 0;
    nav.menu_cursor = 0;
}

uint16_t code_entered()
{
    const uint8_t* d = timers.digit_entry;
    return uint16_t(1000 * d[0] + 100 * d[1] + 10 * d[2] + d[3]);
}

// The code message, returning to TIMERS SETUP on the row that led to it.
void show_code_message(uint16_t result, uint8_t row)
{
    timers.code_scratch = result;
    timers.code_row = row;
    return_screen = screen_of(ScreenId::TIMERS_SETUP);
    ScreenHandler = screen_code_message;
}

void digit_screen(const DigitScreen& s)
{
    if (nav.menu_cursor >= s.count) nav.menu_cursor = 0;
    title_bar("TIMERS SETUP", s.name);
    draw_text(240, 96, s.line1, 10, ALIGN_CENTRE, COLOUR_WHITE);
    if (s.line2) draw_text(240, 114, s.line2, 10, ALIGN_CENTRE, COLOUR_WHITE);
    for (uint8_t i = 0; i < s.count; ++i) {
        const char text[2] = {char('0' + timers.digit_entry[i] % 10), 0};
        draw_text(s.digit_x[i], DIGIT_Y, text, DIGIT_FONT, ALIGN_LEFT,
                  i == nav.menu_cursor ? COLOUR_RED : COLOUR_WHITE);
    }
    if (s.draw_extra) s.draw_extra();
    soft_key_bar(1);

    uint8_t& digit = timers.digit_entry[nav.menu_cursor];
    const uint8_t max = s.digit_max ? s.digit_max(nav.menu_cursor) : 9;
    switch (KeyEvent) {
    case KEY_SOFT1: exit_to_run_screen(); break;
    case KEY_SOFT2: back_to_timers(s.back_row); break;
    case KEY_CW: digit = digit >= max ? 0 : uint8_t(digit + 1); break;
    case KEY_CCW: digit = digit == 0 || digit > max ? max : uint8_t(digit - 1); break;
    case KEY_PUSH:
        if (nav.menu_cursor + 1 < s.count)
            ++nav.menu_cursor;
        else
            s.complete();
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

// ---- HOBBS TIME --------------------------------------------------------------
// DECIMAL: four hour digits and the tenths (entered tenths are stored as
// minutes, .5 as 30; tenths left as they opened keep the meter's minutes,
// so confirming 1234:59 unchanged does not turn it into 1234:54); MINUTES:
// four hour digits and two minute digits, the tens of the minutes 0..5 so
// that the meter always holds 0..59 minutes.

bool hobbs_in_minutes() { return settings.hobbs_format == 1; }

const int16_t DECIMAL_X[] = {185, 205, 225, 245, 276};
const int16_t MINUTES_X[] = {175, 195, 215, 235, 270, 290};

uint8_t minutes_digit_max(uint8_t i) { return i == 4 ? 5 : 9; }

void hobbs_separator()
{
    if (hobbs_in_minutes()) {
        draw_text(257, 146, ".", DIGIT_FONT, ALIGN_LEFT, COLOUR_WHITE);
        draw_text(257, 156, ".", DIGIT_FONT, ALIGN_LEFT, COLOUR_WHITE);
    } else {
        draw_text(265, DIGIT_Y, ".", DIGIT_FONT, ALIGN_LEFT, COLOUR_WHITE);
    }
}

void hobbs_time_complete()
{
    const uint8_t* d = timers.digit_entry;
    HobbsMaintenance& h = fuel_hobbs.hobbs;
    h.hobbs_hours = uint16_t(1000 * d[0] + 100 * d[1] + 10 * d[2] + d[3]);
    const uint8_t opened = timers.hobbs_minutes_opened;
    if (hobbs_in_minutes())
        h.hobbs_minutes = uint8_t(10 * (d[4] > 5 ? 5 : d[4]) + d[5]);
    else
        h.hobbs_minutes = d[4] == hobbs_tenths(opened) ? opened : hobbs_minutes_of_tenths(d[4]);
    hobbs_changed();
    back_to_timers(TIMERS_ROW_SET_HOBBS);
}

// ---- MAINTENANCE TIMER ---------------------------------------------------------

const int16_t MAINT_X[] = {170, 190, 210};

void maint_hours_label() { draw_text(250, 174, "HOURS", 10, ALIGN_LEFT, COLOUR_WHITE); }

void maintenance_complete()
{
    const uint8_t* d = timers.digit_entry;
    fuel_hobbs.hobbs.maint_hours = uint16_t(100 * d[0] + 10 * d[1] + d[2]);
    fuel_hobbs.hobbs.maint_minutes = 0;
    hobbs_changed();
    back_to_timers(TIMERS_ROW_MAINTENANCE);
}

// ---- Hobbs code ----------------------------------------------------------------

const int16_t CODE_X[] = {210, 230, 250, 270};

void hobbs_code_complete()
{
    if (code_entered() == settings.hobbs_code)
        open_hobbs_time();
    else
        show_code_message(0, TIMERS_ROW_SET_HOBBS);
}

void current_code_complete()
{
    const uint16_t code = code_entered();
    if (code == settings.hobbs_code || code == HOBBS_MASTER_CODE) {
        clear_digits();
        ScreenHandler = screen_enter_new_code;
    } else {
        show_code_message(0, TIMERS_ROW_CHANGE_CODE);
    }
}

void new_code_complete()
{
    timers.code_scratch = code_entered();
    clear_digits();
    ScreenHandler = screen_confirm_new_code;
}

void confirm_code_complete()
{
    const uint16_t code = code_entered();
    if (code == timers.code_scratch) {
        settings.hobbs_code = code;
        show_code_message(1, TIMERS_ROW_CHANGE_CODE);
    } else {
        show_code_message(0, TIMERS_ROW_CHANGE_CODE);
    }
}

DigitScreen code_screen(const char* instruction, void (*complete)(), uint8_t back_row)
{
    return {.name = "HOBBS CODE", .line1 = instruction, .line2 = nullptr, .digit_x = CODE_X, .count = 4,
            .digit_max = nullptr, .draw_extra = nullptr, .complete = complete, .back_row = back_row};
}

} // namespace

void open_hobbs_time()
{
    const HobbsMaintenance h = fuel_hobbs.hobbs;
    const uint16_t hours = uint16_t(h.hobbs_hours % 10000);
    const uint8_t minutes = h.hobbs_minutes > 59 ? 59 : h.hobbs_minutes;
    timers.hobbs_minutes_opened = minutes;
    uint8_t* d = timers.digit_entry;
    d[0] = uint8_t(hours / 1000);
    d[1] = uint8_t(hours / 100 % 10);
    d[2] = uint8_t(hours / 10 % 10);
    d[3] = uint8_t(hours % 10);
    if (hobbs_in_minutes()) {
        d[4] = uint8_t(minutes / 10);
        d[5] = uint8_t(minutes % 10);
    } else {
        d[4] = hobbs_tenths(minutes);
        d[5] = 0;
    }
    nav.menu_cursor = 0;
    nav.edit_active = 0;
    ScreenHandler = screen_hobbs_time;
}

void screen_hobbs_time()
{
    if (hobbs_in_minutes())
        digit_screen({.name = "HOBBS TIME", .line1 = "USE THE ROTARY CONTROL", .line2 = "TO ADJUST THE HOBBS TIME",
                      .digit_x = MINUTES_X, .count = 6, .digit_max = minutes_digit_max,
                      .draw_extra = hobbs_separator, .complete = hobbs_time_complete,
                      .back_row = TIMERS_ROW_SET_HOBBS});
    else
        digit_screen({.name = "HOBBS TIME", .line1 = "USE THE ROTARY CONTROL", .line2 = "TO ADJUST THE HOBBS TIME",
                      .digit_x = DECIMAL_X, .count = 5, .digit_max = nullptr,
                      .draw_extra = hobbs_separator, .complete = hobbs_time_complete,
                      .back_row = TIMERS_ROW_SET_HOBBS});
}

void screen_maintenance_timer()
{
    digit_screen({.name = "MAINTENANCE TIMER", .line1 = "USE THE ROTARY CONTROL",
                  .line2 = "TO ADJUST THE MAINTENANCE TIMER", .digit_x = MAINT_X, .count = 3, .digit_max = nullptr,
                  .draw_extra = maint_hours_label, .complete = maintenance_complete,
                  .back_row = TIMERS_ROW_MAINTENANCE});
}

void screen_enter_hobbs_code()
{
    digit_screen(code_screen("ENTER HOBBS CODE", hobbs_code_complete, TIMERS_ROW_SET_HOBBS));
}

void screen_enter_current_code()
{
    digit_screen(code_screen("ENTER CURRENT HOBBS CODE", current_code_complete, TIMERS_ROW_CHANGE_CODE));
}

void screen_enter_new_code()
{
    digit_screen(code_screen("ENTER NEW CODE", new_code_complete, TIMERS_ROW_CHANGE_CODE));
}

void screen_confirm_new_code()
{
    digit_screen(code_screen("CONFIRM NEW CODE", confirm_code_complete, TIMERS_ROW_CHANGE_CODE));
}

} // namespace ems
