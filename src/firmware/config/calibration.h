// Sender, current-sensor and tank calibration screens, opened from the setup
// pages with `channel_index` and the `active_*_cfg` bindings already set.
#pragma once

namespace ems {

void screen_sender_calibration();
void screen_zero_current();
void screen_zero_main_current();
void screen_tank_setup();
void screen_tank_calibrate();
void screen_slope_error();

} // namespace ems
