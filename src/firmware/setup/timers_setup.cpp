// TIMERS SETUP as a table-driven page, and the code message.
#include "setup/timers_setup.h"

#include <cstdio>

#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/main_menu.h"
#include "settings/settings.h"
#include "settings/settings_schema.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

TimersScreens timers;

namespace {

// "+05:30", "-13:00": hours and minutes of the offset's size.
void utc_offset_text(char* out, size_t size, int32_t minutes)
{
    const int32_t a = minutes < 0 ? -minutes : minutes;
    std::snprintf(out, size, "%c%02d:%02d", minutes < 0 ? '-' : '+', int(a / 60), int(a % 60));
}

void open_hobbs()
{
    for (uint8_t& d : timers.digit_entry) d = 0;
    nav.menu_cursor = 0;
    nav.edit_active = 0;
    if (settings.hobbs_code == 0)
        open_hobbs_time();
    else
        show_screen(ScreenId::HOBBS_CODE);
}

void open_change_code()
{
    for (uint8_t& d : timers.digit_entry) d = 0;
    nav.edit_active = 0;
    go_to(ScreenId::CURRENT_CODE, 0);
}

void open_maintenance()
{
    const uint16_t hours = uint16_t(fuel_hobbs.hobbs.maint_hours % 1000);
    timers.digit_entry[0] = uint8_t(hours / 100);
    timers.digit_entry[1] = uint8_t(hours / 10 % 10);
    timers.digit_entry[2] = uint8_t(hours % 10);
    nav.edit_active = 0;
    go_to(ScreenId::MAINTENANCE_TIMER, 0);
}

bool min_rpm_shown() { return settings.hobbs_start != 0; }

const int32_t UTC_STEP_MINUTES = 30;

const SetupRow timers_rows[] = {
    {.label = "SET UTC DATE & TIME", .kind = RowKind::Action, .action = open_set_utc},
    {.label = "UTC OFFSET: ", .kind = RowKind::Number, SETUP_FIELD(settings.utc_offset),
     SETUP_RANGE(unit_fields::utc_offset), .format = utc_offset_text,
     .step_scale = [] { return UTC_STEP_MINUTES; }, .flags = ROW_CLAMPED},
    {.label = "SET HOBBS TIME", .kind = RowKind::Action, .action = open_hobbs},
    {.label = "CHANGE HOBBS CODE", .kind = RowKind::Action, .action = open_change_code},
    {.label = "HOBBS HOUR: ", .kind = RowKind::Option, SETUP_FIELD(settings.hobbs_format),
     SETUP_OPTIONS(unit_fields::hobbs_format)},
    {.label = "SET MAINTENANCE TIMER", .kind = RowKind::Action, .action = open_maintenance},
    {.label = "HOBBS/MAINTENANCE TIMER START: ", .kind = RowKind::Option, SETUP_FIELD(settings.hobbs_start),
     SETUP_OPTIONS(unit_fields::hobbs_start)},
    {.label = "HOBBS MINIMUM RPM: ", .kind = RowKind::Number, SETUP_FIELD(settings.hobbs_min_rpm),
     SETUP_RANGE(unit_fields::hobbs_min_rpm), .shown = min_rpm_shown},
};

const SetupPage timers_page = {
    .section = "",
    .name = "TIMERS SETUP",
    .rows = timers_rows,
    .row_count = sizeof timers_rows / sizeof timers_rows[0],
    .largest_step = 1000,
    .step_on_numbers_only = true,
    .parent = ScreenId::MAIN_MENU,
    .parent_item = MAIN_TILE_TIMERS,
};

} // namespace

void screen_timers_setup() { setup_page(timers_page); }

void screen_code_message()
{
    const bool changed = timers.code_scratch == 1;
    title_bar("", "MESSAGE");
    draw_image(70, 115, icon_attention);
    draw_text(250, 105, changed ? "CODE" : "INCORRECT", 20, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(250, 145, changed ? "CHANGED" : "CODE", 20, ALIGN_CENTRE, COLOUR_WHITE);
    if (KeyEvent == KEY_NONE) return;
    KeyEvent = KEY_NONE;
    nav.menu_cursor = timers.code_row;
    nav.edit_active = 0;
    ScreenHandler = return_screen ? return_screen : screen_timers_setup;
}

} // namespace ems
