// What a FlightGear line does to the simulated instrument: the raw inputs
// that make the firmware read the engine and fuel figures (through the
// inverse conversions of sensors/sensor_inverse.h, under the present
// settings), and the NMEA sentences a receiver at the aircraft's position
// would send.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/flightgear/core/flightgear_line.h"

namespace host {

// The raw inputs the link drives; index is the channel, input or tank.
enum class SimInput : uint8_t { Tc, Aux, FlowPulses, FuelLevel, Volts, Oat, Map, RpmPeriod };

struct DrivenInput {
    SimInput input;
    uint8_t index;
    int32_t value; // the raw value, within its slider's range
};

// The raw inputs for one sample: RPM 1, MAP, EGT on every EGT channel and CHT
// on every CHT channel, oil temperature on the first analog input in
// temperature mode and oil pressure on the first in pressure mode (none when
// no input has that mode), fuel flow on sender 1, both tank levels, volts and
// OAT. Negative flows, levels and pressures count as 0.
std::vector<DrivenInput> flightgear_inputs(const FlightGearSample& sample);

struct UtcStamp {
    int year = 2026, month = 1, day = 1; // month 1..12
    int hour = 0, minute = 0, second = 0;
};

// RMC, GGA, GSA and one GSV sentence (talker GP, CR LF) of a 3-D fix with
// eight satellites at the sample's position, altitude, ground speed and
// track. The eight satellites take two GSV sentences; gsv_part 0 or 1 picks
// the one to send, so that fixes sent in turn give the whole sky.
std::string flightgear_nmea(const FlightGearSample& sample, const UtcStamp& time, int gsv_part = 0);

} // namespace host
