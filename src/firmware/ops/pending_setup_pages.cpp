// Stand-ins for the EMS SETUP menu and the GPS SETUP page until their pages
// arrive: the frame of each (title, EXIT, BACK to its main menu tile).
#include "config/setup_pages.h"
#include "ops/main_menu.h"
#include "ui/setup_keys.h"

namespace ems {

namespace {

const SetupPage ems_setup_page = {
    .section = "",
    .name = "EMS SETUP",
    .largest_step = 1,
    .parent = screen_main_menu,
    .parent_item = MAIN_TILE_EMS_SETUP,
};

const SetupPage gps_setup_page = {
    .section = "",
    .name = "GPS SETUP",
    .largest_step = 1,
    .parent = screen_main_menu,
    .parent_item = MAIN_TILE_GPS_SETUP,
};

} // namespace

void screen_ems_setup_menu() { setup_page(ems_setup_page); }
void screen_gps_setup() { setup_page(gps_setup_page); }

} // namespace ems
