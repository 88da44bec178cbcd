#include "gfx/fonts.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace ems {
namespace {

uint16_t read_u16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

} // namespace

const uint8_t* font_table(uint8_t size)
{
    switch (size) {
    case 6: return font_6_data;
    case 9: return font_9_data;
    case 10: return font_10_data;
    case 12: return font_12_data;
    case 16: return font_16_data;
    case 20: return font_20_data;
    default: return font_8_data;
    }
}

uint16_t font_first_code(const uint8_t* font) { return read_u16(font + FONT_OFFSET_FIRST); }
uint16_t font_last_code(const uint8_t* font) { return read_u16(font + FONT_OFFSET_LAST); }
uint8_t font_height(const uint8_t* font) { return font[FONT_OFFSET_HEIGHT]; }

namespace {

// The glyph as stored, without its ink rows.
bool stored_glyph(const uint8_t* font, uint8_t code, Glyph& glyph)
{
    const uint16_t first = font_first_code(font);
    if (code < first || code > font_last_code(font)) return false;
    const uint8_t* e = font + FONT_HEADER_BYTES + FONT_ENTRY_BYTES * size_t(code - first);
    const uint32_t offset = uint32_t(e[0]) << 16 | uint32_t(e[3]) << 8 | e[2];
    glyph.bits = font + offset;
    glyph.width = e[1];
    glyph.height = font_height(font);
    glyph.row_bytes = uint8_t((e[1] + 7) / 8);
    glyph.ink_first = 0;
    glyph.ink_end = glyph.height;
    return true;
}

// The rows of each glyph that hold ink. About half of a glyph's rows are
// blank (above the capitals, below the baseline), and text drawing skips
// them; every table is scanned once, on first use.
struct InkRows {
    uint8_t first = 0, end = 0;
};
struct FontInk {
    const uint8_t* font = nullptr;
    InkRows rows[256];
};

FontInk scan_ink(const uint8_t* font)
{
    FontInk ink;
    ink.font = font;
    for (int code = 0; code < 256; ++code) {
        Glyph g;
        if (!stored_glyph(font, uint8_t(code), g)) continue;
        int first = g.height, end = 0;
        for (int r = 0; r < g.height; ++r)
            for (int b = 0; b < g.row_bytes; ++b)
                if (g.bits[r * g.row_bytes + b] != 0) {
                    first = std::min(first, r);
                    end = r + 1;
                }
        if (end != 0) ink.rows[code] = {uint8_t(first), uint8_t(end)};
    }
    return ink;
}

// The ink rows of a table's glyphs; null for a table that is not one of the fonts.
const InkRows* ink_rows(const uint8_t* font)
{
    static const std::array<FontInk, std::size(FONT_SIZES)> scanned = [] {
        std::array<FontInk, std::size(FONT_SIZES)> all;
        for (size_t i = 0; i < all.size(); ++i) all[i] = scan_ink(font_table(FONT_SIZES[i]));
        return all;
    }();
    for (const FontInk& f : scanned)
        if (f.font == font) return f.rows;
    return nullptr;
}

} // namespace

bool font_glyph(const uint8_t* font, uint8_t code, Glyph& glyph)
{
    if (!stored_glyph(font, code, glyph)) return false;
    if (const InkRows* ink = ink_rows(font)) {
        glyph.ink_first = ink[code].first;
        glyph.ink_end = ink[code].end;
    }
    return true;
}

uint8_t glyph_width(const uint8_t* font, uint8_t code)
{
    Glyph g;
    return stored_glyph(font, code, g) ? g.width : 0;
}

int32_t text_advance(const uint8_t* font, const char* text)
{
    int32_t advance = 0;
    for (const char* p = text; *p; ++p) {
        Glyph g;
        if (stored_glyph(font, uint8_t(*p), g)) advance += g.width + 1; // widths only: no ink rows needed
    }
    return advance;
}

} // namespace ems
