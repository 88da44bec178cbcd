// The EMS setup pages: the EMS SETUP menu of tiles and the list pages it opens,
// and the GPS SETUP page reached straight from the main menu.
#pragma once
#include <cstdint>

#include "config/settings.h"

namespace ems {

void screen_ems_setup_menu();
void screen_gps_setup();

// Pages the calibration screens return to.
void screen_channel_setup();       // the analog channel page of channel_index
void screen_fuel_setup();          // FUEL SETUP
void screen_fuel_pressure_setup(); // FUEL PRESSURE SETUP (active_pressure_cfg = fuel_pressure_cfg)
void screen_current_setup();       // CURRENT SETUP (active_current_cfg = main_current_cfg)

// The analog channel being set up (0..3) and the records the channel page and
// the calibration screens edit: settings.pressure_cfg[channel_index] and so
// on, or fuel_pressure_cfg and main_current_cfg for those pages. Set before
// the page opens; never null while it is shown.
extern uint8_t channel_index;
extern PressureSenderConfig* active_pressure_cfg;
extern TemperatureSenderConfig* active_temperature_cfg;
extern CurrentSensorConfig* active_current_cfg;
extern GenericSensorConfig* active_generic_cfg;

} // namespace ems
