// Text in the seven bitmap fonts (sizes 6, 8, 9, 10, 12, 16, 20).
#pragma once
#include <cstdint>

namespace ems {

constexpr uint8_t ALIGN_CENTRE = 0;
constexpr uint8_t ALIGN_LEFT = 1;
constexpr uint8_t ALIGN_RIGHT = 2;

// x of the first column and x just after the last column of the text drawn last.
extern int16_t text_start_x;
extern int16_t text_end_x;

// Draws a NUL-terminated string; y is the top row of the glyph cells.
// alignment: 1 left (starts at x), 2 right (ends at x), anything else centred on x.
void draw_text(int16_t x, int16_t y, const char* text, uint8_t size, uint8_t alignment,
               uint8_t colour);

} // namespace ems
