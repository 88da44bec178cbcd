// What the viewer works out of a recording besides its traces: the spread
// between the cylinders and a channel's figures over a stretch of time.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

#include "host/viewer/core/flight_data.h"

namespace host {

// Per record, the highest minus the lowest of the channels kind1, kind2 ...
// ("EGT" or "CHT"), NaN where fewer than two of them have a value.
std::vector<double> cylinder_spread(const FlightData& data, std::string_view kind);

// Adds "EGT SPREAD" and "CHT SPREAD" (derived channels, in the cylinders'
// unit) where the recording has two or more of those cylinders and no such
// channel yet.
void add_spread_channels(FlightData& data);
constexpr std::string_view SPREAD_SUFFIX = " SPREAD"; // after EGT or CHT
bool is_spread(std::string_view channel);

// A channel's lowest, highest and mean value over the records timed t0 to t1
// (both included); count is the records with a value, and the rest is NaN when
// there are none.
struct ChannelStats {
    double min = 0, max = 0, mean = 0;
    size_t count = 0;
};
ChannelStats channel_stats(const std::vector<double>& seconds, const std::vector<double>& values, double t0, double t1);

} // namespace host
