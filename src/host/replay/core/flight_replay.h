// Replaying a recording into the instrument: what one record does to the
// simulated inputs and the GPS receive line, and which record is due after a
// stretch of replay time. A record's engine and fuel figures become a
// FlightGear sample in FlightGear's units and go through the link's inverse
// conversions (host/flightgear/core/flightgear_drive.h), so a replay moves the
// raw inputs exactly as the link does; the cylinders keep their own EGT and
// CHT, and an input whose column is missing or empty is not driven.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "host/flightgear/core/flightgear_drive.h"
#include "host/viewer/core/flight_data.h"

namespace host {

constexpr int REPLAY_SPEED_MIN = 1;  // times the recorded pace
constexpr int REPLAY_SPEED_MAX = 10;

// Whether a recording read back can be replayed: it must carry at least one
// figure the replay drives (RPM1, MAP, an EGT or CHT, VOLTS, OAT, an AIN,
// FLOW1, a TANK or a position). False with a message otherwise.
bool replay_usable(const FlightData& data, std::string& error);

// The raw inputs that make the instrument show record row again, under the
// present settings.
std::vector<DrivenInput> replay_inputs(const FlightData& data, size_t row);

// The fix a receiver at the record's position sends (RMC, GGA, GSA, one GSV,
// at the record's UTC time), or empty when the record has no position.
std::string replay_nmea(const FlightData& data, size_t row, int gsv_part = 0);

// The last record whose time lies at most played_s seconds after the first
// record's.
size_t replay_row_at(const FlightData& data, double played_s);

} // namespace host
