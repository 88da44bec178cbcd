// TIMERS SETUP (main menu tile 3): UTC offset and date, hobbs meter,
// maintenance countdown and their start condition. So far the page shows only
// its frame (title, EXIT, BACK); its rows come with the timers work.
#pragma once

namespace ems {

void screen_timers_setup();

} // namespace ems
