// The program's first start: no remembered state, so the sensors are set to
// an engine standing still and the unit shows no alarm but those a stopped
// engine raises.
#pragma once

namespace host {

class TfrmMain;

// The preset a first start loads.
constexpr const char* FIRST_START_PRESET = "Engine off";

// On the first start (nothing remembered in the application's settings)
// loads FIRST_START_PRESET and remembers that the program has started;
// true when it loaded it.
bool first_start(TfrmMain& window);

} // namespace host
