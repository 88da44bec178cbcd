#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <utility>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "support/golden.h"
#include "support/pixels.h"

using namespace ems;
using test::px;

namespace {

using Pixels = std::set<std::pair<int, int>>;

// Every lit pixel of the frame as (x, y).
Pixels lit()
{
    Pixels out;
    for (int y = 0; y < LCD_HEIGHT; ++y)
        for (int x = 0; x < LCD_WIDTH; ++x)
            if (Framebuffer[y * LCD_WIDTH + x]) out.insert({x, y});
    return out;
}

class Draw : public ::testing::Test {
protected:
    void SetUp() override
    {
        build_trig_tables();
        clear_screen();
    }
};

} // namespace

TEST_F(Draw, PixelClipsAtEveryEdge)
{
    draw_pixel(480, 0, COLOUR_WHITE);
    draw_pixel(0, 272, COLOUR_WHITE);
    draw_pixel(-1, 5, COLOUR_WHITE);
    draw_pixel(-32768, -32768, COLOUR_WHITE);
    draw_pixel(32767, 0, COLOUR_WHITE);
    EXPECT_TRUE(lit().empty());
    draw_pixel(0, 0, COLOUR_WHITE);
    draw_pixel(479, 271, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{0, 0}, {479, 271}}));
}

TEST_F(Draw, LineFollowsBresenhamWithStrictDiagonal)
{
    draw_line(10, 10, 10, 10, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{10, 10}}));

    clear_screen();
    draw_line(0, 0, 4, 2, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));

    // Backwards the decisions fall differently: d == 0 steps straight.
    clear_screen();
    draw_line(4, 2, 0, 0, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{4, 2}, {3, 2}, {2, 1}, {1, 1}, {0, 0}}));

    clear_screen();
    draw_line(0, 0, 2, 4, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}));
}

TEST_F(Draw, LineClipsPerPixelAndSurvivesExtremeEnds)
{
    draw_line(-10, 5, 10, 5, COLOUR_WHITE);
    Pixels row;
    for (int x = 0; x <= 10; ++x) row.insert({x, 5});
    EXPECT_EQ(lit(), row);

    // Corner to corner of the whole 16-bit plane: only the on-screen diagonal shows.
    clear_screen();
    draw_line(-32768, -32768, 32767, 32767, COLOUR_WHITE);
    Pixels diag;
    for (int i = 0; i < LCD_HEIGHT; ++i) diag.insert({i, i});
    EXPECT_EQ(lit(), diag);

    clear_screen();
    draw_thick_line(-32768, 300, 32767, 300, COLOUR_WHITE);
    draw_thick_line(500, -32768, 500, 32767, COLOUR_WHITE);
    EXPECT_TRUE(lit().empty());
}

TEST_F(Draw, ThickLineIsAPlusSignPerStep)
{
    draw_thick_line(10, 10, 12, 10, COLOUR_WHITE);
    Pixels want;
    for (int x = 9; x <= 13; ++x) want.insert({x, 10});
    for (int x = 10; x <= 12; ++x) want.insert({x, 9}), want.insert({x, 11});
    EXPECT_EQ(lit(), want);

    clear_screen();
    draw_thick_line(0, 0, 0, 0, COLOUR_WHITE); // the arms off the screen do not wrap round
    EXPECT_EQ(lit(), (Pixels{{0, 0}, {1, 0}, {0, 1}}));
}

TEST_F(Draw, HlineVlineRectAndFillBounds)
{
    draw_hline(5, 4, 7, COLOUR_WHITE);
    draw_vline(5, 4, 7, COLOUR_WHITE);
    fill_rect(10, 20, 30, 20, COLOUR_WHITE);
    draw_rect(10, 20, 30, 20, COLOUR_WHITE);
    EXPECT_TRUE(lit().empty());

    draw_hline(5, 5, 7, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{5, 7}}));

    clear_screen();
    fill_rect(10, 20, 30, 21, 9);
    EXPECT_EQ(lit().size(), 42u);
    EXPECT_EQ(px(10, 20), 9);
    EXPECT_EQ(px(30, 21), 9);
    EXPECT_EQ(px(31, 21), COLOUR_BLACK);

    clear_screen();
    draw_rect(10, 20, 30, 25, COLOUR_WHITE);
    EXPECT_EQ(lit().size(), 2u * 21 + 2u * 4);
    EXPECT_EQ(px(20, 22), COLOUR_BLACK);
    EXPECT_EQ(px(10, 22), COLOUR_WHITE);
    EXPECT_EQ(px(30, 25), COLOUR_WHITE);
}

