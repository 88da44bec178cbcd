// Flight start and stop, the log ring, the FLIGHT LOG and DATA RECORDING
// SETUP pages.
#include "ops/flight_log.h"

#include <cstdio>
#include <cstring>

#include "ops/main_menu.h"
#include "settings/options.h"
#include "settings/settings_schema.h"
#include "system/clock.h"
#include "system/hooks.h"
#include "system/system_state.h"
#include "ui/navigation.h"
#include "ui/screen_ids.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

FlightLogState flight;

void flight_start()
{
    flight.flight_in_progress = 1;
    flight.flight_time = 0;
    flight.flight_start_utc = clk.utc_seconds;
}

void flight_stop()
{
    if (flight.flight_in_progress != 1) return;
    FlightLogEntry& e = flight.log[flight.log_next];
    e = FlightLogEntry{};
    e.start_utc = flight.flight_start_utc;
    e.flight_seconds = flight.flight_time;
    e.pilot_number = settings.pilot_number;
    std::memcpy(e.registration, settings.registration, sizeof e.registration - 1);
    e.hobbs = fuel_hobbs.hobbs;
    flight.log_next = uint8_t((flight.log_next + 1) % FLIGHT_LOG_ENTRIES);
    if (flight.log_count < FLIGHT_LOG_ENTRIES) ++flight.log_count;

    flight_end_hook();
    flight.flight_in_progress = 0;
}

void flight_log_erase()
{
    flight.flight_time = 0;
    flight.log_count = 0;
    flight.log_next = 0;
    flight.log_view_pos = 0;
}

const FlightLogEntry* flight_log_entry(uint8_t newest)
{
    if (newest >= flight.log_count) return nullptr;
    const int slot = (int(flight.log_next) - 1 - int(newest) + 2 * FLIGHT_LOG_ENTRIES) % FLIGHT_LOG_ENTRIES;
    return &flight.log[slot];
}

namespace {

constexpr uint8_t ROW_FIRST_DETECT_NUMBER = 5; // the RPM and speed minima, AUTOMATIC only
constexpr uint8_t ROW_MIN_SPEED = 7;

bool automatic() { return settings.flight_detect == 1; }

void export_action()
{
    return_screen = screen_of(ScreenId::FLIGHT_LOG);
    nav.menu_cursor = FLIGHT_LOG_ROW_EXPORT;
    nav.edit_active = 0;
    if (sys.sd_card_mounted == 1)
        flight_log_export();
    else
        show_screen(ScreenId::INSERT_CARD);
}

void view_action()
{
    flight.log_view_pos = 0;
    ScreenHandler = screen_view_flight_log;
}

void erase_action()
{
    nav.menu_cursor = 0; // NO
    ScreenHandler = screen_erase_flight_log;
}

// The pilot number steps by 1 whatever the step: it shows no step label.
void no_step_label(uint8_t) {}

void speed_text(char* out, size_t size, int32_t value)
{
    std::snprintf(out, size, "%d%s", int(value),
                  option_gauge_text(options::SPEED_UNIT, settings.speed_unit));
}

const SetupRow flight_log_rows[] = {
    {.label = "EXPORT FLIGHT LOG TO SD CARD (.CSV)", .kind = RowKind::Action, .action = export_action},
    {.label = "VIEW FLIGHT LOG", .kind = RowKind::Action, .action = view_action},
    {.label = "ERASE FLIGHT LOG", .kind = RowKind::Action, .action = erase_action},
    {.label = "PILOT NUMBER: ", .kind = RowKind::Number, SETUP_FIELD(settings.pilot_number),
     SETUP_RANGE(unit_fields::pilot_number), .step_label = no_step_label},
    {.label = "FLIGHT DETECT: ", .kind = RowKind::Option, SETUP_FIELD(settings.flight_detect),
     SETUP_OPTIONS(unit_fields::flight_detect)},
    {.label = "FLIGHT DETECT MIN RPM 1: ", .kind = RowKind::Number,
     SETUP_FIELD(settings.flight_detect_min_rpm1), SETUP_RANGE(unit_fields::flight_detect_min_rpm1), .shown = automatic},
    {.label = "FLIGHT DETECT MIN RPM 2: ", .kind = RowKind::Number,
     SETUP_FIELD(settings.flight_detect_min_rpm2), SETUP_RANGE(unit_fields::flight_detect_min_rpm2), .shown = automatic},
    {.label = "FLIGHT DETECT MIN GROUND SPEED: ", .kind = RowKind::Number,
     SETUP_FIELD(settings.flight_detect_min_speed), SETUP_RANGE(unit_fields::flight_detect_min_speed), .format = speed_text,
     .shown = automatic},
};

const SetupPage flight_log_page = {
    .section = "",
    .name = "FLIGHT LOG",
    .rows = flight_log_rows,
    .row_count = sizeof flight_log_rows / sizeof flight_log_rows[0],
    .largest_step = 1000,
    .parent = ScreenId::MAIN_MENU,
    .parent_item = MAIN_TILE_FLIGHT_LOG,
};

const SetupRow data_recording_rows[] = {
    {.label = "DATA RECORDING: ", .kind = RowKind::Flag, SETUP_FIELD(settings.data_recording)},
};

const SetupPage data_recording_page = {
    .section = "",
    .name = "DATA RECORDING SETUP",
    .rows = data_recording_rows,
    .row_count = 1,
    .largest_step = 1,
    .parent = ScreenId::MAIN_MENU,
    .parent_item = MAIN_TILE_DATA_REC,
};

} // namespace

// The shared page rules, with two of this page's own: key 3 cycles the step
// only on the RPM rows (to 1000) and the speed row (to 100), and moving to
// another row starts again at step 1.
void screen_flight_log()
{
    const uint8_t key = KeyEvent;
    if (key == KEY_SOFT3) {
        if (nav.menu_cursor >= ROW_FIRST_DETECT_NUMBER && automatic())
            nav.edit_step = step_cycle(nav.edit_step, nav.menu_cursor == ROW_MIN_SPEED ? 100 : 1000);
        KeyEvent = KEY_NONE;
    }
    const bool moving = (key == KEY_CW || key == KEY_CCW) && nav.edit_active == 0;
    setup_page(flight_log_page);
    if (moving) nav.edit_step = 1;
}

void screen_data_recording() { setup_page(data_recording_page); }

} // namespace ems
