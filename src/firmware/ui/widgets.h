// Shared drawing pieces of the menu and setup pages.
#pragma once

namespace ems {

// Clears the screen and draws the page title bar: the logo, the title
// right-aligned on the first line, the subtitle on the second, and the line
// across row 40. Either text may be empty.
void draw_title_bar(const char* title, const char* subtitle);

} // namespace ems
