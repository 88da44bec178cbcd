// Setup-page widgets: list rows and their highlight, step labels, the scroll
// indicator, the bars and symbols pixel by pixel, value texts, navigation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/main_menu.h"
#include "pages/run_screen.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/pixels.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/widgets.h"

using namespace ems;

using test::count_in;
using test::frame;
using test::ink_in;
using test::px;

namespace {

using Frame = std::vector<uint8_t>;


// Frame with only draw_text's rendering of one text, for comparisons.
Frame text_frame(int16_t x, int16_t y, const char* t, uint8_t align, uint8_t colour)
{
    clear_screen();
    draw_text(x, y, t, 8, align, colour);
    Frame f = frame();
    clear_screen();
    return f;
}

class Widgets : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables(); // the arc of the rotary symbol
    }
    void TearDown() override { test::reset_firmware(); }
};

// ---- List rows -----------------------------------------------------------------

TEST_F(Widgets, ListRowOutsideTheTenScreenRowsDrawsNothing)
{
    for (int row : {-1, 11, 12, 200, -50}) {
        list_row(row, "DISPLAY MAX: ", "30.0V");
        list_row_text4(row, "LABEL: ", "BAT ");
        EXPECT_EQ(ink_in(0, 0, 479, 271), 0) << row;
    }
    list_row(10, "DISPLAY MAX: ", "30.0V"); // the last row: text top at 230
    EXPECT_GT(ink_in(100, 230, 300, 247), 0);
    EXPECT_EQ(ink_in(0, 0, 479, 229), 0);
}

TEST_F(Widgets, ScrolledListHighlightsTheCursorsScreenRow)
{
    nav.menu_scroll = 3;
    nav.menu_cursor = 5;
    for (int row = 0; row <= 10; ++row) list_row(row, "HIGH ALARM: ", "ON");
    for (int row = 0; row <= 10; ++row) {
        const int y = 50 + 18 * row;
        const int red = count_in(100, y, 300, y + 17, COLOUR_RED);
        const int white = count_in(100, y, 300, y + 17, COLOUR_WHITE);
        if (row == 2) {
            EXPECT_GT(red, 0);
            EXPECT_EQ(white, 0);
        } else {
            EXPECT_EQ(red, 0) << row;
            EXPECT_GT(white, 0) << row;
        }
    }
}

TEST_F(Widgets, SelectedRowColoursBeforeAndAfterThePush)
{
    // Label and value separated where draw_text leaves them.
    draw_text(100, 50, "HIGH ALARM: ", 8, ALIGN_LEFT, COLOUR_WHITE);
    const int split = text_end_x;
    clear_screen();
    struct Case { uint8_t cursor, editing, label, value; };
    const Case cases[] = {
        {0, 0, COLOUR_RED, COLOUR_RED},     // selected
        {0, 1, COLOUR_WHITE, COLOUR_RED},   // selected and pushed
        {1, 0, COLOUR_WHITE, COLOUR_WHITE}, // another row selected
        {1, 1, COLOUR_WHITE, COLOUR_WHITE},
    };
    for (const Case& c : cases) {
        clear_screen();
        nav.menu_cursor = c.cursor;
        nav.edit_active = c.editing;
        list_row(0, "HIGH ALARM: ", "15.5V");
        const int label_ink = ink_in(100, 50, split - 1, 67);
        const int value_ink = ink_in(split, 50, 479, 67);
        EXPECT_GT(label_ink, 0);
        EXPECT_EQ(count_in(100, 50, split - 1, 67, c.label), label_ink) << int(c.cursor) << int(c.editing);
        EXPECT_EQ(count_in(split, 50, 479, 67, c.value), value_ink) << int(c.cursor) << int(c.editing);
    }
}

TEST_F(Widgets, TextRowShowsTheEditedCharacterInRed)
{
    draw_text(100, 68, "LABEL: ", 8, ALIGN_LEFT, COLOUR_WHITE);
    const int split = text_end_x;
    // Columns of each character of "OILT" after the label.
    int edges[5] = {split};
    for (int i = 0; i < 4; ++i) {
        const char one[2] = {"OILT"[i], 0};
        draw_text(int16_t(edges[i]), 68, one, 8, ALIGN_LEFT, COLOUR_WHITE);
        edges[i + 1] = text_end_x;
    }
    clear_screen();

    nav.menu_cursor = 1;
    nav.edit_active = 1;
    nav.edit_cursor = 2;
    list_row_text4(1, "LABEL: ", "OILT");
    EXPECT_EQ(count_in(100, 68, split - 1, 85, COLOUR_RED), 0) << "label white while editing";
    for (int i = 0; i < 4; ++i) {
        const int all = ink_in(edges[i], 68, edges[i + 1] - 1, 85);
        const uint8_t want = i == 2 ? COLOUR_RED : COLOUR_WHITE;
        EXPECT_GT(all, 0);
        EXPECT_EQ(count_in(edges[i], 68, edges[i + 1] - 1, 85, want), all) << "character " << i;
    }

    clear_screen();
    nav.edit_active = 0;
    list_row_text4(1, "LABEL: ", "OILT");
    EXPECT_EQ(count_in(0, 0, 479, 271, COLOUR_WHITE), 0) << "selected, not editing: all red";
}

