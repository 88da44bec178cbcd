#include "system/raw_inputs.h"

namespace ems {

RawInputs raw;

} // namespace ems
