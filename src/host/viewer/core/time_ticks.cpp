#include "host/viewer/core/time_ticks.h"

#include <cmath>
#include <initializer_list>

namespace host {

double time_tick_step(double span, int max_labels)
{
    static const double steps[] = {1,    2,    5,     10,    15,    30,    60,    120,   300,    600,
                                   900,  1800, 3600,  7200,  10800, 21600, 43200, 86400, 172800, 432000};
    if (max_labels < 1) max_labels = 1;
    if (!std::isfinite(span) || span <= 0) return steps[0];
    for (double s : steps)
        if (span / s <= max_labels) return s;
    const double least = span / max_labels;
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decade >= least) return m * decade;
    return 10 * decade;
}

long long time_tick_count(double t0, double t1, double step)
{
    if (!(t1 >= t0) || !(step > 0)) return 0;
    return (long long)(std::floor(t1 / step) - std::ceil(t0 / step)) + 1;
}

} // namespace host