TEST_F(Widgets, TextRowShowsOnlyItsOwnCharacters)
{
    // A field without its terminator: only the first 3, 4 or 6 characters.
    const char field[] = "ABCDEFGHIJ";
    const struct { void (*fn)(int, const char*, const char*); const char* shown; } rows[] = {
        {list_row_text3, "ABC"}, {list_row_text4, "ABCD"}, {list_row_text6, "ABCDEF"}};
    for (const auto& r : rows) {
        clear_screen();
        nav.menu_cursor = 5;
        r.fn(0, "UNIT LABEL: ", field);
        const Frame drawn = frame();
        clear_screen();
        list_row(0, "UNIT LABEL: ", r.shown);
        EXPECT_EQ(drawn, frame()) << r.shown;
    }
}

// ---- Step labels ----------------------------------------------------------------

TEST_F(Widgets, StepLabelsTextsAndTheirStepCorrection)
{
    struct Case { void (*fn)(uint8_t); uint16_t step; const char* text; uint16_t step_after; };
    const Case cases[] = {
        {step_label_int, 1, "X1", 1},          {step_label_int, 1000, "X1000", 1000},
        {step_label_int, 5, nullptr, 5},       {step_label_1dp, 1, "X0.1", 1},
        {step_label_1dp, 100, "X10.0", 100},   {step_label_1dp, 1000, nullptr, 1},
        {step_label_1dp, 7, nullptr, 1},       {step_label_2dp, 1, "X0.01", 1},
        {step_label_2dp, 1000, "X10.0", 1000}, {step_label_2dp, 20, nullptr, 1},
    };
    for (const Case& c : cases) {
        const Frame want = c.text ? text_frame(186, 254, c.text, ALIGN_CENTRE, COLOUR_WHITE)
                                  : Frame(FRAME_BYTES, 0);
        nav.menu_cursor = 4;
        nav.edit_step = c.step;
        c.fn(4);
        EXPECT_EQ(frame(), want) << c.step << " " << (c.text ? c.text : "none");
        EXPECT_EQ(nav.edit_step, c.step_after) << c.step;
        clear_screen();
        // Another row's label: nothing, and the step is left alone.
        c.fn(3);
        EXPECT_EQ(ink_in(0, 0, 479, 271), 0);
        EXPECT_EQ(nav.edit_step, c.step_after);
    }
}

TEST_F(Widgets, StepLabelsByKindAndByDecimals)
{
    struct Case { int kind; uint16_t step; const char* text; };
    const Case kinds[] = {{1, 10, "X10"}, {0, 10, "X1.0"}, {2, 100, "X10.0"}, {1, 1000, nullptr}};
    for (const Case& c : kinds) {
        const Frame want = c.text ? text_frame(186, 254, c.text, ALIGN_CENTRE, COLOUR_WHITE)
                                  : Frame(FRAME_BYTES, 0);
        nav.edit_step = c.step;
        step_label_kind(uint8_t(c.kind), 0);
        EXPECT_EQ(frame(), want) << c.kind << " " << c.step;
        EXPECT_EQ(nav.edit_step, c.step) << "no step correction";
        clear_screen();
    }
    const Case decimals[] = {{0, 100, "X100"}, {1, 1, "X0.1"}, {2, 10, "X0.10"},
                             {2, 100, "X1.00"}, {2, 1000, nullptr}, {3, 1, nullptr}};
    for (const Case& c : decimals) {
        const Frame want = c.text ? text_frame(186, 254, c.text, ALIGN_CENTRE, COLOUR_WHITE)
                                  : Frame(FRAME_BYTES, 0);
        nav.edit_step = c.step;
        step_label_decimals(0, uint8_t(c.kind));
        EXPECT_EQ(frame(), want) << c.kind << " " << c.step;
        clear_screen();
    }
}

