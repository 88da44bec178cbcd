// What the built-in engine does to the simulated instrument: its outputs as
// a FlightGear sample (so they reach the raw inputs through the same inverse
// conversions, under the present settings), with each thermocouple channel
// given its own cylinder; and a simple flight for the GPS.
#pragma once
#include <vector>

#include "engine/engine_model.h"
#include "host/flightgear/core/flightgear_drive.h"

namespace host {

// Where the aeroplane is: standing still, or flying a straight track at the
// set airspeed (no wind, so ground speed is the true airspeed).
struct EngineFlight {
    double latitude_deg = 47.2603, longitude_deg = 11.3439; // a runway threshold
    double track_deg = 260;
    bool moving = false;
};

// Moves the aeroplane one step along its track.
void fly(EngineFlight& flight, const engine::Environment& air, double seconds);

// The engine's outputs, the air and the position in FlightGear's units. The
// EGT and CHT fields carry cylinder 1; engine_inputs sets every channel.
FlightGearSample engine_sample(const engine::Outputs& out, const engine::Environment& air, const EngineFlight& flight);

// The raw inputs for one step: those of the sample, every EGT channel from
// its cylinder and every CHT channel after them from its cylinder (channels
// past the cylinder count start again at cylinder 1); an open probe reads the
// input's lowest value, a turning engine slower than the instrument can time
// reads as stopped.
std::vector<DrivenInput> engine_inputs(const engine::Outputs& out, const engine::Environment& air,
                                       const EngineFlight& flight, int cylinders);

} // namespace host
