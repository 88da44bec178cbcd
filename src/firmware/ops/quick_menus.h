// The run screen's overlay menus, opened with the rotary push (key 6). While
// tick.quick_menu_countdown is non-zero the run screen calls
// quick_menu_handler after its page and before the alarm box; the handler
// draws over the page and consumes every key the alarm box did not take.
//
// The menus' entries and actions come with the menu work; until then each
// pop-up is a placeholder box with the menu's title that closes on key 6
// (the menu opens with its EXIT entry selected).
#pragma once
#include <cstdint>

#include "ui/screen.h"

namespace ems {

struct QuickMenuState {
    ScreenFn quick_menu_handler = nullptr; // the open pop-up; null when none has been opened
    uint8_t quick_menu_count = 0;          // entries of the open quick menu
};
extern QuickMenuState quick;

// Pop-ups installed by the run screen: engine page, ECU and GPS pages,
// information display page.
void popup_quick_menu();
void popup_short_menu();
void popup_documents_menu();

// Entries of the engine page's quick menu for the present configuration (5..12).
uint8_t engine_quick_menu_count();

} // namespace ems
