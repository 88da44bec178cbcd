#include "gfx/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "gfx/fonts.h"
#include "gfx/framebuffer.h"

namespace ems {

int16_t text_start_x = 0;
int16_t text_end_x = 0;

namespace {

// For a byte of glyph bits, the mask of the eight frame bytes it covers
// (leftmost pixel in the lowest byte, as a little-endian load sees them).
constexpr std::array<uint64_t, 256> build_spread()
{
    std::array<uint64_t, 256> t{};
    for (int bits = 0; bits < 256; ++bits)
        for (int k = 0; k < 8; ++k)
            if (bits & (0x80 >> k)) t[size_t(bits)] |= uint64_t(0xFF) << (8 * k);
    return t;
}
constexpr std::array<uint64_t, 256> SPREAD = build_spread();

// Eight pixels of a row at once, where all eight are on the screen.
inline void put_byte(uint8_t* px, unsigned bits, uint64_t fill)
{
    uint64_t v;
    std::memcpy(&v, px, 8);
    const uint64_t m = SPREAD[bits];
    v = (v & ~m) | (fill & m);
    std::memcpy(px, &v, 8);
}

// Only the set pixels of a byte, for the bytes cut by a screen edge; at is
// the frame offset of the byte's first column, which may lie off the screen.
inline void put_bits(int at, unsigned bits, uint8_t colour)
{
    while (bits != 0) {
        const int bit = std::countl_zero(uint8_t(bits));
        Framebuffer[at + bit] = colour;
        bits &= ~(0x80u >> bit);
    }
}

// Eight pixels at px under the mask m (0xFF for each pixel to set).
inline void put_masked(uint8_t* px, uint64_t m, uint64_t fill)
{
    uint64_t v;
    std::memcpy(&v, px, 8);
    v = (v & ~m) | (fill & m);
    std::memcpy(px, &v, 8);
}

// The usual case, a glyph whose inked rows and stored columns are all on the
// screen, drawn without a test per byte: each row goes out as whole frame
// words on the frame's 8-byte grid, the glyph's bytes shifted into place.
// Neighbouring glyphs then touch the same words, and a word read back soon
// after it was written comes straight from the store; a read straddling a
// recent store at another offset would wait for it to reach the cache.
// Blank rows above and below the ink are skipped. False for a glyph that is
// not wholly on the screen.
bool draw_glyph_aligned(int32_t x, int16_t y, const Glyph& g, uint64_t fill)
{
    static_assert(LCD_WIDTH % 8 == 0, "rows start on the word grid");
    if (std::endian::native != std::endian::little || x < 0 || y + g.ink_first < 0 || y + g.ink_end > LCD_HEIGHT)
        return false;
    const int offset = int(x) & 7;
    const int words = g.row_bytes + (offset != 0 ? 1 : 0);
    if (x - offset + 8 * words > LCD_WIDTH) return false;
    const int n = g.row_bytes;
    uint8_t* line = Framebuffer + (y + g.ink_first) * LCD_WIDTH + (x - offset);
    const uint8_t* row = g.bits + g.ink_first * n;
    if (offset == 0) {
        for (int r = g.ink_first; r < g.ink_end; ++r, row += n, line += LCD_WIDTH)
            for (int b = 0; b < n; ++b) put_masked(line + 8 * b, SPREAD[row[b]], fill);
        return true;
    }
    const unsigned up = 8u * unsigned(offset), down = 64u - up;
    if (n == 1) { // most glyphs: eight columns or fewer
        for (int r = g.ink_first; r < g.ink_end; ++r, ++row, line += LCD_WIDTH) {
            const uint64_t m = SPREAD[*row];
            put_masked(line, m << up, fill);
            put_masked(line + 8, m >> down, fill);
        }
        return true;
    }
    for (int r = g.ink_first; r < g.ink_end; ++r, row += n, line += LCD_WIDTH) {
        uint64_t carry = 0;
        for (int b = 0; b < n; ++b) {
            const uint64_t m = SPREAD[row[b]];
            put_masked(line + 8 * b, m << up | carry, fill);
            carry = m >> down;
        }
        put_masked(line + 8 * n, carry, fill);
    }
    return true;
}

// Draws the ink of one glyph with its left column at x, a row at a time:
// the glyph is clipped to the screen once, and each byte of a row is masked
// to its visible columns, so no pixel is tested on its own. Columns are
// worked out in 32 bits, so a glyph far off the screen is skipped rather
// than wrapped back onto it by 16-bit arithmetic.
void draw_glyph(int32_t x, int16_t y, const Glyph& g, uint8_t colour)
{
    const uint64_t fill = 0x0101010101010101ull * colour;
    if (draw_glyph_aligned(x, y, g, fill)) return;
    if (x >= LCD_WIDTH || x + g.width <= 0) return;
    const int row_first = std::max(int(g.ink_first), -int(y));
    const int row_end = std::min(int(g.ink_end), LCD_HEIGHT - int(y));
    if (row_first >= row_end) return;

    // Visible columns of the stored bits (all row_bytes * 8 of them), as a
    // range of bytes whose first and last are masked to their visible bits;
    // bytes whose eight columns are all on the screen are written whole.
    const int col_first = std::max(0, -int(x));
    const int col_end = std::min(8 * int(g.row_bytes), LCD_WIDTH - int(x));
    if (col_first >= col_end) return;
    const int byte_first = col_first / 8;
    const int byte_last = (col_end - 1) / 8;
    const unsigned first_mask = 0xFFu >> (col_first % 8);
    const unsigned last_mask = 0xFFu & ~(0xFFu >> (col_end - 8 * byte_last));
    const int whole_first = (col_first + 7) / 8;
    const int whole_end = std::endian::native == std::endian::little ? col_end / 8 : 0;

    const uint8_t* row = g.bits + size_t(row_first) * g.row_bytes;
    int line = (int(y) + row_first) * LCD_WIDTH + int(x); // frame offset of the glyph's column 0
    for (int r = row_first; r < row_end; ++r, row += g.row_bytes, line += LCD_WIDTH)
        for (int b = byte_first; b <= byte_last; ++b) {
            unsigned bits = row[b];
            if (b == byte_first) bits &= first_mask;
            if (b == byte_last) bits &= last_mask;
            if (bits == 0) continue;
            if (b >= whole_first && b < whole_end)
                put_byte(Framebuffer + line + 8 * b, bits, fill);
            else
                put_bits(line + 8 * b, bits, colour);
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
