// Key rules of the setup pages: wrap-before-step numbers, options, label
// characters, cursor wrap and step cycling, and a table-driven page driven
// key by key.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <utility>

#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "pages/run_screen.h"
#include "support/firmware_reset.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/setup_keys.h"

using namespace ems;

namespace {

// ---- Key rules ------------------------------------------------------------------

TEST(SetupKeyRules, NumbersWrapBeforeTheStep)
{
    // Volts 8.0..30.0 V in tenths, step 1.0 V.
    EXPECT_EQ(number_up(295, 10, 80, 300), 80) << "29.5 + 1.0 is beyond 30.0: the minimum";
    EXPECT_EQ(number_up(290, 10, 80, 300), 300) << "exactly the maximum stays";
    EXPECT_EQ(number_down(80, 10, 80, 300), 300);
    EXPECT_EQ(number_down(85, 10, 80, 300), 300) << "8.5 - 1.0 is below 8.0: the maximum";
    EXPECT_EQ(number_down(90, 10, 80, 300), 80);
    // Negative ranges and the largest steps.
    EXPECT_EQ(number_up(-950, 100, -999, 999), -850);
    EXPECT_EQ(number_up(950, 100, -999, 999), -999);
    EXPECT_EQ(number_down(-950, 100, -999, 999), 999);
    EXPECT_EQ(number_up(98500, 1000, 100, 99000), 100);
    // A value left outside its range (a unit changed) moves into it from either side.
    EXPECT_EQ(number_up(500, 1, 80, 300), 80);
    EXPECT_EQ(number_down(20, 1, 80, 300), 300);
    // Calibration factors stop at their ends instead.
    EXPECT_EQ(number_up_clamped(150, 50, 150), 150);
    EXPECT_EQ(number_down_clamped(-20, -20, 20), -20);
    EXPECT_EQ(number_up_clamped(-30, -20, 20), -20);
}

TEST(SetupKeyRules, OptionsFlagsAndCharactersWrap)
{
    EXPECT_EQ(option_next(0, 3), 1);
    EXPECT_EQ(option_next(2, 3), 0);
    EXPECT_EQ(option_prev(0, 3), 2);
    EXPECT_EQ(option_next(7, 3), 0) << "index from a damaged file";
    EXPECT_EQ(option_prev(7, 3), 2);
    EXPECT_EQ(option_next(-1, 3), 0);
    EXPECT_EQ(option_prev(0, 0), 0);

    EXPECT_EQ(flag_toggle(0), 1);
    EXPECT_EQ(flag_toggle(9), 0);

    EXPECT_EQ(text_char_next('~'), ' ');
    EXPECT_EQ(text_char_next(' '), '!');
    EXPECT_EQ(text_char_prev(' '), '~');
    EXPECT_EQ(text_char_next('\0'), ' ');
    EXPECT_EQ(text_char_prev('\0'), '~');
    EXPECT_EQ(text_char_next(char(0xB0)), ' ');
    EXPECT_EQ(text_char_prev(char(127)), '~');
}

TEST(SetupKeyRules, CursorWrapsBothWaysAndStepsCycle)
{
    EXPECT_EQ(cursor_next(9, 10), 0);
    EXPECT_EQ(cursor_prev(0, 10), 9);
    EXPECT_EQ(cursor_next(12, 10), 0);
    EXPECT_EQ(cursor_prev(12, 10), 9);
    EXPECT_EQ(cursor_next(0, 0), 0);
    EXPECT_EQ(cursor_prev(0, 0), 0);

    EXPECT_EQ(step_cycle(1, 10), 10);
    EXPECT_EQ(step_cycle(10, 10), 1);
    EXPECT_EQ(step_cycle(100, 1000), 1000);
    EXPECT_EQ(step_cycle(1000, 1000), 1);
    EXPECT_EQ(step_cycle(1000, 100), 1) << "a step above this page's largest";
    EXPECT_EQ(step_cycle(5, 100), 1);
}

// ---- A table-driven page ----------------------------------------------------------

struct Sample {
    uint8_t display = 1;
    int16_t max = 150;
    uint8_t alarm_on = 0;
    uint8_t unit = 0;
    char label[7] = "BAT ";
    int8_t cal = 0;
};
Sample s;
int leaves = 0;
int actions = 0;
void other_screen() {}
const char* const UNITS[] = {"bar", "psi", "psi(0.1)"};

const SetupRow ROWS[] = {
    {.label = "DISPLAY: ", .kind = RowKind::Flag, SETUP_FIELD(s.display)},
    {.label = "DISPLAY MAX: ", .kind = RowKind::Number, SETUP_FIELD(s.max), .min = 80, .max = 300,
     .decimals = 1, .suffix = "V", .shown = [] { return s.display != 0; }},
    {.label = "HIGH ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(s.alarm_on),
     .shown = [] { return s.display != 0; }},
    {.label = "UNIT: ", .kind = RowKind::Option, SETUP_FIELD(s.unit), .options = UNITS,
     .option_count = 3, .shown = [] { return s.display != 0; }},
    {.label = "LABEL: ", .kind = RowKind::Text, .text = [] { return s.label; }, .text_length = 4,
     .shown = [] { return s.display != 0; }},
    {.label = "CAL: ", .kind = RowKind::Number, SETUP_FIELD(s.cal), .min = -20, .max = 20,
     .shown = [] { return s.display != 0; }, .flags = ROW_CLAMPED},
    {.label = "CALIBRATE SENDER", .kind = RowKind::Action,
     .action = [] { ++actions; ScreenHandler = other_screen; }, .shown = [] { return s.display != 0; }},
};
void on_leave() { ++leaves; }
const SetupPage PAGE = {.section = "EMS SETUP", .name = "SAMPLE SETUP", .rows = ROWS,
                        .row_count = 7, .largest_step = 100, .step_on_numbers_only = true,
                        .parent = ScreenId::EMS_SETUP, .parent_item = 10, .on_leave = on_leave};

void sample_screen() { setup_page(PAGE); }

class SetupPageKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        s = {};
        leaves = actions = 0;
        ScreenHandler = sample_screen;
    }
    void TearDown() override { test::reset_firmware(); }
    // One pass with a key.
    static void press(uint8_t key)
    {
        KeyEvent = key;
        ScreenHandler();
        EXPECT_EQ(KeyEvent, KEY_NONE) << "key " << int(key) << " left pending";
    }
};