// ---- Scroll indicator -------------------------------------------------------------

// First and last row of the thumb (white at x 465), -1 when there is none.
void thumb_rows(int& top, int& bottom)
{
    top = bottom = -1;
    for (int y = 0; y < LCD_HEIGHT; ++y)
        if (px(465, y) == COLOUR_WHITE) {
            if (top < 0) top = y;
            bottom = y;
        }
}

TEST_F(Widgets, ScrollIndicatorThumbPositions)
{
    const struct { uint8_t sel, n; int top, bottom; } cases[] = {
        {0, 10, 45, 65}, {9, 10, 225, 245}, {0, 1, 45, 245}, {2, 3, 178, 244},
        {12, 10, 225, 245}, // beyond the list: shown as the last item
    };
    for (const auto& c : cases) {
        clear_screen();
        scroll_indicator(c.sel, c.n);
        int top, bottom;
        thumb_rows(top, bottom);
        EXPECT_EQ(top, c.top) << int(c.sel) << "/" << int(c.n);
        EXPECT_EQ(bottom, c.bottom) << int(c.sel) << "/" << int(c.n);
        EXPECT_EQ(count_in(465, top, 475, bottom, COLOUR_WHITE), 11 * (bottom - top + 1));
        EXPECT_EQ(count_in(470, 45, 470, 245, COLOUR_WHITE), 201) << "track";
    }
}

TEST_F(Widgets, ScrollIndicatorWithoutItemsDrawsTheTrackOnly)
{
    scroll_indicator(0, 0);
    scroll_indicator(5, 0);
    EXPECT_EQ(count_in(470, 45, 470, 245, COLOUR_WHITE), 201);
    EXPECT_EQ(ink_in(0, 0, 479, 271), 201);
}

// ---- Bars and symbols ---------------------------------------------------------------

TEST_F(Widgets, TitleBarWithAnEmptyTitle)
{
    for (const char* empty : {"", static_cast<const char*>(nullptr)}) {
        std::memset(Framebuffer, COLOUR_GREY, FRAME_BYTES); // the bar clears the screen itself
        title_bar(empty, "MESSAGE");
        // Red only in the logo's "S"; the title's place right of the logo holds no red.
        EXPECT_GT(count_in(5, 2, 29, 39, COLOUR_RED), 0);
        EXPECT_EQ(count_in(30, 0, 479, 271, COLOUR_RED), 0);
        EXPECT_EQ(count_in(0, 0, 479, 271, COLOUR_GREY), 0);
        EXPECT_EQ(count_in(0, 40, 479, 40, COLOUR_WHITE), 480) << "line across row 40";
        EXPECT_EQ(ink_in(0, 41, 479, 271), 0);
        // The subtitle ends at x = 478.
        const Frame drawn = frame();
        clear_screen();
        draw_text(478, 20, "MESSAGE", 10, ALIGN_RIGHT, COLOUR_WHITE);
        for (int y = 20; y < 40; ++y)
            for (int x = 300; x < 480; ++x)
                ASSERT_EQ(drawn[y * LCD_WIDTH + x], px(x, y)) << x << "," << y;
    }
    title_bar("EMS SETUP", "VOLTS SETUP");
    EXPECT_GT(count_in(300, 0, 479, 19, COLOUR_RED), 0) << "title in red at the right";
}

TEST_F(Widgets, RotarySymbolPixels)
{
    rotary_symbol();
    // Everything lies right of the last separator and inside the bar.
    EXPECT_EQ(ink_in(0, 0, 479, 271), ink_in(405, 250, 451, 271));
    // The arc from 220 to 319 degrees on radius 20 around (428, 274): its top
    // at 270 degrees and both ends.
    EXPECT_EQ(px(428, 254), COLOUR_WHITE);
    EXPECT_EQ(px(413, 261), COLOUR_WHITE);
    EXPECT_EQ(px(443, 261), COLOUR_WHITE);
    // Line end points and the extra pixels of both arrowheads.
    const int points[][2] = {{408, 259}, {418, 264}, {410, 268}, {409, 260}, {409, 261},
                             {416, 264}, {438, 264}, {448, 259}, {446, 268}, {447, 261},
                             {440, 264}, {441, 264}};
    for (const auto& p : points) EXPECT_EQ(px(p[0], p[1]), COLOUR_WHITE) << p[0] << "," << p[1];
    // The fills: columns and their rows.
    const int fills[][3] = {{410, 261, 267}, {411, 261, 266}, {412, 262, 266}, {413, 263, 265},
                            {414, 263, 265}, {415, 263, 265}, {442, 263, 265}, {443, 263, 265},
                            {444, 262, 266}, {445, 262, 266}, {446, 261, 265}};
    for (const auto& f : fills)
        EXPECT_EQ(count_in(f[0], f[1], f[0], f[2], COLOUR_WHITE), f[2] - f[1] + 1) << "x " << f[0];
    // White only.
    EXPECT_EQ(count_in(405, 250, 451, 271, COLOUR_WHITE), ink_in(405, 250, 451, 271));
}

