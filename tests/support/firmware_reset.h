// Puts the firmware's state back to its program-start values, one assignment
// per subsystem, so that tests do not see each other's leftovers.
#pragma once

namespace test {

void reset_firmware();

// The receive handler's framing and the whole link it hands sentences over
// on, back to their start (reset_firmware clears only the link's flags); only
// while nothing feeds the receive handler.
void reset_nmea_link();

} // namespace test
