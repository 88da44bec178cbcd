// The EMS setup pages: the EMS SETUP menu of tiles and the list pages it opens,
// and the GPS SETUP page reached straight from the main menu.
#pragma once

namespace ems {

void screen_ems_setup_menu();
void screen_gps_setup();

} // namespace ems
