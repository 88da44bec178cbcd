// draw_text: anchoring and extents, fallback font, skipped codes, clipping,
// ink-only drawing, and golden sheets of every font.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "gfx/fonts.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "support/golden.h"

using namespace ems;

namespace {

class Text : public ::testing::Test {
protected:
    void SetUp() override { clear_screen(); }

    static std::vector<uint8_t> frame() { return {Framebuffer, Framebuffer + FRAME_BYTES}; }

    // Columns [lo, hi) that hold any non-zero pixel; lo = hi = -1 when none.
    static void ink_span(int& lo, int& hi)
    {
        lo = hi = -1;
        for (int x = 0; x < LCD_WIDTH; ++x)
            for (int y = 0; y < LCD_HEIGHT; ++y)
                if (Framebuffer[y * LCD_WIDTH + x]) {
                    if (lo < 0) lo = x;
                    hi = x + 1;
                    break;
                }
    }
};

TEST_F(Text, EmptyStringDrawsNothingAndAnchorsBothEnds)
{
    for (uint8_t align : {ALIGN_LEFT, ALIGN_RIGHT, ALIGN_CENTRE, uint8_t(7)}) {
        text_start_x = text_end_x = -99;
        draw_text(123, 40, "", 8, align, COLOUR_WHITE);
        EXPECT_EQ(text_start_x, 123) << int(align);
        EXPECT_EQ(text_end_x, 123) << int(align);
    }
    EXPECT_EQ(frame(), std::vector<uint8_t>(FRAME_BYTES, 0));
}

TEST_F(Text, ExitCentredInFont8)
{
    draw_text(36, 100, "EXIT", 8, ALIGN_CENTRE, COLOUR_WHITE);
    EXPECT_EQ(text_start_x, 19);
    EXPECT_EQ(text_end_x, 53);
    int lo, hi;
    ink_span(lo, hi);
    EXPECT_GE(lo, 19);
    EXPECT_LE(hi, 52); // the gap after the last glyph holds no ink
    // Odd advances round the half down: "EXIT." is 39 wide, so it starts 19 left of x.
    draw_text(100, 150, "EXIT.", 8, 0, COLOUR_WHITE);
    EXPECT_EQ(text_start_x, 81);
    EXPECT_EQ(text_end_x, 120);
}

TEST_F(Text, LeftAndRightAnchors)
{
    draw_text(10, 0, "EXIT", 8, ALIGN_LEFT, COLOUR_WHITE);
    EXPECT_EQ(text_start_x, 10);
    EXPECT_EQ(text_end_x, 44);

    clear_screen();
    draw_text(479, 200, "ALT 12500", 12, ALIGN_RIGHT, COLOUR_WHITE);
    EXPECT_EQ(text_end_x, 479);
    int lo, hi;
    ink_span(lo, hi);
    EXPECT_GE(lo, text_start_x);
    EXPECT_LE(hi - 1, 477); // last ink column at most x - 2
    EXPECT_EQ(text_start_x, 479 - text_advance(font_table(12), "ALT 12500"));
}

TEST_F(Text, UnlistedSizesUseFont8)
{
    draw_text(240, 100, "RPM 2450\xB0", 8, ALIGN_CENTRE, COLOUR_WHITE);
    const auto expected = frame();
    const int16_t start = text_start_x, end = text_end_x;
    for (uint8_t size : {0, 1, 7, 11, 14, 21, 255}) {
        clear_screen();
        draw_text(240, 100, "RPM 2450\xB0", size, ALIGN_CENTRE, COLOUR_WHITE);
        EXPECT_EQ(frame(), expected) << int(size);
        EXPECT_EQ(text_start_x, start);
        EXPECT_EQ(text_end_x, end);
    }
}

TEST_F(Text, CodesOutsideTheFontAreSkipped)
{
    // Font 12 holds 32..127 only: the degree sign, code 200 and code 5 add nothing.
    draw_text(100, 50, "OIL 85C", 12, ALIGN_RIGHT, COLOUR_WHITE);
    const auto expected = frame();
    const int16_t start = text_start_x, end = text_end_x;
    clear_screen();
    draw_text(100, 50, "\x05OIL 85\xB0" "C\xC8", 12, ALIGN_RIGHT, COLOUR_WHITE);
    EXPECT_EQ(frame(), expected);
    EXPECT_EQ(text_start_x, start);
    EXPECT_EQ(text_end_x, end);

    // Font 8 holds them: the degree sign takes its own width.
    draw_text(0, 100, "\xB0", 8, ALIGN_LEFT, COLOUR_WHITE);
    EXPECT_EQ(text_end_x, glyph_width(font_8_data, 0xB0) + 1);
}

TEST_F(Text, GlyphPixelsFollowTheTableBits)
{
    // Bit 7 of a glyph's first byte is its leftmost column; each row is
    // ceil(width / 8) bytes. Checked for a wide glyph of every font.
    for (uint8_t size : FONT_SIZES) {
        clear_screen();
        const uint8_t* font = font_table(size);
        Glyph g;
        ASSERT_TRUE(font_glyph(font, 'W', g));
        draw_text(7, 3, "W", size, ALIGN_LEFT, COLOUR_GREEN);
        for (int y = 0; y < LCD_HEIGHT; ++y)
            for (int x = 0; x < LCD_WIDTH; ++x) {
                const int gx = x - 7, gy = y - 3;
                bool ink = false;
                if (gx >= 0 && gx < g.width && gy >= 0 && gy < g.height)
                    ink = (g.bits[gy * g.row_bytes + gx / 8] << (gx % 8)) & 0x80;
                ASSERT_EQ(Framebuffer[y * LCD_WIDTH + x], ink ? COLOUR_GREEN : 0)
                    << "size " << int(size) << " at " << x << "," << y;
            }
    }
}

TEST_F(Text, ClippedAtEveryEdge)
{
    // The same text drawn whole at x = 100 and cut at the right edge: the
    // columns on the screen are identical.
    const char* s = "WARNING 88";
    draw_text(100, 100, s, 16, ALIGN_LEFT, COLOUR_WHITE);
    const auto whole = frame();
    clear_screen();
    draw_text(430, 100, s, 16, ALIGN_LEFT, COLOUR_WHITE);
    for (int y = 0; y < LCD_HEIGHT; ++y)
        for (int x = 430; x < LCD_WIDTH; ++x)
            ASSERT_EQ(Framebuffer[y * LCD_WIDTH + x], whole[size_t(y * LCD_WIDTH + x - 330)]) << x << "," << y;
    EXPECT_EQ(text_end_x, 430 + text_advance(font_table(16), s));

    // Cut at the left and top edges.
    clear_screen();
    draw_text(-20, -10, s, 16, ALIGN_LEFT, COLOUR_WHITE);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(Framebuffer[y * LCD_WIDTH + x], whole[size_t((y + 110) * LCD_WIDTH + x + 120)]);
    EXPECT_EQ(text_start_x, -20);

    // Cut at the bottom edge: only rows on the screen are written.
    clear_screen();
    draw_text(0, 260, s, 20, ALIGN_LEFT, COLOUR_WHITE);
    int rows = 0;
    for (int y = 0; y < LCD_HEIGHT; ++y)
        for (int x = 0; x < LCD_WIDTH; ++x)
            if (Framebuffer[y * LCD_WIDTH + x]) {
                EXPECT_GE(y, 260);
                ++rows;
                break;
            }
    EXPECT_GT(rows, 0);
}

TEST_F(Text, ClippedAtEveryColumnOfTheSideEdges)
{
    // Wide glyph rows (font 20's "W" spans several bytes) cut at each column
    // of the left and right edges, also in the first and last rows of the
    // frame: the whole frame is the text drawn in the middle, moved, with
    // nothing written anywhere else.
    draw_text(200, 100, "WM", 20, ALIGN_LEFT, COLOUR_WHITE);
    const auto whole = frame();
    std::vector<int> cuts;
    for (int x = -24; x <= 0; ++x) cuts.push_back(x);
    for (int x = 456; x <= 480; ++x) cuts.push_back(x);
    for (int y : {100, -20, 250})
        for (int x : cuts) {
            clear_screen();
            draw_text(int16_t(x), int16_t(y), "WM", 20, ALIGN_LEFT, COLOUR_WHITE);
            int wrong = 0;
            for (int r = 0; r < LCD_HEIGHT; ++r)
                for (int c = 0; c < LCD_WIDTH; ++c) {
                    const int from_c = c - x + 200, from_r = r - y + 100;
                    const bool inside = from_c >= 0 && from_c < LCD_WIDTH && from_r >= 0 && from_r < LCD_HEIGHT;
                    wrong += Framebuffer[r * LCD_WIDTH + c] != (inside ? whole[size_t(from_r * LCD_WIDTH + from_c)] : 0);
                }
            EXPECT_EQ(wrong, 0) << "text at " << x << "," << y;
        }
}

TEST_F(Text, FarOffTheScreenDrawsNothing)
{
    // Anchors near the ends of the 16-bit range must not wrap onto the screen.
    const char* s = "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM";
    draw_text(32700, 10, s, 20, ALIGN_LEFT, COLOUR_WHITE);
    draw_text(-32700, 10, s, 20, ALIGN_RIGHT, COLOUR_WHITE);
    draw_text(100, 32760, s, 20, ALIGN_LEFT, COLOUR_WHITE);
    draw_text(100, -32768, s, 20, ALIGN_LEFT, COLOUR_WHITE);
    EXPECT_EQ(frame(), std::vector<uint8_t>(FRAME_BYTES, 0));
}

TEST_F(Text, InkOnlyOverWhatIsThere)
{
    std::memset(Framebuffer, COLOUR_GREY, FRAME_BYTES);
    draw_text(50, 50, "88.8", 16, ALIGN_LEFT, COLOUR_WHITE);
    const auto white = frame();
    draw_text(50, 50, "88.8", 16, ALIGN_LEFT, COLOUR_RED);
    int red = 0;
    for (size_t i = 0; i < FRAME_BYTES; ++i) {
        if (white[i] == COLOUR_WHITE) {
            EXPECT_EQ(Framebuffer[i], COLOUR_RED);
            ++red;
        } else {
            EXPECT_EQ(Framebuffer[i], COLOUR_GREY); // the gaps between strokes stay
        }
    }
    EXPECT_GT(red, 100);
}

// Every glyph of a font, in code order, wrapped to the screen width, and a
// sample line below.
void draw_sheet(uint8_t size, const char* sample)
{
    clear_screen();
    const uint8_t* font = font_table(size);
    const int h = font_height(font);
    int y = 1;
    std::string line;
    auto flush = [&] {
        draw_text(2, int16_t(y), line.c_str(), size, ALIGN_LEFT, COLOUR_WHITE);
        y += h + 1;
        line.clear();
    };
    for (int code = std::max<int>(1, font_first_code(font)); code <= font_last_code(font); ++code) {
        const std::string next = line + char(code);
        if (text_advance(font, next.c_str()) > LCD_WIDTH - 4) flush();
        line += char(code);
    }
    flush();
    fill_rect(0, int16_t(y), LCD_WIDTH - 1, int16_t(y), COLOUR_GREY);
    draw_text(2, int16_t(y + 2), sample, size, ALIGN_LEFT, COLOUR_SILVER);
}

TEST_F(Text, GoldenSheets)
{
    struct Sheet {
        uint8_t size;
        const char* sample;
    };
    const Sheet sheets[] = {
        {6, "EGT 1 1450  CHT 4 385  OIL 78 PSI  FUEL 24.5 L/H"},
        {8, "EXIT  BACK  OAT -12\xB0" "C  12.8V  \x18\x19 \x1E\x1F"},
        {9, "MAP 28.4 INHG  FUEL REMAINING 86 L"},
        {10, "OIL TEMP 97\xB0" "C  \x80 12,50  \x01 OK"},
        {12, "ENGINE 5480 RPM"},
        {16, "VOLTS 13.8"},
        {20, "RPM 2450"},
    };
    for (const Sheet& s : sheets) {
        draw_sheet(s.size, s.sample);
        EXPECT_GOLDEN("text_font_" + std::to_string(s.size));
    }
}

TEST_F(Text, GoldenSamples)
{
    // A mock page: titles, right-aligned columns of digits, highlights.
    fill_rect(0, 0, 479, 24, COLOUR_RED);
    draw_text(240, 4, "ENGINE MONITOR SETUP", 12, ALIGN_CENTRE, COLOUR_WHITE);
    const char* labels[] = {"RPM", "MAP", "OIL PRESS", "OIL TEMP", "CHT 1", "EGT 1", "VOLTS"};
    const char* values[] = {"5480", "28.4", "4.7", "97\xB0" "C", "185\xB0" "C", "1450\xB0" "C", "13.8"};
    for (int i = 0; i < 7; ++i) {
        const int16_t y = int16_t(32 + i * 20);
        draw_text(8, y, labels[i], 10, ALIGN_LEFT, COLOUR_SILVER);
        draw_text(220, y, values[i], 10, ALIGN_RIGHT, COLOUR_WHITE);
    }
    draw_text(300, 32, "2450", 20, ALIGN_LEFT, COLOUR_GREEN);
    draw_text(text_end_x + 4, 50, "RPM", 9, ALIGN_LEFT, COLOUR_SILVER);
    draw_text(300, 80, "13.8", 16, ALIGN_LEFT, COLOUR_YELLOW);
    draw_text(text_end_x + 4, 94, "V", 8, ALIGN_LEFT, COLOUR_SILVER);
    draw_text(300, 120, "1111 0000", 12, ALIGN_LEFT, COLOUR_WHITE);
    draw_text(300, 146, "FUEL FLOW 24.5 L/H", 6, ALIGN_LEFT, COLOUR_CYAN);
    draw_text(300, 162, "ALARM: OIL PRESSURE LOW", 6, ALIGN_LEFT, COLOUR_RED);
    const char* keys[] = {"EXIT", "BACK", "\x18", "\x19", "SAVE"};
    for (int i = 0; i < 5; ++i) {
        const int16_t cx = int16_t(48 + i * 96);
        draw_rect(int16_t(cx - 44), 248, int16_t(cx + 44), 270, COLOUR_WHITE);
        draw_text(cx, 251, keys[i], 8, ALIGN_CENTRE, COLOUR_WHITE);
    }
    fill_rect(6, 200, 170, 222, COLOUR_WHITE);
    draw_text(10, 203, "HIGHLIGHTED ITEM", 10, ALIGN_LEFT, COLOUR_BLACK);
    draw_text(180, 203, "\x10 NEXT \x11", 10, ALIGN_LEFT, COLOUR_WHITE);
    EXPECT_GOLDEN("text_samples");
}

} // namespace