TEST_F(SetupPageKeys, CursorWrapsOverThePresentRows)
{
    press(KEY_CCW);
    EXPECT_EQ(nav.menu_cursor, 6) << "before the first row comes the last";
    press(KEY_CW);
    EXPECT_EQ(nav.menu_cursor, 0) << "after the last row comes the first";
    // Display off: only the first row is left.
    s.display = 0;
    press(KEY_CW);
    EXPECT_EQ(nav.menu_cursor, 0);
    press(KEY_CCW);
    EXPECT_EQ(nav.menu_cursor, 0);
}

TEST_F(SetupPageKeys, CursorOnRowsThatWentAwayMovesToTheLast)
{
    nav.menu_cursor = 5;
    nav.edit_active = 1;
    s.display = 0;
    press(KEY_NONE);
    EXPECT_EQ(nav.menu_cursor, 0);
    EXPECT_EQ(nav.edit_active, 0);
}

TEST_F(SetupPageKeys, NumberRowEditsByTheStepAndWraps)
{
    nav.menu_cursor = 1;
    s.max = 295;
    press(KEY_SOFT3);
    EXPECT_EQ(nav.edit_step, 10);
    press(KEY_PUSH);
    EXPECT_EQ(nav.edit_active, 1);
    press(KEY_CW);
    EXPECT_EQ(s.max, 80);
    press(KEY_CCW);
    EXPECT_EQ(s.max, 300);
    press(KEY_CCW);
    EXPECT_EQ(s.max, 290);
    EXPECT_EQ(nav.menu_cursor, 1) << "editing does not move the cursor";
    press(KEY_PUSH);
    EXPECT_EQ(nav.edit_active, 0);
    press(KEY_CW);
    EXPECT_EQ(s.max, 290);
    EXPECT_EQ(nav.menu_cursor, 2);
}

TEST_F(SetupPageKeys, StepKeyCyclesOnNumberRowsOnly)
{
    nav.menu_cursor = 1;
    for (uint16_t want : {10, 100, 1, 10}) {
        press(KEY_SOFT3);
        EXPECT_EQ(nav.edit_step, want);
    }
    nav.menu_cursor = 3; // an option row
    press(KEY_SOFT3);
    EXPECT_EQ(nav.edit_step, 10);
}

TEST_F(SetupPageKeys, FlagsOptionsAndClampedNumbers)
{
    nav.menu_cursor = 2;
    press(KEY_PUSH);
    press(KEY_CW);
    EXPECT_EQ(s.alarm_on, 1);
    press(KEY_CCW);
    EXPECT_EQ(s.alarm_on, 0) << "either turn toggles";
    press(KEY_PUSH);

    nav.menu_cursor = 3;
    press(KEY_PUSH);
    press(KEY_CCW);
    EXPECT_EQ(s.unit, 2);
    press(KEY_CW);
    EXPECT_EQ(s.unit, 0);
    press(KEY_PUSH);

    nav.menu_cursor = 5;
    nav.edit_step = 10; // ignored: calibration rows move by 1
    press(KEY_PUSH);
    s.cal = 19;
    press(KEY_CW);
    press(KEY_CW);
    EXPECT_EQ(s.cal, 20);
    s.cal = -20;
    press(KEY_CCW);
    EXPECT_EQ(s.cal, -20);
}

