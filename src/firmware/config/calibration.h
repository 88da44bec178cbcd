// Sender, current-sensor and tank calibration screens, opened from the setup
// pages with `channel_index` and the `active_*_cfg` bindings already set.
#pragma once
#include <cstdint>

#include "config/settings.h"

namespace ems {

void screen_sender_calibration();
void screen_zero_current();
void screen_zero_main_current();
void screen_tank_setup();
void screen_tank_calibrate();
void screen_slope_error();

// CALIBRATE SENDER edits a working copy of the bound record's table; the page
// that opens it copies the table here and says which record kind it is.
constexpr uint8_t CAL_KIND_PRESSURE = 0;
constexpr uint8_t CAL_KIND_TEMPERATURE = 1;
constexpr uint8_t CAL_KIND_GENERIC = 2;
extern SenderCalibrationTable cal_work;
extern uint8_t cal_kind;

} // namespace ems
