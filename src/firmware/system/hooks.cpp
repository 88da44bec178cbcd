#include "system/hooks.h"

namespace ems {

void power_on_hook_1() {}
void power_on_hook_2() {}
void hobbs_load() {}
void minmax_changed() {}
void settings_changed() {}
void calibration_changed() {}
void fuel_data_changed() {}
void hobbs_changed() {}
void flight_end_hook() {}

} // namespace ems
