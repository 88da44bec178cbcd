// Sender, current-sensor and tank calibration screens, opened from the setup
// pages with `channel_index` and the `active_*_cfg` bindings already set.
//
// CALIBRATE SENDER edits a working copy of a sender table (cal_work). BACK
// stores it only when its ADC points are strictly rising or strictly falling;
// otherwise SLOPE ERROR is shown and the copy stays for correction. EXIT
// drops the copy: it is the way to abandon an edit. ZERO CURRENT SENSOR takes the live reading of a current input
// as its zero. TANK SETUP lists a tank's fields; TANK CALIBRATE captures or
// types its six-point level table in place and stores it through
// tank_cal_store, which refuses a table that is not strictly monotonic.
#pragma once
#include <cstdint>

#include "settings/settings.h"
#include "ui/screen.h"

namespace ems {

// cal_kind: which record of the bindings CALIBRATE SENDER edits.
constexpr uint8_t CAL_PRESSURE = 0;    // active_pressure_cfg (fuel_pressure_cfg from FUEL PRESSURE SETUP)
constexpr uint8_t CAL_TEMPERATURE = 1; // active_temperature_cfg
constexpr uint8_t CAL_GENERIC = 2;     // active_generic_cfg

// Points of a sender table as the calibration screen edits them.
constexpr uint8_t CAL_POINTS_MIN = 2;
constexpr uint8_t CAL_POINTS_MAX = 16;

// caller_row when the opener named no row: the screens then return to the
// calling page's usual row.
constexpr uint8_t CALLER_ROW_NONE = 0xFF;

struct CalibrationScreens {
    SenderCalibrationTable cal_work{};   // the table being edited; stored only by BACK with a good slope
    uint8_t cal_kind = CAL_PRESSURE;     // CAL_PRESSURE, CAL_TEMPERATURE, CAL_GENERIC
    uint8_t tank_cal_manual = 0;         // tank calibrate mode: 0 SENDER (capture), 1 MANUAL (typed)
    ScreenFn slope_error_return = nullptr; // where SLOPE ERROR goes back to
    uint8_t cal_tank = 0;                // tank of the tank screens: 0 tank 1, 1 tank 2
    uint8_t caller_row = CALLER_ROW_NONE; // calling page's row that opened the screen
};
extern CalibrationScreens cal_screens;

// ---- Openers (called by the setup pages' rows) ---------------------------------
// Each remembers the calling page's selected row (nav.menu_cursor), which is
// where that page's cursor is put back, and starts the screen at row 0.

// CALIBRATE SENDER on the record of `kind` bound by the setup pages: copies its
// table into cal_work; BACK stores it and returns to `caller`, EXIT drops it.
void open_sender_calibration(uint8_t kind, ScreenFn caller);
// ZERO CURRENT SENSOR of analog channel channel_index (main false, back to
// the channel page) or of the CURRENT SETUP sensor (main true).
void open_zero_current(bool main);
// TANK 1 SETUP (tank 0) or TANK 2 SETUP (tank 1), from FUEL SETUP.
void open_tank_setup(uint8_t tank);

// ---- Screens --------------------------------------------------------------------

void screen_sender_calibration();
void screen_zero_current();
void screen_zero_main_current();
void screen_tank_setup();
void screen_tank_calibrate();
void screen_slope_error();

// ---- Checks and stores ----------------------------------------------------------

// True when values[0..count-1] are strictly monotonic in the direction of the
// first to the last value (rising when the first is at most the last): every
// neighbouring pair must step the same way. Fewer than two values pass.
bool strictly_monotonic(const int32_t* values, uint8_t count);

// Checks the table of tank 0 or 1 and stores it: SLOPE ERROR (back to the
// calibrate screen, values kept as edited) when it is not strictly monotonic;
// otherwise settings_changed and, with exit_to_run, fuel_config_derive and
// the run screen, else TANK SETUP on its CALIBRATE TANK row. Returns true
// when stored.
bool tank_cal_store(uint8_t tank, bool exit_to_run);

} // namespace ems
