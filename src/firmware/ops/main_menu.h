// The MAIN MENU: the seven icon tiles from which every setup and pilot page
// is reached, and to which their BACK keys return.
#pragma once

namespace ems {

// Screen handler of the MAIN MENU; menu_cursor is the selected tile (0..6).
void screen_main_menu();

} // namespace ems