// On the unit these four write the buffer directly; here pixels off the
// screen are dropped instead of landing on the neighbouring row or outside.
TEST_F(Draw, DirectWritersDropOffScreenPixels)
{
    draw_hline(470, 500, 10, COLOUR_WHITE);
    draw_hline(-5, 3, 1, COLOUR_WHITE);
    Pixels want;
    for (int x = 470; x < 480; ++x) want.insert({x, 10});
    for (int x = 0; x <= 3; ++x) want.insert({x, 1});
    EXPECT_EQ(lit(), want);

    clear_screen();
    draw_hline(0, 479, -1, COLOUR_WHITE);
    draw_hline(0, 479, 272, COLOUR_WHITE);
    draw_hline(-32768, 32767, 32767, COLOUR_WHITE);
    draw_vline(0, 271, -1, COLOUR_WHITE);
    draw_vline(0, 271, 480, COLOUR_WHITE);
    draw_vline(-32768, -1, 3, COLOUR_WHITE);
    EXPECT_TRUE(lit().empty());

    draw_vline(-5, 300, 3, COLOUR_WHITE);
    EXPECT_EQ(lit().size(), size_t(LCD_HEIGHT));

    clear_screen();
    fill_rect(-32768, -32768, 32767, 32767, COLOUR_WHITE);
    EXPECT_EQ(lit().size(), FRAME_BYTES);

    clear_screen();
    draw_rect(-5, 10, 500, 20, COLOUR_WHITE); // both side edges are off the screen
    EXPECT_EQ(lit().size(), 2u * LCD_WIDTH);
}

TEST_F(Draw, DashPatternCountsOnlyOnScreenPixels)
{
    const Pixels want = {{0, 3},  {1, 3},  {2, 3},  {3, 3},  {4, 3},  {11, 3}, {12, 3},
                         {13, 3}, {14, 3}, {21, 3}, {22, 3}, {23, 3}, {24, 3}};
    draw_hline_dashed(0, 29, 3, COLOUR_WHITE);
    EXPECT_EQ(lit(), want);

    clear_screen();
    draw_hline_dashed(-100, 29, 3, COLOUR_WHITE);
    EXPECT_EQ(lit(), want);

    clear_screen();
    draw_hline_dashed(0, 479, 272, COLOUR_WHITE);
    draw_hline_dashed(0, 479, -1, COLOUR_WHITE);
    EXPECT_TRUE(lit().empty());

    draw_hline_dashed(470, 600, 0, COLOUR_WHITE); // first dash 470..474, gap, 481.. is off
    EXPECT_EQ(lit().size(), 5u);
}

TEST_F(Draw, CirclePointsFromTheMidpointRule)
{
    draw_circle(50, 50, 0, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{50, 50}}));

    clear_screen();
    draw_circle(50, 50, 1, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{50, 51}, {50, 49}, {51, 50}, {49, 50}}));

    // p starts at (5 - 8) / 4 = 0 (truncated), so r = 2 steps straight to the diagonal.
    clear_screen();
    draw_circle(50, 50, 2, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{50, 52}, {50, 48}, {52, 50}, {48, 50},
                             {51, 51}, {49, 51}, {51, 49}, {49, 49}}));

}

TEST_F(Draw, CirclesArcsAndBandsClipWithoutWrapping)
{
    draw_circle(0, 0, 10, COLOUR_WHITE);
    for (const auto& [x, y] : lit()) {
        EXPECT_LE(x, 10);
        EXPECT_LE(y, 10);
    }
    EXPECT_EQ(px(10, 0), COLOUR_WHITE);
    EXPECT_EQ(px(0, 10), COLOUR_WHITE);

    clear_screen();
    draw_circle(240, 136, 32767, COLOUR_WHITE);
    draw_circle(-32768, -32768, 5, COLOUR_WHITE);
    draw_radial_band(32767, 32767, 32767, 32767, -360, 360, COLOUR_WHITE);
    draw_radial_band_mirrored(-32768, -100, 0, 32767, -360, 360, COLOUR_WHITE);
    draw_arc_mirrored(-32768, 32767, 32767, -360, 360, COLOUR_WHITE);
    EXPECT_TRUE(lit().empty());
}

TEST_F(Draw, AngleTablesAndRangeReduction)
{
    EXPECT_FLOAT_EQ(sin_deg(90), 1.0f);
    EXPECT_FLOAT_EQ(sin_deg(-90), -1.0f);
    EXPECT_FLOAT_EQ(cos_deg(180), -1.0f);
    EXPECT_FLOAT_EQ(sin_deg(-30), -0.5f);
    // Beyond one turn the angle is reduced by whole turns, keeping its sign.
    EXPECT_EQ(sin_deg(450), sin_deg(90));
    EXPECT_EQ(cos_deg(32767), cos_deg(32767 % 360));
    EXPECT_EQ(cos_deg(-32768), cos_deg(-32768 % 360));
}

TEST_F(Draw, ArcOverTheTopOfItsCentre)
{
    draw_arc(428, 274, 20, 220, 320, COLOUR_WHITE);
    EXPECT_EQ(px(428, 254), COLOUR_WHITE);  // 270 degrees: straight up
    EXPECT_EQ(px(413, 262), COLOUR_WHITE);  // 220 degrees, the first point
    EXPECT_EQ(px(443, 261), COLOUR_WHITE);  // 319 degrees, the last point
    EXPECT_EQ(px(443, 262), COLOUR_BLACK);  // 320 degrees is not drawn
    for (const auto& [x, y] : lit()) EXPECT_LE(y, 262);

    clear_screen();
    draw_arc(100, 100, 10, -90, -89, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{100, 90}}));

    clear_screen();
    draw_arc(100, 100, 10, 30, 30, COLOUR_WHITE); // an empty range still draws its first point
    EXPECT_EQ(lit().size(), 1u);
}

