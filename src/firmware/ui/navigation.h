// Navigation and edit state shared by the menu and setup pages. One page is
// active at a time; a page sets these before it hands over to another.
#pragma once
#include <cstdint>

namespace ems {

struct Navigation {
    uint8_t menu_cursor = 0;   // selected tile, row or item of the current page (0-based)
    uint8_t menu_scroll = 0;   // list item shown on the first screen row
    uint8_t edit_active = 0;   // 1 while the selected value is being edited
    uint8_t edit_cursor = 0;   // character being edited in a text value (0-based)
    uint16_t edit_step = 1;    // rotary step while editing: 1, 10, 100 or 1000 of the last digit
    uint16_t page_counter = 0; // page-local value, cleared on entering a list
};
extern Navigation nav;

} // namespace ems
