// The MIN/MAX page: the kept minimum and maximum readings (pages/minmax.h) in
// one or two columns over the run screen, with EXIT and RESET.
#pragma once

namespace ems {

// Overlay handler of the run screen (installed as quick_menu_handler): draws
// the page, keeps itself open (quick_menu_countdown = 10), EXIT (key 1)
// closes it, RESET (key 2) calls minmax_reset. Every key is consumed.
void screen_minmax();

} // namespace ems
