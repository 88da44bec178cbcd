// Hardware hooks: where the instrument would persist data or drive hardware.
// In the simulator they do nothing and return at once; callers keep the calls.
#pragma once

namespace ems {

void power_on_hook_1();   // first step of the power-on sequence
void power_on_hook_2();   // after the calibration defaults, before the settings defaults
void hobbs_load();        // may fill the hobbs/maintenance record; here it stays cleared
void minmax_changed();    // a kept minimum or maximum changed
void settings_changed();  // the unit settings changed (defaults, recall, leaving a setup page)
void calibration_changed(); // the calibration constants changed
void fuel_data_changed(); // fuel used or tank contents changed
void hobbs_changed();     // the hobbs or maintenance timer was set
void flight_end_hook();   // a manually started flight was stopped

} // namespace ems
