// Screens by id. A screen that hands over to another screen, in its own folder
// or another, names the id of the one it goes to, never its handler, so no
// folder includes the screens above it and every binding sits in one table:
// app/screen_ids.cpp binds every id to its handler. The run screen's pop-up
// menus are overlays, not screens, and are still installed by handler.
#pragma once
#include <cstdint>

#include "ui/screen.h"

namespace ems {

enum class ScreenId : uint8_t {
    RUN,            // the run screen with its pages
    MAIN_MENU,      // MAIN MENU, menu_cursor the tile
    FLIGHT_LOG,     // the main menu's tiles, in their order
    EMS_SETUP,
    GPS_SETUP,
    TIMERS_SETUP,   // TIMERS SETUP, the way back from its entry pages
    DATA_RECORDING,
    MISC_SETUP,     // MISC SETUP, the way back from its pages
    SENSOR_INFO,
    FUEL_SETUP,     // FUEL SETUP, the way back from the tank and fuel pressure pages
    INSERT_CARD,    // the notices of ui/notices.h; any key goes back to return_screen
    INVALID_SETTINGS,
    DONE,
    HOBBS_CODE,     // the timers' entry pages
    CURRENT_CODE,
    NEW_CODE,
    CONFIRM_NEW_CODE,
    CODE_MESSAGE,
    HOBBS_TIME,
    MAINTENANCE_TIMER,
    SET_UTC,
    REGISTRATION,   // MISC SETUP's pages
    INFORMATION,
    SERIAL_NUMBER,
    SAVE_FAILED,
    VIEW_FLIGHT_LOG, // FLIGHT LOG's pages
    ERASE_FLIGHT_LOG,
    EXPORT_FAILED,
    SENDER_CALIBRATION, // the calibration pages
    TANK_CALIBRATE,
    TANK_SETUP,
    SLOPE_ERROR,    // goes back to the page it was raised from
};

// The handler bound to id (defined in app/).
ScreenFn screen_of(ScreenId id);

// Makes id the active screen with menu_cursor = row; takes effect on the next pass.
void go_to(ScreenId id, uint8_t row);

// Makes id the active screen and leaves menu_cursor alone, so a notice goes
// back to the row it was opened from.
void show_screen(ScreenId id);

// True while id is the active screen.
bool showing(ScreenId id);

} // namespace ems
