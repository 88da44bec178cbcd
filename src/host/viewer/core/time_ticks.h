// The step between the labels of a time axis in seconds: whole seconds,
// minutes, hours or days while those fit, then 1, 2 or 5 times a power of ten,
// so that however long the span there are never more than max_labels steps.
#pragma once

namespace host {

double time_tick_step(double span, int max_labels);

// The number of labels an axis from t0 to t1 shows at that step (those at whole
// multiples of it from 0).
long long time_tick_count(double t0, double t1, double step);

} // namespace host
