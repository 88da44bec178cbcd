#include "ui/navigation.h"

namespace ems {

Navigation nav;

} // namespace ems
