// Flight log state read by the engine page. The flight log itself (starting
// and stopping flights, recording entries, advancing the flight time) comes
// with the flight-log work; until then nothing changes these values.
#pragma once
#include <cstdint>

namespace ems {

struct FlightLogState {
    uint8_t flight_in_progress = 0; // 1 between START FLIGHT and STOP FLIGHT
    uint32_t flight_time = 0;       // flight time shown by the engine page, seconds; 0 at power-on
};
extern FlightLogState flight;

} // namespace ems
