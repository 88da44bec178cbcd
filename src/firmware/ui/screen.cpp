#include "ui/screen.h"

namespace ems {

ScreenFn ScreenHandler = nullptr;
ScreenFn return_screen = nullptr;
uint8_t KeyEvent = 0;

void key_press(uint8_t code)
{
    if (KeyEvent == 0) KeyEvent = code;
}

} // namespace ems
