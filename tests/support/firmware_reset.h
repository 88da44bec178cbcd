// Puts the firmware's state back to its program-start values, one assignment
// per subsystem, so that tests do not see each other's leftovers.
#pragma once

namespace test {

void reset_firmware();

} // namespace test
