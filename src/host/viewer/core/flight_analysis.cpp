#include "host/viewer/core/flight_analysis.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace host {

std::vector<double> cylinder_spread(const FlightData& data, std::string_view kind)
{
    std::vector<const FlightChannel*> cylinders;
    for (const FlightChannel& c : data.channels)
        if (channel_cylinder(c.name) > 0 && std::string_view(c.name).substr(0, kind.size()) == kind)
            cylinders.push_back(&c);
    std::vector<double> spread(data.seconds.size(), std::numeric_limits<double>::quiet_NaN());
    for (size_t r = 0; r < spread.size(); ++r) {
        double lo = INFINITY, hi = -INFINITY;
        int with_value = 0;
        for (const FlightChannel* c : cylinders) {
            const double v = c->values[r];
            if (std::isnan(v)) continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            ++with_value;
        }
        if (with_value >= 2) spread[r] = hi - lo;
    }
    return spread;
}

bool is_spread(std::string_view c)
{
    return c.size() > SPREAD_SUFFIX.size() && c.substr(c.size() - SPREAD_SUFFIX.size()) == SPREAD_SUFFIX;
}

void add_spread_channels(FlightData& data)
{
    for (std::string_view kind : {"EGT", "CHT"}) {
        const std::string name = std::string(kind) + std::string(SPREAD_SUFFIX);
        const FlightChannel* first = nullptr;
        int cylinders = 0;
        for (const FlightChannel& c : data.channels) {
            if (channel_cylinder(c.name) == 0 || c.name.compare(0, kind.size(), kind) != 0) continue;
            if (!first) first = &c;
            ++cylinders;
        }
        if (cylinders < 2 || find_channel(data, name)) continue;
        FlightChannel spread{name, first->unit, cylinder_spread(data, kind), true};
        data.channels.push_back(std::move(spread));
    }
}

ChannelStats channel_stats(const std::vector<double>& seconds, const std::vector<double>& values, double t0, double t1)
{
    ChannelStats s;
    const size_t n = std::min(seconds.size(), values.size());
    const auto begin = seconds.begin();
    const size_t first = size_t(std::lower_bound(begin, begin + long(n), t0) - begin);
    const size_t last = size_t(std::upper_bound(begin, begin + long(n), t1) - begin);
    double sum = 0;
    s.min = INFINITY;
    s.max = -INFINITY;
    for (size_t i = first; i < last; ++i) {
        if (std::isnan(values[i])) continue;
        s.min = std::min(s.min, values[i]);
        s.max = std::max(s.max, values[i]);
        sum += values[i];
        ++s.count;
    }
    if (s.count == 0) s.min = s.max = s.mean = std::numeric_limits<double>::quiet_NaN();
    else s.mean = sum / double(s.count);
    return s;
}

} // namespace host
