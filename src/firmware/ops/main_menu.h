// The MAIN MENU: the seven icon tiles from which every setup page is
// reached, and to which their BACK keys return; the MISCELLANEOUS SETUP list
// and its AIRCRAFT REGISTRATION editor.
#pragma once
#include <cstdint>

namespace ems {

// Main menu tiles, the values of menu_cursor on the menu and of BACK's return.
constexpr uint8_t MAIN_TILE_FLIGHT_LOG = 0;
constexpr uint8_t MAIN_TILE_EMS_SETUP = 1;
constexpr uint8_t MAIN_TILE_GPS_SETUP = 2;
constexpr uint8_t MAIN_TILE_TIMERS = 3;
constexpr uint8_t MAIN_TILE_DATA_REC = 4;
constexpr uint8_t MAIN_TILE_MISC = 5;
constexpr uint8_t MAIN_TILE_SENSOR_INFO = 6;
constexpr uint8_t MAIN_TILES = 7;

// MISCELLANEOUS SETUP rows.
constexpr uint8_t MISC_ROW_REGISTRATION = 0;
constexpr uint8_t MISC_ROW_INFORMATION = 3;

// Screen handler of the MAIN MENU; menu_cursor is the selected tile (0..6).
// 7 and 8 select the next / previous tile with wrap, 6 opens it (list state
// reset), 1 EXIT.
void screen_main_menu();

// MISCELLANEOUS SETUP: AIRCRAFT REGISTRATION, SAVE and RECALL of the settings
// file, INFORMATION.
void screen_misc_setup();

// AIRCRAFT REGISTRATION: the eight characters of settings.registration, one
// cell each (menu_cursor), stepped through 32..126 with wrap; 6 moves on and
// after the last cell returns to MISCELLANEOUS SETUP.
void screen_registration();

} // namespace ems
