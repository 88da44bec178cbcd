#include "gfx/present.h"

#include "system/platform.h"

namespace ems {

void present_frame() { platform().panel().present(); }

} // namespace ems
