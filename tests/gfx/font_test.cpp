// The seven font tables, parsed from their bytes: layout, sizes and the
// metrics the screens rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

#include "gfx/fonts.h"

using namespace ems;

namespace {

struct Expected {
    uint8_t size;
    const uint8_t* data;
    size_t bytes;
    int first, last, height, narrowest, widest, digit, one, space;
};

const Expected FONTS[] = {
    {6, font_6_data, FONT_6_BYTES, 32, 127, 14, 3, 11, 6, 6, 3},
    {8, font_8_data, FONT_8_BYTES, 0, 255, 16, 3, 14, 8, 7, 4},
    {9, font_9_data, FONT_9_BYTES, 32, 127, 19, 4, 16, 9, 9, 4},
    {10, font_10_data, FONT_10_BYTES, 0, 255, 21, 4, 21, 11, 11, 5},
    {12, font_12_data, FONT_12_BYTES, 32, 127, 24, 5, 21, 12, 12, 6},
    {16, font_16_data, FONT_16_BYTES, 32, 127, 33, 7, 27, 16, 16, 8},
    {20, font_20_data, FONT_20_BYTES, 32, 127, 41, 8, 34, 19, 19, 10},
};

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

class FontTable : public ::testing::TestWithParam<Expected> {};

// Header, character table and bitmaps, read byte by byte as the layout says.
TEST_P(FontTable, LayoutAndSize)
{
    const Expected& f = GetParam();
    const uint8_t* t = f.data;
    EXPECT_EQ(le16(t), 0);
    EXPECT_EQ(le16(t + 2), f.first);
    EXPECT_EQ(le16(t + 4), f.last);
    if (f.first == 0)
        EXPECT_EQ(t[6], 0);
    else
        EXPECT_TRUE(t[6] >= 44 && t[6] <= 68) << int(t[6]);
    EXPECT_EQ(t[7], f.height);

    const int n = f.last - f.first + 1;
    size_t expected_offset = 8 + 4 * size_t(n); // bitmaps follow the table without gaps
    for (int i = 0; i < n; ++i) {
        const uint8_t* e = t + 8 + 4 * i;
        const size_t offset = size_t(e[0]) << 16 | size_t(e[3]) << 8 | e[2];
        const int width = e[1];
        const int row_bytes = (width + 7) / 8;
        ASSERT_EQ(offset, expected_offset) << "code " << f.first + i;
        expected_offset += size_t(row_bytes) * f.height;
        ASSERT_LE(expected_offset, f.bytes) << "code " << f.first + i;
        // Bits beyond the width are clear.
        if (width % 8)
            for (int r = 0; r < f.height; ++r) {
                const uint8_t last = t[offset + size_t(r * row_bytes + row_bytes - 1)];
                EXPECT_EQ(last & (0xFF >> (width % 8)), 0) << "code " << f.first + i << " row " << r;
            }
    }
    // Font 20 alone ends in zero bytes: 41-row glyphs cannot fill 11912 bytes exactly.
    EXPECT_EQ(f.bytes - expected_offset, f.size == 20 ? 40u : 0u);
    for (size_t i = expected_offset; i < f.bytes; ++i) EXPECT_EQ(t[i], 0);
}

TEST_P(FontTable, Metrics)
{
    const Expected& f = GetParam();
    const uint8_t* t = f.data;
    int narrowest = 255, widest = 0;
    for (int c = f.first; c <= f.last; ++c) {
        narrowest = std::min<int>(narrowest, glyph_width(t, uint8_t(c)));
        widest = std::max<int>(widest, glyph_width(t, uint8_t(c)));
    }
    EXPECT_EQ(narrowest, f.narrowest);
    EXPECT_EQ(widest, f.widest);
    for (char d = '0'; d <= '9'; ++d)
        EXPECT_EQ(glyph_width(t, uint8_t(d)), d == '1' ? f.one : f.digit) << d;
    EXPECT_EQ(glyph_width(t, ' '), f.space);
    EXPECT_EQ(font_height(t), f.height);
}

// Every printable character has ink, and it stays inside the glyph's cell
// rows; the space has none.
TEST_P(FontTable, PrintableGlyphsHaveInk)
{
    const Expected& f = GetParam();
    for (int c = std::max(f.first, 1); c <= f.last; ++c) {
        Glyph g;
        ASSERT_TRUE(font_glyph(f.data, uint8_t(c), g));
        int ink = 0;
        for (int i = 0; i < g.row_bytes * g.height; ++i) ink += g.bits[i] != 0;
        const bool blank = c == ' ' || c == 0xA0; // space and no-break space
        EXPECT_EQ(ink == 0, blank) << "size " << int(f.size) << " code " << c;
    }
}

INSTANTIATE_TEST_SUITE_P(AllFonts, FontTable, ::testing::ValuesIn(FONTS),
                         [](const auto& info) { return "Font" + std::to_string(info.param.size); });

TEST(Fonts, TellingWidths)
{
    struct W {
        uint8_t size;
        char c;
        int width;
    };
    const W widths[] = {{8, 'A', 9},  {8, 'W', 13},  {8, 'i', 4},  {8, '.', 4},  {8, 'E', 9},  {8, 'X', 9},  {8, 'I', 4},  {8, 'T', 8},  {16, 'A', 19},
                        {16, 'W', 27}, {16, 'i', 8}, {20, 'A', 23}, {20, 'W', 33}, {20, 'i', 9}};
    for (const W& w : widths)
        EXPECT_EQ(glyph_width(font_table(w.size), uint8_t(w.c)), w.width) << int(w.size) << " " << w.c;
    // "EXIT" in font 8: 9, 9, 4, 8.
    EXPECT_EQ(text_advance(font_8_data, "EXIT"), 34);
}

TEST(Fonts, SelectionBySizeNumber)
{
    EXPECT_EQ(font_table(6), font_6_data);
    EXPECT_EQ(font_table(8), font_8_data);
    EXPECT_EQ(font_table(9), font_9_data);
    EXPECT_EQ(font_table(10), font_10_data);
    EXPECT_EQ(font_table(12), font_12_data);
    EXPECT_EQ(font_table(16), font_16_data);
    EXPECT_EQ(font_table(20), font_20_data);
    for (uint8_t other : {0, 1, 7, 11, 14, 17, 200, 255}) EXPECT_EQ(font_table(other), font_8_data) << int(other);
}

TEST(Fonts, CodesOutsideTheRange)
{
    Glyph g{};
    EXPECT_FALSE(font_glyph(font_12_data, 31, g));
    EXPECT_FALSE(font_glyph(font_12_data, 0xB0, g));
    EXPECT_EQ(g.bits, nullptr); // untouched
    EXPECT_EQ(glyph_width(font_6_data, 128), 0);
    EXPECT_TRUE(font_glyph(font_12_data, 127, g));
    EXPECT_EQ(text_advance(font_6_data, "\x01\xB0"), 0);
    EXPECT_EQ(text_advance(font_8_data, "\x01\xB0"),
              glyph_width(font_8_data, 1) + glyph_width(font_8_data, 0xB0) + 2);
}

} // namespace
