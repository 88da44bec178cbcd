// The run screen's overlay menus, opened with the rotary push (key 6). While
// tick.quick_menu_countdown is non-zero the run screen calls
// quick_menu_handler after its page and before the alarm box; the handler
// draws over the page and consumes every key the alarm box did not take.
//
// A quick menu is a box at the lower right listing its items from the bottom
// up, EXIT on top. Items come and go with the settings: each menu is one
// table of items with a `shown` rule, and both the count the run screen opens
// the menu with and the list drawn on every pass come from that table (the
// cursor is kept inside the list when settings change while it is open).
// Keys: 7 one item down (below the bottom comes the top), 8 one item up
// (above the top comes the bottom), both reloading the countdown; 6 runs the
// item under the cursor; every other key is swallowed. Left alone, a menu
// closes after 10 slow ticks (20 s).
#pragma once
#include <cstdint>

#include "ui/screen.h"

namespace ems {

struct QuickMenuState {
    ScreenFn quick_menu_handler = nullptr; // the open pop-up; null when none has been opened
    uint8_t quick_menu_count = 0;          // items of the open quick menu
};
extern QuickMenuState quick;

// Pop-ups installed by the run screen: engine page ("MENU" .. "EXIT", 5..12
// items), ECU and GPS pages ("MENU", "BACKLIGHT", "EXIT"), information display
// page ("MENU", "BACKLIGHT", "CHECKLISTS", "INFO PAGES", "EXIT").
void popup_quick_menu();
void popup_short_menu();
void popup_documents_menu();

// Items of the engine page's quick menu for the present configuration (5..12).
uint8_t engine_quick_menu_count();
// Items listed now by the quick menu behind popup (one of the three above;
// 0 for any other handler).
uint8_t quick_menu_count(ScreenFn popup);

// The backlight level, 2..31 (settings.backlight): 7 raises it by 2 (from
// above 28 to 31), 8 lowers it by 2 (from below 4 to 2), 6 closes.
void popup_backlight();

} // namespace ems
