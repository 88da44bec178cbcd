#include "app/tick.h"

#include "gps/gps_data.h"
#include "ops/flight_log.h"
#include "pages/run_screen.h"
#include "sensors/ecu_data.h"
#include "sensors/hobbs.h"
#include "settings/settings.h"
#include "system/system_state.h"

namespace ems {

TickState tick;

const uint8_t SCAN_DWELL_TICKS[7] = {1, 3, 5, 10, 15, 30, 60};

namespace {

void count_down(uint8_t& v)
{
    if (v > 0) --v;
}

uint8_t dwell_ticks(uint8_t index) { return SCAN_DWELL_TICKS[index < 7 ? index : 6]; }

// A link time-out shared with the receive thread: decrement unless the thread
// reloaded it meanwhile; report whether it had already run out.
bool count_down_link(std::atomic<uint8_t>& timeout)
{
    uint8_t v = timeout.load(std::memory_order_relaxed);
    while (v > 0)
        if (timeout.compare_exchange_weak(v, uint8_t(v - 1), std::memory_order_relaxed)) return false;
    return true;
}

void advance_scanning()
{
    const uint8_t egt_channels = settings.egt_channels;
    const uint8_t cht_channels = settings.cht_channels;
    if (settings.egt_scanning == 1) {
        ++tick.egt_scan_ticks;
        if (tick.egt_scan_ticks >= dwell_ticks(settings.egt_scan_time)) {
            ++tick.egt_scan_index;
            if (tick.egt_scan_index >= egt_channels) tick.egt_scan_index = 0;
            tick.egt_scan_ticks = 0;
        }
    }
    if (settings.cht_scanning == 1) {
        ++tick.cht_scan_ticks;
        if (tick.cht_scan_ticks >= dwell_ticks(settings.cht_scan_time)) {
            if (tick.cht_scan_index < egt_channels) tick.cht_scan_index = egt_channels;
            ++tick.cht_scan_index;
            if (tick.cht_scan_index >= egt_channels + cht_channels) tick.cht_scan_index = egt_channels;
            tick.cht_scan_ticks = 0;
        }
    }
}

// Every tenth tick: the pilot timer, the flight time while the firmware runs,
// the automatic flight detection while the main loop runs, and the hobbs and
// maintenance timers while their start condition holds.
void every_second()
{
    if (tick.pilot_timer_running == 1) {
        if (tick.pilot_timer_up == 1)
            ++tick.pilot_timer;
        else if (tick.pilot_timer > 0)
            --tick.pilot_timer;
    }
    if (flight.flight_in_progress == 1 && sys.phase != PowerPhase::Off) ++flight.flight_time;
    if (sys.phase == PowerPhase::Running) flight_detect_second();
    hobbs_second();
}

} // namespace

void Timer1Timer()
{
    ++tick.ticks;
    if (tick.blink_ticks > 9) {
        tick.blink_ticks = 0;
        tick.blink_flag ^= 1;
    } else {
        ++tick.blink_ticks;
    }
    if (++tick.second_ticks >= 10) {
        tick.second_ticks = 0;
        every_second();
    }

    if (tick.slow_ticks < 19) {
        ++tick.slow_ticks;
        return;
    }
    tick.slow_ticks = 0;

    count_down(tick.alarm_holdoff);
    count_down(tick.mag_check_countdown);
    count_down(tick.quick_menu_countdown);

    if (tick.vexa_data_timeout > 0)
        --tick.vexa_data_timeout;
    else
        ecu.vexa_data_valid = 0;
    if (count_down_link(nmea.gps_data_timeout)) {
        gps.gps_fix_valid = 0;
        nmea.nmea_active.store(0, std::memory_order_relaxed);
    }
    if (tick.ul_data_timeout > 0)
        --tick.ul_data_timeout;
    else
        ecu.ul_data_valid = 0;

    // The magnetic variation is recomputed every 600 slow ticks (20 minutes)
    // while a fix is valid; power-on starts the counter at 600 so that the
    // first update follows the first fix.
    if (gps.magvar_counter < 0xFFFF) ++gps.magvar_counter;

    if (tick.engine_rotate_ticks < 8)
        ++tick.engine_rotate_ticks;
    else
        tick.engine_rotate_ticks = 0;

    if (run.run_page != 0) return;
    advance_scanning();
}

} // namespace ems
