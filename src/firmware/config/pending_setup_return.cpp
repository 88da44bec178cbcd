// Stand-ins for the setup pages the calibration screens return to, until the
// pages themselves are in.
#include "config/setup_pages.h"

namespace ems {

uint8_t channel_index = 0;
PressureSenderConfig* active_pressure_cfg = &settings.pressure_cfg[0];
TemperatureSenderConfig* active_temperature_cfg = &settings.temperature_cfg[0];
CurrentSensorConfig* active_current_cfg = &settings.current_cfg[0];
GenericSensorConfig* active_generic_cfg = &settings.generic_cfg[0];

void screen_channel_setup() {}
void screen_fuel_setup() {}
void screen_fuel_pressure_setup() {}
void screen_current_setup() {}

} // namespace ems
