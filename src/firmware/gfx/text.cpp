#include "gfx/text.h"

#include "gfx/draw.h"
#include "gfx/fonts.h"
#include "gfx/framebuffer.h"

namespace ems {

int16_t text_start_x = 0;
int16_t text_end_x = 0;

namespace {

// Draws the ink of one glyph with its left column at x. Columns are worked
// out in 32 bits, so a glyph far off the screen is skipped rather than
// wrapped back onto it by 16-bit arithmetic.
void draw_glyph(int32_t x, int16_t y, const Glyph& g, uint8_t colour)
{
    if (x >= LCD_WIDTH || x + g.width <= 0) return;
    const uint8_t* row = g.bits;
    for (int r = 0; r < g.height; ++r, row += g.row_bytes) {
        const int16_t py = int16_t(y + r);
        for (int b = 0; b < g.row_bytes; ++b) {
            const uint8_t bits = row[b];
            if (bits == 0) continue;
            for (int bit = 0; bit < 8; ++bit)
                if (bits & (0x80 >> bit)) draw_pixel(int16_t(x + 8 * b + bit), py, colour);
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
