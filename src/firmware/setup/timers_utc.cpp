// SET UTC DATE & TIME: six fields loaded from the present UTC clock; the
// clock follows them once the last field is passed.
#include <cstdio>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "setup/timers_setup.h"
#include "system/clock.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

namespace {

enum UtcField : uint8_t { YEAR, MONTH, DAY, HOUR, MINUTE, SECOND, FIELDS };

constexpr uint16_t YEAR_MIN = 2022;
constexpr uint16_t YEAR_MAX = 2100;
constexpr uint8_t FONT = 20;

void field(int16_t x, int16_t y, const char* format, int value, uint8_t which)
{
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    draw_text(x, y, text, FONT, ALIGN_LEFT, which == nav.menu_cursor ? COLOUR_RED : COLOUR_WHITE);
}

void mark(int16_t x, int16_t y, const char* text) { draw_text(x, y, text, FONT, ALIGN_LEFT, COLOUR_WHITE); }

// The day stays within the month: a month or year changed under a day 31
// (or 29 February) brings the day down to the month's last.
void keep_day_in_month(ClockRecord& r)
{
    const uint8_t last = days_in_month(r.year, r.month);
    if (r.day > last) r.day = last;
    if (r.day < 1) r.day = 1;
}

void change_field(ClockRecord& r, bool up)
{
    const int32_t step = nav.edit_step;
    auto turn = [up](int32_t v, int32_t s, int32_t lo, int32_t hi) {
        return up ? number_up(v, s, lo, hi) : number_down(v, s, lo, hi);
    };
    switch (nav.menu_cursor) {
    case YEAR: r.year = uint16_t(turn(r.year, step, YEAR_MIN, YEAR_MAX)); break;
    case MONTH: r.month = uint8_t(turn(r.month, 1, 1, 12)); break;
    case DAY: r.day = uint8_t(turn(r.day, 1, 1, days_in_month(r.year, r.month))); break;
    case HOUR: r.hour = uint8_t(turn(r.hour, 1, 0, 23)); break;
    case MINUTE: r.minute = uint8_t(turn(r.minute, step, 0, 59)); break;
    case SECOND: r.second = uint8_t(turn(r.second, step, 0, 59)); break;
    default: break;
    }
    keep_day_in_month(r);
}

void back_to_timers()
{
    nav.edit_active = 0;
    go_to(ScreenId::TIMERS_SETUP, TIMERS_ROW_SET_UTC);
}

} // namespace

void open_set_utc()
{
    ClockRecord& r = timers.utc_set;
    r = clk.clock_utc;
    if (r.year < YEAR_MIN || r.year > YEAR_MAX) r.year = r.year < YEAR_MIN ? YEAR_MIN : YEAR_MAX;
    if (r.month < 1 || r.month > 12) r.month = 1;
    keep_day_in_month(r);
    nav.edit_active = 0;
    nav.edit_step = 1;
    go_to(ScreenId::SET_UTC, YEAR);
}

void screen_set_utc()
{
    ClockRecord& r = timers.utc_set;
    if (nav.menu_cursor >= FIELDS) nav.menu_cursor = YEAR;
    title_bar("TIMERS SETUP", "SET UTC DATE & TIME");
    draw_text(240, 76, "USE THE ROTARY CONTROL", 10, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 94, "TO SET THE DATE & TIME", 10, ALIGN_CENTRE, COLOUR_WHITE);
    field(149, 140, "%04d", r.year, YEAR);
    mark(228, 140, "/");
    field(240, 140, "%02d", r.month, MONTH);
    mark(281, 140, "/");
    field(291, 140, "%02d", r.day, DAY);
    field(168, 180, "%02d", r.hour, HOUR);
    mark(208, 180, ":");
    field(220, 180, "%02d", r.minute, MINUTE);
    mark(260, 180, ":");
    field(272, 180, "%02d", r.second, SECOND);
    soft_key_bar(1);

    switch (KeyEvent) {
    case KEY_SOFT1: exit_to_run_screen(); break;
    case KEY_SOFT2: back_to_timers(); break;
    case KEY_CW: change_field(r, true); break;
    case KEY_CCW: change_field(r, false); break;
    case KEY_PUSH:
        if (nav.menu_cursor + 1 < FIELDS) {
            ++nav.menu_cursor;
        } else {
            clock_set_utc(r);
            back_to_timers();
        }
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