TEST_F(Widgets, SoftKeyBarWithAndWithoutBack)
{
    soft_key_bar(0);
    const Frame exit_only = frame();
    EXPECT_EQ(count_in(0, 250, 479, 250, COLOUR_WHITE), 480);
    for (int x : {74, 148, 222, 296, 371}) EXPECT_EQ(count_in(x, 250, x, 271, COLOUR_WHITE), 22) << x;
    EXPECT_GT(ink_in(1, 251, 73, 271), 0) << "EXIT";
    EXPECT_EQ(ink_in(75, 251, 147, 271), 0) << "no BACK";
    EXPECT_GT(ink_in(372, 251, 479, 271), 0) << "rotary symbol";
    EXPECT_EQ(ink_in(0, 0, 479, 249), 0);

    clear_screen();
    soft_key_bar(2); // bit 0 clear
    EXPECT_EQ(frame(), exit_only);
    clear_screen();
    soft_key_bar(1);
    EXPECT_GT(ink_in(75, 251, 147, 271), 0) << "BACK";
    EXPECT_EQ(ink_in(149, 251, 370, 271), 2 * 21) << "only the separators at 222 and 296";
}

TEST_F(Widgets, SoftKeyLabelsCoverThePageBelow)
{
    std::memset(Framebuffer, COLOUR_GREY, FRAME_BYTES); // a page underneath
    soft_key_labels("STEP SIZE", "X1", "X10", "X100", "X1000", "DONE");
    EXPECT_EQ(count_in(0, 229, 148, 271, COLOUR_GREY), 0);
    EXPECT_EQ(count_in(0, 250, 371, 271, COLOUR_GREY), 0);
    EXPECT_EQ(count_in(149, 0, 479, 249, COLOUR_GREY), 331 * 250) << "page above untouched";
    EXPECT_EQ(count_in(372, 250, 479, 271, COLOUR_GREY), 108 * 22) << "rotary area untouched";
    EXPECT_EQ(count_in(0, 229, 148, 229, COLOUR_WHITE), 149);
    EXPECT_EQ(count_in(0, 250, 370, 250, COLOUR_WHITE), 371);
    EXPECT_EQ(count_in(148, 230, 148, 271, COLOUR_WHITE), 42);
    for (int x : {74, 222, 296, 371}) EXPECT_EQ(count_in(x, 251, x, 271, COLOUR_WHITE), 21) << x;
    EXPECT_GT(count_in(1, 230, 147, 249, COLOUR_RED), 0) << "caption";
    EXPECT_EQ(count_in(0, 250, 479, 271, COLOUR_RED), 0);
    EXPECT_GT(count_in(297, 251, 370, 271, COLOUR_WHITE), 0) << "label 5";
}

TEST_F(Widgets, ArrowsAreMirrorImages)
{
    next_arrow();
    const Frame next = frame();
    EXPECT_EQ(count_in(315, 258, 345, 264, COLOUR_WHITE), 31 * 7) << "bar";
    EXPECT_EQ(count_in(346, 253, 346, 269, COLOUR_WHITE), 17);
    EXPECT_EQ(px(354, 261), COLOUR_WHITE);
    EXPECT_EQ(px(354, 260), COLOUR_BLACK);
    EXPECT_EQ(px(355, 261), COLOUR_BLACK);
    EXPECT_EQ(ink_in(0, 0, 479, 271), 31 * 7 + 81);

    clear_screen();
    prev_arrow(314);
    for (int y = 250; y < 272; ++y)
        for (int x = 300; x < 370; ++x)
            ASSERT_EQ(px(x, y), next[y * LCD_WIDTH + (668 - x)]) << x << "," << y;
    EXPECT_EQ(ink_in(0, 0, 479, 271), 31 * 7 + 81);
}

