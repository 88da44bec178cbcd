// Probes of the frame buffer shared by the screen tests: one pixel, the
// pixels of one colour in a box, and whether a text shows where expected.
// Boxes are inclusive on both ends.
#pragma once
#include <cstdint>
#include <vector>

namespace test {

// A copy of the whole frame buffer, for comparing two renderings.
std::vector<uint8_t> frame();

// Palette index of pixel (x, y).
uint8_t px(int x, int y);

// Pixels of colour c inside x1..x2, y1..y2.
int count_in(int x1, int y1, int x2, int y2, uint8_t c);

// Whether colour c appears inside x1..x2, y1..y2.
bool any_in(int x1, int y1, int x2, int y2, uint8_t c);

// Pixels inside x1..x2, y1..y2 that are not black.
int ink_in(int x1, int y1, int x2, int y2);

// Whether columns x1..x2 of rows y .. y + rows - 1 hold exactly what
// draw_text(x, y, text, font 8, align, colour) puts there on a clear screen.
// The frame buffer is left as it was.
bool shows_text(int16_t x, int16_t y, const char* text, uint8_t align, uint8_t colour, int x1,
                int x2, int rows = 12);

} // namespace test
