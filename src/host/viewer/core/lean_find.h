// Finding the mixture sweeps of a flight: stretches in which the fuel flow
// falls steadily while RPM and manifold pressure hold, as when the pilot leans
// to find each cylinder's peak EGT. For each sweep: the order in which the
// cylinders peaked, the EGT and fuel flow at each peak, and the fuel-flow
// spread between the first and the last to peak (a small spread means the
// cylinders get much the same mixture).
#pragma once
#include <cstddef>
#include <vector>

#include "host/viewer/core/flight_data.h"

namespace host {

// The channels a sweep is read from.
constexpr const char* LEAN_FLOW_CHANNEL = "FLOW1";
constexpr const char* LEAN_RPM_CHANNEL = "RPM1";
constexpr const char* LEAN_MAP_CHANNEL = "MAP";

struct CylinderPeak {
    int cylinder = 0; // 1-based
    size_t row = 0;   // the record of the peak
    double egt = 0;
    double flow = 0;
};

struct LeanSweep {
    size_t begin_row = 0, end_row = 0;  // the records where the flow began and stopped falling
    std::vector<CylinderPeak> peaks;    // in the order the cylinders peaked
    std::vector<int> not_peaked;        // cylinders whose EGT did not pass a peak within the sweep
    // The flow at the first peak minus that at the last; 0 with fewer than two peaks.
    double flow_spread() const { return peaks.size() < 2 ? 0 : peaks.front().flow - peaks.back().flow; }
};

// The sweeps in the recording, in time order; none without a FLOW1 and an EGT channel.
std::vector<LeanSweep> find_lean_sweeps(const FlightData& data);

} // namespace host
