// Screen dispatch: exactly one screen function is active; the main loop calls
// it once per pass. It redraws the whole LCD and consumes at most one key.
#pragma once
#include <cstdint>

namespace ems {

using ScreenFn = void (*)();

// Key codes: 1..5 soft keys left to right, 6 rotary push, 7 clockwise, 8 anticlockwise.
constexpr uint8_t KEY_NONE = 0;
constexpr uint8_t KEY_SOFT1 = 1;
constexpr uint8_t KEY_SOFT2 = 2;
constexpr uint8_t KEY_SOFT3 = 3;
constexpr uint8_t KEY_SOFT4 = 4;
constexpr uint8_t KEY_SOFT5 = 5;
constexpr uint8_t KEY_PUSH = 6;
constexpr uint8_t KEY_CW = 7;
constexpr uint8_t KEY_CCW = 8;

extern ScreenFn ScreenHandler; // the active screen; never null once the window exists
extern ScreenFn return_screen; // where a notice screen goes back to on any key
extern uint8_t KeyEvent;       // the one pending key, 0 when none

// Host side: a press is taken only when no key is pending; there is no queue.
void key_press(uint8_t code);

} // namespace ems
