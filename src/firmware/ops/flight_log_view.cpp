// VIEW FLIGHT LOG, ERASE FLIGHT LOG and the export failure notice.
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/flight_log.h"
#include "settings/settings.h"
#include "system/clock.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen_ids.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

namespace {


constexpr int16_t VIEW_FIRST_Y = 86;  // text top of the first entry, below the line at y 80
constexpr uint8_t VIEW_ROWS = 9;      // entries on the screen at once
constexpr int16_t COLUMN_X[5] = {60, 160, 230, 300, 400}; // centres: start, flight time, pilot, hobbs, maintenance

void heading(int16_t x, int16_t y, const char* text) { draw_text(x, y, text, 8, ALIGN_CENTRE, COLOUR_SILVER); }

// Hours and minutes in the hobbs format: "1234:30" (MINUTES) or "1234.5" (DECIMAL, tenths of an hour).
void hours_text(char* out, size_t size, uint16_t hours, uint8_t minutes)
{
    if (settings.hobbs_format == 1)
        std::snprintf(out, size, "%u:%02u", unsigned(hours), unsigned(minutes));
    else
        std::snprintf(out, size, "%u.%u", unsigned(hours), unsigned(minutes / 6));
}

void draw_entry(int16_t y, const FlightLogEntry& e)
{
    char text[24];
    ClockRecord start;
    seconds_to_clock(e.start_utc, start);
    std::snprintf(text, sizeof text, "%02u.%02u.%02u %02u:%02u", unsigned(start.day), unsigned(start.month),
                  unsigned(start.year % 100), unsigned(start.hour), unsigned(start.minute));
    draw_text(COLUMN_X[0], y, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
    const uint32_t t = e.flight_seconds;
    std::snprintf(text, sizeof text, "%u:%02u:%02u", unsigned(t / 3600), unsigned(t / 60 % 60), unsigned(t % 60));
    draw_text(COLUMN_X[1], y, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "%u", unsigned(e.pilot_number));
    draw_text(COLUMN_X[2], y, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
    hours_text(text, sizeof text, e.hobbs.hobbs_hours, e.hobbs.hobbs_minutes);
    draw_text(COLUMN_X[3], y, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
    hours_text(text, sizeof text, e.hobbs.maint_hours, e.hobbs.maint_minutes);
    draw_text(COLUMN_X[4], y, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
}

void back_to_flight_log(uint8_t row)
{
    nav.menu_cursor = row;
    nav.edit_active = 0;
    nav.edit_step = 1;
    ScreenHandler = screen_flight_log;
}

} // namespace

void screen_view_flight_log()
{
    title_bar("FLIGHT LOG", "VIEW FLIGHT LOG");
    heading(COLUMN_X[0], 55, "TIME");
    heading(COLUMN_X[1], 47, "FLIGHT");
    heading(COLUMN_X[1], 62, "TIME");
    heading(COLUMN_X[2], 55, "PILOT");
    heading(COLUMN_X[3], 47, "HOBBS");
    heading(COLUMN_X[3], 62, "TIMER");
    heading(COLUMN_X[4], 47, "MAINTENANCE");
    heading(COLUMN_X[4], 62, "TIMER");
    draw_hline(0, 462, 80, COLOUR_WHITE);
    for (uint8_t row = 0; row < VIEW_ROWS; ++row) {
        const FlightLogEntry* e = flight_log_entry(uint8_t(flight.log_view_pos + row));
        if (e == nullptr) break;
        draw_entry(int16_t(VIEW_FIRST_Y + LIST_ROW_HEIGHT * row), *e);
    }
    scroll_indicator(uint8_t(flight.log_view_pos), LOG_VIEW_POSITIONS);
    soft_key_bar(1);

    switch (KeyEvent) {
    case KEY_SOFT1: exit_to_run_screen(); break;
    case KEY_SOFT2: back_to_flight_log(FLIGHT_LOG_ROW_VIEW); break;
    case KEY_CW:
        if (flight.log_view_pos < LOG_VIEW_POSITIONS - 1) ++flight.log_view_pos;
        break;
    case KEY_CCW:
        if (flight.log_view_pos > 0) --flight.log_view_pos;
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

void screen_erase_flight_log()
{
    title_bar("FLIGHT LOG", "ERASE FLIGHT LOG");
    draw_text(260, 100, "ARE YOU SURE YOU WANT TO", 10, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(260, 120, "ERASE THE FLIGHT LOG", 10, ALIGN_CENTRE, COLOUR_WHITE);
    draw_image(45, 95, icon_question);
    const bool yes = nav.menu_cursor == 1;
    draw_text(170, 200, "NO", 10, ALIGN_CENTRE, yes ? COLOUR_WHITE : COLOUR_RED);
    draw_text(310, 200, "YES", 10, ALIGN_CENTRE, yes ? COLOUR_RED : COLOUR_WHITE);

    switch (KeyEvent) {
    case KEY_CW:
    case KEY_CCW: nav.menu_cursor = yes ? 0 : 1; break;
    case KEY_PUSH:
        back_to_flight_log(FLIGHT_LOG_ROW_ERASE);
        if (yes) {
            flight_log_erase();
            return_screen = screen_of(ScreenId::FLIGHT_LOG);
            show_screen(ScreenId::DONE);
        }
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

void screen_export_failed()
{
    clear_screen();
    notice_box(40, 440, "EXPORT FAILED", flight_log_export_problem());
    if (KeyEvent == KEY_NONE) return;
    ScreenHandler = return_screen;
    KeyEvent = KEY_NONE;
}

} // namespace ems
