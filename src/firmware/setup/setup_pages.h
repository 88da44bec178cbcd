// The EMS setup pages: the EMS SETUP menu of tiles and the list pages it opens,
// and the GPS SETUP page reached straight from the main menu.
//
// Every list page edits UnitSettings (or the trims of CalibrationConstants) in
// place: each click is stored at once, there is no cancel. Entering a page
// sets menu_cursor 0, menu_scroll 0, edit_step 1, edit_active 0; EXIT goes to
// the run screen, BACK to the EMS SETUP menu on the page's tile.
#pragma once
#include <cstdint>

#include "settings/settings.h"

namespace ems {

// The records the analog-channel rows and the calibration screens work on.
// The EMS SETUP menu points them at the chosen channel's records; FUEL
// PRESSURE SETUP points active_pressure_cfg at fuel_pressure_cfg, CURRENT
// SETUP active_current_cfg at main_current_cfg.
struct SetupBindings {
    uint8_t channel_index = 0; // analog channel 0..3 of the channel page
    PressureSenderConfig* active_pressure_cfg = &settings.pressure_cfg[0];
    TemperatureSenderConfig* active_temperature_cfg = &settings.temperature_cfg[0];
    CurrentSensorConfig* active_current_cfg = &settings.current_cfg[0];
    GenericSensorConfig* active_generic_cfg = &settings.generic_cfg[0];
    // The row (among the rows shown) of the link that opened a linked setup
    // page (FUEL PRESSURE SETUP); going back puts menu_cursor here, so the
    // cursor lands on the link even when rows above it are hidden.
    uint8_t return_row = 0;
};
extern SetupBindings bindings;

// The EMS SETUP menu: tiles 0..13 on two pages (menu_cursor above 7: page 2).
void screen_ems_setup_menu();

// The list pages.
void screen_volts_setup();
void screen_oat_setup();
void screen_egt_setup();
void screen_cht_setup();
void screen_map_setup();
void screen_rpm1_setup();
void screen_rpm2_setup();
void screen_channel_setup();        // analog channel bindings.channel_index
void screen_fuel_setup();
void screen_fuel_pressure_setup();
void screen_current_setup();
void screen_ecu_setup();
void screen_gps_setup();

// The row (among the rows FUEL SETUP shows now) of its link row to TANK 1
// SETUP (FUEL_LINK_TANK1), TANK 2 SETUP or FUEL PRESSURE SETUP.
constexpr uint8_t FUEL_LINK_TANK1 = 0;
constexpr uint8_t FUEL_LINK_TANK2 = 1;
constexpr uint8_t FUEL_LINK_FUEL_PRESSURE = 2;
uint8_t fuel_setup_link_row(uint8_t link);

// EMS SETUP tiles of the pages (BACK returns to these).
constexpr uint8_t TILE_RPM1 = 0;
constexpr uint8_t TILE_RPM2 = 1;
constexpr uint8_t TILE_EGT = 2;
constexpr uint8_t TILE_CHT = 3;
constexpr uint8_t TILE_FUEL = 4;
constexpr uint8_t TILE_MAP = 5;
constexpr uint8_t TILE_CHANNEL0 = 6; // channels 0..3 on tiles 6..9
constexpr uint8_t TILE_VOLTS = 10;
constexpr uint8_t TILE_CURRENT = 11;
constexpr uint8_t TILE_OAT = 12;
constexpr uint8_t TILE_ECU = 13;
constexpr uint8_t EMS_SETUP_TILES = 14;


} // namespace ems
