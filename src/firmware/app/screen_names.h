// The names of the screen and pop-up functions, so that scripts can tell
// where the instrument is: "run_screen", "screen_main_menu", "popup_timer" ...
#pragma once

#include "ui/screen.h"

namespace ems {

// The function's own name; "unknown" for a function not in the table, "none" for null.
const char* screen_name(ScreenFn fn);
// The active screen's name.
const char* active_screen_name();
// The open pop-up's name (quick_menu_handler while quick_menu_countdown is
// non-zero and the run screen is active), else "none".
const char* open_popup_name();

} // namespace ems
