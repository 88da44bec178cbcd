// The kept minimum and maximum readings.
#pragma once

namespace ems {

// Seeds the min/max record from the present readings and calls minmax_changed.
void minmax_reset();

} // namespace ems
