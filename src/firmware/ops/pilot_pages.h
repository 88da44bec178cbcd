// The pilot pop-ups drawn over the run screen: the TIMER, LEAN MODE and
// CRUISE MODE, the fuel refill of tank 1 and tank 2, FUEL TOTALS and
// CRUISING SPEED. Each is installed as quick_menu_handler by its open
// function (called from the engine page's quick menu), keeps itself open
// (quick_menu_countdown = 10 every pass) until one of its keys closes it, and
// consumes every key.
#pragma once
#include <cstdint>

namespace ems {

struct PilotState {
    uint32_t pilot_timer_preset = 0; // seconds, 0..35999 (H:MM:SS with one hour digit)
    uint8_t digit_entry[6] = {};     // digits being edited, each 0..9; menu_cursor selects one
    uint16_t refill_level[2] = {};   // level entered for tank 1 and tank 2, tank unit (0..999)
};
extern PilotState pilot;

// The timer, its five preset digits loaded from pilot_timer_preset, first digit selected.
void pilot_timer_open();
void popup_timer();

// Lean and cruise mode: key 2 turns the mode on (the other one off) or off.
void lean_mode_open();
void cruise_mode_open();
void popup_lean_mode();
void popup_cruise_mode();

// Refill of tank 0 or 1: digits and refill_level loaded from the displayed level.
void refill_open(uint8_t tank);
void popup_refill_tank1();
void popup_refill_tank2();

// Fuel used per flow sender since the last RESET.
void fuel_totals_open();
void popup_fuel_totals();

// Cruising speed, three digits loaded from cruise_speed.
void cruise_speed_open();
void popup_cruise_speed();

// The fuel total of sender 0 or 1 as shown, in the tank unit (whole litres,
// 0.1 L or 0.1 gal): fuel_used1 / fuel_used2 (which the fuel computer counts
// ten times finer for tenth units) over the K-factor of their sender. Signed,
// so that a differential total may fall below zero.
int64_t fuel_total(uint8_t sender);

} // namespace ems
