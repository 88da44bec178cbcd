// TIMERS SETUP (main menu tile 3) and its screens: the UTC date and time and
// offset, the hobbs meter with its access code, the maintenance countdown,
// the hobbs display format and the timers' start condition.
//
// The digit screens edit timers.digit_entry, one digit at a time
// (menu_cursor): 7 raises the digit (9 -> 0), 8 lowers it (0 -> 9), 6 moves
// on and completes the screen after the last digit, 2 (BACK) returns to
// TIMERS SETUP on the screen's own row, 1 is EXIT.
#pragma once
#include <cstdint>

#include "system/clock.h"

namespace ems {

// Accepted in place of the current code when the hobbs code is changed.
constexpr uint16_t HOBBS_MASTER_CODE = 8206;

// TIMERS SETUP rows.
constexpr uint8_t TIMERS_ROW_SET_UTC = 0;
constexpr uint8_t TIMERS_ROW_UTC_OFFSET = 1;
constexpr uint8_t TIMERS_ROW_SET_HOBBS = 2;
constexpr uint8_t TIMERS_ROW_CHANGE_CODE = 3;
constexpr uint8_t TIMERS_ROW_HOBBS_FORMAT = 4;
constexpr uint8_t TIMERS_ROW_MAINTENANCE = 5;
constexpr uint8_t TIMERS_ROW_START = 6;
constexpr uint8_t TIMERS_ROW_MIN_RPM = 7;

struct TimersScreens {
    uint8_t digit_entry[6] = {}; // digits being edited, each 0..9
    uint16_t code_scratch = 0;   // the new code until it is confirmed; then 1 changed, 0 incorrect
    uint8_t code_row = 0;        // TIMERS SETUP row the code message returns to (2 or 3)
    ClockRecord utc_set;         // SET UTC DATE & TIME fields (full year); menu_cursor selects one
    uint8_t hobbs_minutes_opened = 0; // the meter's minutes (0..59) when HOBBS TIME opened
};
extern TimersScreens timers;

void screen_timers_setup();

// The digit screens.
void screen_hobbs_time();         // HOBBS TIME in the hobbs_format; sets the hobbs meter
void screen_maintenance_timer();  // three hour digits of the maintenance countdown
void screen_enter_hobbs_code();   // the code before HOBBS TIME
void screen_enter_current_code(); // the code (or HOBBS_MASTER_CODE) before a new one
void screen_enter_new_code();     // the new code, kept in code_scratch
void screen_confirm_new_code();   // the new code again; stored when both agree

// "CODE" / "CHANGED" when code_scratch is 1, else "INCORRECT" / "CODE"; any
// key returns to TIMERS SETUP on code_row.
void screen_code_message();

// SET UTC DATE & TIME: year, month, day, hour, minute, second (menu_cursor
// 0..5); 6 moves on and after the second sets the clock; BACK leaves it unset.
void screen_set_utc();

// Entries of the digit screens from TIMERS SETUP (they load timers.digit_entry).
void open_hobbs_time();
void open_set_utc();

} // namespace ems
