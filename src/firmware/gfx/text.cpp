#include "gfx/text.h"

#include <algorithm>
#include <bit>

#include "gfx/fonts.h"
#include "gfx/framebuffer.h"

namespace ems {

int16_t text_start_x = 0;
int16_t text_end_x = 0;

namespace {

// Draws the ink of one glyph with its left column at x, a row at a time:
// the glyph is clipped to the screen once, and each byte of a row is masked
// to its visible columns, so a pixel costs only its own write. Columns are
// worked out in 32 bits, so a glyph far off the screen is skipped rather
// than wrapped back onto it by 16-bit arithmetic.
void draw_glyph(int32_t x, int16_t y, const Glyph& g, uint8_t colour)
{
    if (x >= LCD_WIDTH || x + g.width <= 0) return;
    const int row_first = std::max(0, -int(y));
    const int row_end = std::min(int(g.height), LCD_HEIGHT - int(y));
    if (row_first >= row_end) return;

    // Visible columns of the stored bits (all row_bytes * 8 of them), as a
    // range of bytes whose first and last are masked to their visible bits.
    const int col_first = std::max(0, -int(x));
    const int col_end = std::min(8 * int(g.row_bytes), LCD_WIDTH - int(x));
    if (col_first >= col_end) return;
    const int byte_first = col_first / 8;
    const int byte_last = (col_end - 1) / 8;
    const unsigned first_mask = 0xFFu >> (col_first % 8);
    const unsigned last_mask = 0xFFu & ~(0xFFu >> (col_end - 8 * byte_last));

    const uint8_t* row = g.bits + size_t(row_first) * g.row_bytes;
    int line = (int(y) + row_first) * LCD_WIDTH + int(x); // frame offset of the glyph's column 0
    for (int r = row_first; r < row_end; ++r, row += g.row_bytes, line += LCD_WIDTH)
        for (int b = byte_first; b <= byte_last; ++b) {
            unsigned bits = row[b];
            if (b == byte_first) bits &= first_mask;
            if (b == byte_last) bits &= last_mask;
            while (bits != 0) {
                const int bit = std::countl_zero(uint8_t(bits));
                Framebuffer[line + 8 * b + bit] = colour;
                bits &= ~(0x80u >> bit);
            }
        }
}

} // namespace

void draw_text(int16_t x, int16_t y, const char* text, uint8_t size, uint8_t alignment,
               uint8_t colour)
{
    const uint8_t* font = font_table(size);
    int32_t s = x;
    if (alignment == ALIGN_RIGHT)
        s = x - text_advance(font, text);
    else if (alignment != ALIGN_LEFT)
        s = x - text_advance(font, text) / 2;
    text_start_x = int16_t(s);
    for (const char* p = text; *p; ++p) {
        Glyph g;
        if (!font_glyph(font, uint8_t(*p), g)) continue; // not in this font: skipped
        draw_glyph(s, y, g, colour);
        s += g.width + 1;
    }
    text_end_x = int16_t(s);
}

} // namespace ems