TEST_F(Widgets, MenuSelectFrameCorners)
{
    menu_select_frame(5); // column 1, row 1: x0 128, y0 100
    // Each corner: 13 x 2 horizontal plus 2 x 11 vertical.
    EXPECT_EQ(count_in(0, 0, 479, 271, COLOUR_RED), 4 * (26 + 22));
    EXPECT_EQ(count_in(130, 148, 142, 149, COLOUR_RED), 26);
    EXPECT_EQ(count_in(210, 239, 222, 240, COLOUR_RED), 26);
    EXPECT_EQ(count_in(130, 150, 131, 160, COLOUR_RED), 22);
    EXPECT_EQ(count_in(221, 228, 222, 238, COLOUR_RED), 22);
    EXPECT_EQ(px(132, 150), COLOUR_BLACK);
    EXPECT_EQ(menu_icon_x(5), 128 + 23);
    EXPECT_EQ(menu_icon_y(5), 153);
    EXPECT_EQ(menu_icon_y(2), 54);
    clear_screen();
    menu_select_frame(8);
    EXPECT_EQ(ink_in(0, 0, 479, 271), 0);
}

// ---- Value texts ----------------------------------------------------------------------

TEST_F(Widgets, UnitAndValueTexts)
{
    char t[16];
    settings.temp_unit = 0;
    temp_unit_text(t, sizeof t);
    EXPECT_STREQ(t, "\xB0" "C");
    settings.temp_unit = 1;
    temp_unit_text(t, sizeof t);
    EXPECT_STREQ(t, "\xB0" "F");
    settings.oat_unit = 1;
    oat_unit_text(t, sizeof t);
    EXPECT_STREQ(t, "\xB0" "F");

    settings.map_unit = 0;
    map_value_text(t, sizeof t, 1013);
    EXPECT_STREQ(t, "1013");
    settings.map_unit = 1;
    map_value_text(t, sizeof t, 299);
    EXPECT_STREQ(t, "29.9");

    const struct { int32_t v; uint8_t d; const char* text; } cases[] = {
        {0, 0, "0"},      {-999, 0, "-999"}, {0, 1, "0.0"},     {-5, 1, "-0.5"},
        {300, 1, "30.0"}, {7, 2, "0.07"},    {-123, 2, "-1.23"}, {99000, 2, "990.00"},
        {42, 3, "42"},    {-2147483647 - 1, 1, "-214748364.8"},
    };
    for (const auto& c : cases) {
        decimal_value_text(t, sizeof t, c.v, c.d);
        EXPECT_STREQ(t, c.text) << c.v << " " << int(c.d);
    }
    char small[4];
    decimal_value_text(small, sizeof small, -1234, 1);
    EXPECT_STREQ(small, "-12") << "truncated, terminated";
}

// ---- Navigation -----------------------------------------------------------------------

TEST_F(Widgets, NavigationEntriesAndExits)
{
    nav = {7, 4, 1, 2, 100, 9};
    tick.quick_menu_countdown = 6;
    exit_to_run_screen();
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(tick.quick_menu_countdown, 0);
    EXPECT_EQ(nav.edit_active, 0);
    EXPECT_EQ(nav.menu_scroll, 0);
    EXPECT_EQ(nav.menu_cursor, 7) << "left as it was";

    nav = {7, 4, 1, 2, 100, 9};
    enter_list(3);
    EXPECT_EQ(nav.menu_cursor, 3);
    EXPECT_EQ(nav.menu_scroll, 0);
    EXPECT_EQ(nav.edit_active, 0);
    EXPECT_EQ(nav.edit_step, 1);
    EXPECT_EQ(nav.page_counter, 0);

    nav = {7, 4, 1, 2, 100, 9};
    back_to_main_menu(5);
    EXPECT_EQ(ScreenHandler, screen_main_menu);
    EXPECT_EQ(nav.menu_cursor, 5);
    EXPECT_EQ(nav.edit_step, 1);
    EXPECT_EQ(nav.edit_active, 0);
}

TEST_F(Widgets, MainMenuConsumesEveryKeyAndExits)
{
    ScreenHandler = screen_main_menu;
    for (uint8_t key = KEY_SOFT2; key <= KEY_SOFT5; ++key) {
        KeyEvent = key;
        screen_main_menu();
        EXPECT_EQ(KeyEvent, KEY_NONE);
        EXPECT_EQ(ScreenHandler, screen_main_menu) << int(key);
    }
    EXPECT_EQ(count_in(0, 40, 479, 40, COLOUR_WHITE), 480);
    KeyEvent = KEY_SOFT1;
    screen_main_menu();
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(KeyEvent, KEY_NONE);
}

} // namespace
