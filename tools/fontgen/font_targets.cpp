#include "font_targets.h"

namespace fontgen {

const std::vector<FontDesign>& font_targets()
{
    // Widths are glyph widths; the text advances by width + 1.
    static const std::vector<FontDesign> designs = {
        {6, 10.0, 14, 11, 32, 127, 3, 11, 6, 6, 3, 1820, 44, {}},
        {8, 13.0, 16, 12, 0, 255, 3, 14, 8, 7, 4, 6712, 0,
         {{'A', 9}, {'W', 13}, {'i', 4}, {'.', 4}, {'E', 9}, {'X', 9}, {'I', 4}, {'T', 8}}},
        {9, 15.0, 19, 14, 32, 127, 4, 16, 9, 9, 4, 3527, 50, {}},
        {10, 17.0, 21, 16, 0, 255, 4, 21, 11, 11, 5, 10776, 0, {}},
        {12, 19.0, 24, 18, 32, 127, 5, 21, 12, 12, 6, 4496, 56, {}},
        {16, 25.0, 33, 25, 32, 127, 7, 27, 16, 16, 8, 7817, 62,
         {{'A', 19}, {'W', 27}, {'i', 8}}},
        {20, 30.0, 41, 31, 32, 127, 8, 34, 19, 19, 10, 11912, 68,
         {{'A', 23}, {'W', 33}, {'i', 9}, {127, 34}}},
    };
    return designs;
}

namespace {

// Windows-1252 codes 0x80..0x9F; 0 where the code page has no character.
const uint32_t CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Symbols at codes 1..31 (documented in src/firmware/gfx/fonts.h).
const uint32_t SYMBOLS[32] = {
    0,      0x2713, 0x2717, 0x26A0, 0x25C6, 0x25CF, 0x25CB, 0x2022,
    0x25A0, 0x25A1, 0x25B3, 0x25BD, 0x2197, 0x2198, 0x21BB, 0x263C,
    0x25B6, 0x25C0, 0x2195, 0x21BA, 0x2261, 0x2708, 0x2699, 0x26A1,
    0x2191, 0x2193, 0x2192, 0x2190, 0x2744, 0x2194, 0x25B2, 0x25BC,
};

} // namespace

uint32_t code_to_unicode(int code)
{
    if (code < 32) return SYMBOLS[code];
    if (code == 127) return EMPTY_BOX;
    if (code >= 0x80 && code < 0xA0) return CP1252_HIGH[code - 0x80];
    return uint32_t(code);
}

bool render_unhinted(uint32_t unicode)
{
    // sun, double arrow, aeroplane, gear, snowflake
    return unicode == 0x263C || unicode == 0x2194 || unicode == 0x2708 || unicode == 0x2699 ||
           unicode == 0x2744;
}

} // namespace fontgen
