// The LCD image and the background picture, 480 x 272 palette indices each,
// pixel (x, y) at y * 480 + x, origin top-left, y downward.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

constexpr int LCD_WIDTH = 480;
constexpr int LCD_HEIGHT = 272;
constexpr size_t FRAME_BYTES = size_t(LCD_WIDTH) * LCD_HEIGHT; // 130560

// The frame every screen draws into; 0 (black) is the cleared state. Aligned,
// so that every row starts on a word boundary for the text drawing.
alignas(64) extern uint8_t Framebuffer[FRAME_BYTES];
// The loaded picture (splash, document pages), copied into the frame by copy_background.
extern uint8_t background_buffer[FRAME_BYTES];

} // namespace ems
