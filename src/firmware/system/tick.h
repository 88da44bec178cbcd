// The state of the 100 ms time base, advanced by Timer1Timer (app/tick.h).
// Every 11th tick toggles blink_flag; every 10th tick is a second, which
// runs the pilot timer (and the flight time); every 20th tick is the
// 2-second slow tick, which counts the other durations below (in slow ticks).
#pragma once
#include <cstdint>

namespace ems {

struct TickState {
    uint32_t ticks = 0;               // 100 ms ticks since program start (wraps); the time base of the fuel computer
    uint8_t blink_ticks = 0;          // timer ticks towards the next blink toggle
    uint8_t blink_flag = 0;           // 0/1, toggles every 11 ticks
    uint8_t slow_ticks = 0;           // timer ticks towards the next slow tick (0..19)
    uint8_t alarm_holdoff = 0;        // power-on hold-off of alarms and min/max, 5 at power-on
    uint8_t mag_check_countdown = 0;  // magneto-check panel countdown
    uint8_t quick_menu_countdown = 0; // run-screen overlay countdown
    uint8_t vexa_data_timeout = 0;    // at 0 the slow tick clears vexa_data_valid
    uint8_t ul_data_timeout = 0;      // at 0 the slow tick clears ul_data_valid
    uint8_t engine_rotate_ticks = 0;  // 0..8, rotates an engine-page information line
    uint8_t pilot_timer_running = 0;  // 1 while the pilot timer runs
    uint8_t pilot_timer_up = 0;       // 1 counts up, 0 counts down to 0
    uint32_t pilot_timer = 0;         // pilot timer in seconds, shown H:MM:SS
    uint8_t second_ticks = 0;         // timer ticks towards the next second (0..9)
    uint8_t egt_scan_ticks = 0;       // dwell counter of the EGT scanning display
    uint8_t cht_scan_ticks = 0;       // dwell counter of the CHT scanning display
    uint8_t egt_scan_index = 0;       // EGT channel shown by the scanning display
    uint8_t cht_scan_index = 0;       // CHT channel shown (numbered after the EGT channels)
};
extern TickState tick;


} // namespace ems
