#include "pages/minmax.h"

#include "system/hooks.h"

namespace ems {

// The record itself comes with the sensor subsystem.
void minmax_reset() { minmax_changed(); }

} // namespace ems
