#include "pages/run_screen.h"

#include "gfx/draw.h"
#include "ui/screen.h"

namespace ems {

RunState run;

// The pages themselves come with the run-screen work; until then the screen is
// black and every key is consumed, as the screen contract requires.
void run_screen()
{
    clear_screen();
    KeyEvent = 0;
}

} // namespace ems