TEST_F(SetupPageKeys, LabelEditingWalksThroughTheCharacters)
{
    nav.menu_cursor = 4;
    std::strcpy(s.label, "A~ ");
    press(KEY_PUSH);
    EXPECT_EQ(nav.edit_active, 1);
    EXPECT_EQ(nav.edit_cursor, 0);
    EXPECT_STREQ(s.label, "A~  ") << "a short label is filled to its length";
    press(KEY_CW);
    EXPECT_EQ(s.label[0], 'B');
    press(KEY_PUSH);
    EXPECT_EQ(nav.edit_cursor, 1);
    press(KEY_CW);
    EXPECT_EQ(s.label[1], ' ') << "after 126 comes the blank";
    press(KEY_PUSH);
    press(KEY_CCW);
    EXPECT_EQ(s.label[2], '~') << "before the blank comes 126";
    press(KEY_PUSH);
    EXPECT_EQ(nav.edit_cursor, 3);
    EXPECT_EQ(nav.edit_active, 1);
    press(KEY_PUSH);
    EXPECT_EQ(nav.edit_active, 0) << "editing ends after the last character";
    EXPECT_STREQ(s.label, "B ~ ");
}

TEST_F(SetupPageKeys, ActionRowsExitAndBack)
{
    nav.menu_cursor = 6;
    press(KEY_PUSH);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(nav.edit_active, 0);
    EXPECT_EQ(ScreenHandler, other_screen);

    ScreenHandler = sample_screen;
    nav.edit_active = 1;
    nav.menu_cursor = 1;
    press(KEY_SOFT2);
    EXPECT_TRUE(showing(ScreenId::EMS_SETUP));
    EXPECT_EQ(nav.menu_cursor, 10);
    EXPECT_EQ(nav.edit_active, 0);
    EXPECT_EQ(leaves, 1);

    ScreenHandler = sample_screen;
    nav.menu_cursor = 1;
    nav.menu_scroll = 1;
    nav.edit_active = 1;
    press(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(nav.edit_active, 0);
    EXPECT_EQ(nav.menu_scroll, 0);
    EXPECT_EQ(leaves, 2);

    ScreenHandler = sample_screen;
    for (uint8_t key : {KEY_SOFT4, KEY_SOFT5}) press(key);
    EXPECT_EQ(ScreenHandler, sample_screen);
}

TEST_F(SetupPageKeys, ValueTextsOfTheRows)
{
    char t[32];
    s.max = 155;
    setup_row_value(ROWS[1], t, sizeof t);
    EXPECT_STREQ(t, "15.5V");
    setup_row_value(ROWS[0], t, sizeof t);
    EXPECT_STREQ(t, "ON");
    s.unit = 2;
    setup_row_value(ROWS[3], t, sizeof t);
    EXPECT_STREQ(t, "psi(0.1)");
    s.unit = 200; // damaged
    setup_row_value(ROWS[3], t, sizeof t);
    EXPECT_STREQ(t, "");
    std::memcpy(s.label, "ABCDEFG", 7); // no terminator
    setup_row_value(ROWS[4], t, sizeof t);
    EXPECT_STREQ(t, "ABCD");
}

// A long page: the list scrolls so that the cursor stays on screen.
uint8_t many[20];
template <int I> int32_t get_many() { return many[I]; }
template <int I> void set_many(int32_t v) { many[I] = uint8_t(v); }
template <int... I> constexpr auto make_rows(std::integer_sequence<int, I...>)
{
    return std::array<SetupRow, sizeof...(I)>{
        SetupRow{.label = "ROW: ", .kind = RowKind::Flag, .get = get_many<I>, .set = set_many<I>}...};
}
const auto LONG_ROWS = make_rows(std::make_integer_sequence<int, 20>{});
const SetupPage LONG_PAGE = {.section = "", .name = "LONG", .rows = LONG_ROWS.data(), .row_count = 20};

TEST(SetupPageScroll, CursorBelowRowTenScrollsTheList)
{
    test::reset_firmware();
    for (uint8_t cursor : {0, 10, 11, 19}) {
        nav.menu_cursor = cursor;
        setup_page(LONG_PAGE);
        EXPECT_EQ(nav.menu_scroll, cursor > 10 ? cursor - 10 : 0) << int(cursor);
        // The selected row is the last screen row once scrolled: red there, none elsewhere.
        const int row = cursor - nav.menu_scroll;
        int red_rows = 0;
        for (int r = 0; r < 11; ++r)
            for (int x = 100; x < 200; ++x)
                for (int y = 50 + 18 * r; y < 68 + 18 * r; ++y)
                    if (Framebuffer[y * LCD_WIDTH + x] == COLOUR_RED) {
                        EXPECT_EQ(r, row);
                        red_rows |= 1 << r;
                    }
        EXPECT_EQ(red_rows, 1 << row);
    }
    test::reset_firmware();
}

} // namespace
