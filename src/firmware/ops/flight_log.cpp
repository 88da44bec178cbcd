#include "ops/flight_log.h"

#include "config/settings.h"
#include "ops/main_menu.h"
#include "system/hooks.h"
#include "ui/setup_keys.h"

namespace ems {

FlightLogState flight;

void flight_start()
{
    flight.flight_in_progress = 1;
    flight.flight_time = 0;
}

void flight_stop()
{
    flight_end_hook();
    flight.flight_in_progress = 0;
}

void flight_log_erase() { flight.flight_time = 0; }

namespace {

const SetupPage flight_log_page = {
    .section = "",
    .name = "FLIGHT LOG",
    .largest_step = 1,
    .parent = screen_main_menu,
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
    .parent = screen_main_menu,
    .parent_item = MAIN_TILE_DATA_REC,
};

} // namespace

void screen_flight_log() { setup_page(flight_log_page); }
void screen_data_recording() { setup_page(data_recording_page); }

} // namespace ems