TEST_F(Draw, MirroredArcIsTwoPixelsWideOnTheOtherSide)
{
    draw_arc_mirrored(100, 100, 10, 0, 1, COLOUR_WHITE);
    EXPECT_EQ(lit(), (Pixels{{90, 100}, {91, 100}}));

}

TEST_F(Draw, RadialBandStrokeAndSolidSector)
{
    // One degree: a thick stroke from radius 30 in to radius 20.
    draw_radial_band(100, 100, 10, 30, 0, 1, COLOUR_WHITE);
    Pixels want;
    for (int x = 119; x <= 131; ++x) want.insert({x, 100});
    for (int x = 120; x <= 130; ++x) want.insert({x, 99}), want.insert({x, 101});
    EXPECT_EQ(lit(), want);

    // A gauge band: no holes between the strokes inside the ring.
    clear_screen();
    const int xc = 240, yc = 200;
    draw_radial_band(xc, yc, 12, 80, -150, -30, COLOUR_GREEN);
    int holes = 0;
    for (int y = 0; y < LCD_HEIGHT; ++y)
        for (int x = 0; x < LCD_WIDTH; ++x) {
            const double r = std::hypot(x - xc, y - yc);
            const double a = std::atan2(y - yc, x - xc) * 180.0 / std::numbers::pi;
            if (r >= 70 && r <= 78 && a >= -148 && a <= -32 && px(x, y) != COLOUR_GREEN) ++holes;
        }
    EXPECT_EQ(holes, 0);
}

TEST_F(Draw, MirroredBandIsTheExactMirrorImage)
{
    const int xc = 240;
    draw_radial_band(xc, 150, 10, 60, -170, -95, COLOUR_YELLOW);
    const Pixels normal = lit();
    clear_screen();
    draw_radial_band_mirrored(xc, 150, 10, 60, -170, -95, COLOUR_YELLOW);
    Pixels reflected;
    for (const auto& [x, y] : normal) reflected.insert({2 * xc - x, y});
    EXPECT_FALSE(normal.empty());
    EXPECT_EQ(lit(), reflected);
}

// A test card of every primitive, reviewed by eye.
TEST_F(Draw, PrimitivesTestCard)
{
    // Line fans: thin on the left, thick beside them.
    for (int a = -180; a < 180; a += 15) {
        draw_line(60, 70, int16_t(60 + cos_deg(int16_t(a)) * 55), int16_t(70 + sin_deg(int16_t(a)) * 55),
                  uint8_t(16 + (a + 180) / 2));
    }
    for (int a = 0; a < 360; a += 30) {
        draw_thick_line(180, 70, int16_t(180 + cos_deg(int16_t(a)) * 50),
                        int16_t(70 + sin_deg(int16_t(a)) * 50), uint8_t(100 + a / 3));
    }
    // Concentric circles, one clipped at the top-left corner.
    for (int r = 0; r <= 50; r += 10) draw_circle(300, 70, int16_t(r), COLOUR_WHITE);
    draw_circle(0, 0, 12, COLOUR_CYAN);
    // Arcs over the top and their mirrored twins.
    draw_arc(410, 70, 50, 200, 340, COLOUR_YELLOW);
    draw_arc(410, 70, 40, -90, 0, COLOUR_GREEN);
    draw_arc_mirrored(410, 70, 40, -90, 0, COLOUR_RED);
    // A gauge of radial bands with an outline arc, and its mirrored twin.
    draw_radial_band(120, 220, 10, 60, -210, -90, COLOUR_GREEN);
    draw_radial_band(120, 220, 10, 60, -90, -60, COLOUR_YELLOW);
    draw_radial_band(120, 220, 10, 60, -60, -30, COLOUR_RED);
    draw_arc(120, 220, 62, -210, -30, COLOUR_WHITE);
    draw_radial_band_mirrored(300, 220, 8, 50, -150, -90, COLOUR_ORANGE);
    draw_radial_band_mirrored(300, 220, 8, 50, -90, -30, COLOUR_MAGENTA);
    // Rectangles, a fill, and dashed lines (one starting off the screen).
    draw_rect(380, 150, 470, 200, COLOUR_SILVER);
    fill_rect(390, 160, 460, 190, COLOUR_GREY);
    draw_hline_dashed(380, 470, 210, COLOUR_WHITE);
    draw_hline_dashed(-20, 479, 268, COLOUR_YELLOW);
    draw_hline(380, 470, 230, COLOUR_WHITE);
    draw_vline(140, 250, 475, COLOUR_WHITE);
    // A line leaving the screen at the bottom right.
    draw_line(430, 240, 520, 300, COLOUR_CYAN);
    EXPECT_GOLDEN("primitives_card");
}
