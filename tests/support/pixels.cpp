#include "support/pixels.h"

#include <algorithm>
#include <vector>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"

namespace test {

using namespace ems;

std::vector<uint8_t> frame() { return {Framebuffer, Framebuffer + FRAME_BYTES}; }

uint8_t px(int x, int y) { return Framebuffer[y * LCD_WIDTH + x]; }

int count_in(int x1, int y1, int x2, int y2, uint8_t c)
{
    int n = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) n += px(x, y) == c;
    return n;
}

bool any_in(int x1, int y1, int x2, int y2, uint8_t c) { return count_in(x1, y1, x2, y2, c) > 0; }

int ink_in(int x1, int y1, int x2, int y2)
{
    return (x2 - x1 + 1) * (y2 - y1 + 1) - count_in(x1, y1, x2, y2, COLOUR_BLACK);
}

bool shows_text(int16_t x, int16_t y, const char* text, uint8_t align, uint8_t colour, int x1,
                int x2, int rows)
{
    std::vector<uint8_t> saved(Framebuffer, Framebuffer + FRAME_BYTES);
    clear_screen();
    draw_text(x, y, text, 8, align, colour);
    std::vector<uint8_t> expected(Framebuffer, Framebuffer + FRAME_BYTES);
    std::copy(saved.begin(), saved.end(), Framebuffer);
    for (int yy = y; yy < y + rows; ++yy)
        for (int xx = x1; xx <= x2; ++xx)
            if (saved[yy * LCD_WIDTH + xx] != expected[yy * LCD_WIDTH + xx]) return false;
    return true;
}

} // namespace test
