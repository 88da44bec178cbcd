#include "ops/main_menu.h"

#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

// For now only the frame of the menu: the title bar, EXIT, and every key
// consumed. The tiles come with the menu work.
void screen_main_menu()
{
    title_bar("", "MAIN MENU");
    soft_key_bar(0);
    if (KeyEvent == KEY_SOFT1) exit_to_run_screen();
    KeyEvent = KEY_NONE;
}

} // namespace ems
