// Flights and the flight log. A flight is started and stopped by hand from
// the engine page's quick menu (flight detection "MANUAL"); its time counts
// one second per second while the firmware runs (app/tick.cpp). The FLIGHT
// LOG page (main menu tile 0) so far shows only its frame (title, EXIT,
// BACK); its rows come with the flight-log work.
#pragma once
#include <cstdint>

namespace ems {

struct FlightLogState {
    uint8_t flight_in_progress = 0; // 1 between START FLIGHT and STOP FLIGHT; 0 at power-on
    uint32_t flight_time = 0;       // seconds of the present or last flight, shown by the engine page; 0 at power-on
};
extern FlightLogState flight;

// START FLIGHT: flight_in_progress 1, flight_time from 0.
void flight_start();
// STOP FLIGHT: flight_end_hook, then flight_in_progress 0 (flight_time stays shown).
void flight_stop();
// flight_time 0.
void flight_log_erase();

// Main menu tile 0: title "FLIGHT LOG", EXIT, BACK.
void screen_flight_log();
// Main menu tile 4: the one row "DATA RECORDING: " OFF/ON.
void screen_data_recording();

} // namespace ems
