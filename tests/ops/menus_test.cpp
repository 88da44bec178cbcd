// Menus and pilot pop-ups driven key by key: the main menu's tiles and their
// way back, the quick menu's list as the settings change under it, the
// backlight, timer, lean/cruise, refill and fuel-totals rules, the document
// list, and one golden per layout (pop-ups drawn over a cleared screen).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/screen_names.h"
#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/documents.h"
#include "ops/main_menu.h"
#include "ops/pilot_pages.h"
#include "ops/quick_menus.h"
#include "pages/run_screen.h"
#include "sensors/fuel.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen.h"

using namespace ems;

namespace {

class Menus : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables();
        ScreenHandler = run_screen;
    }
    // One pass of the active screen with a key.
    void press(uint8_t key)
    {
        KeyEvent = key;
        ScreenHandler();
        EXPECT_EQ(KeyEvent, KEY_NONE);
    }
    void presses(uint8_t key, int n)
    {
        for (int i = 0; i < n; ++i) press(key);
    }
    // The open pop-up alone, drawn over a cleared screen.
    void draw_popup()
    {
        clear_screen();
        quick.quick_menu_handler();
    }
    std::string popup() const { return open_popup_name(); }
    std::string screen() const { return active_screen_name(); }
};

// True when x0..x1, y..y+rows-1 hold exactly what draw_text draws there.
bool shows_text(int16_t x, int16_t y, const char* text, uint8_t size, uint8_t colour, int x0, int x1, int rows)
{
    std::vector<uint8_t> saved(Framebuffer, Framebuffer + FRAME_BYTES);
    clear_screen();
    draw_text(x, y, text, size, ALIGN_LEFT, colour);
    std::vector<uint8_t> expected(Framebuffer, Framebuffer + FRAME_BYTES);
    std::copy(saved.begin(), saved.end(), Framebuffer);
    for (int yy = y; yy < y + rows; ++yy)
        for (int xx = x0; xx <= x1; ++xx)
            if (saved[yy * LCD_WIDTH + xx] != expected[yy * LCD_WIDTH + xx]) return false;
    return true;
}

TEST_F(Menus, EveryTileOpensItsPageAndBackReturnsToIt)
{
    const char* pages[MAIN_TILES] = {"screen_flight_log",   "screen_ems_setup_menu", "screen_gps_setup",
                                     "screen_timers_setup", "screen_data_recording", "screen_misc_setup",
                                     "screen_sensor_info"};
    ScreenHandler = screen_main_menu;
    press(KEY_CCW); // before tile 0 comes tile 6
    EXPECT_EQ(nav.menu_cursor, 6);
    press(KEY_CW); // after 6 comes 0
    for (uint8_t tile = 0; tile < MAIN_TILES; ++tile) {
        ASSERT_EQ(nav.menu_cursor, tile);
        nav.edit_step = 100;
        press(KEY_PUSH);
        EXPECT_EQ(screen(), pages[tile]);
        EXPECT_EQ(nav.menu_cursor, 0);
        EXPECT_EQ(nav.edit_step, 1);
        press(KEY_SOFT2);
        EXPECT_EQ(screen(), "screen_main_menu");
        press(KEY_CW);
    }
    press(KEY_SOFT1);
    EXPECT_EQ(screen(), "run_screen");
}

TEST_F(Menus, MainMenuAndMiscSetupGoldens)
{
    ScreenHandler = screen_main_menu;
    nav.menu_cursor = 5;
    screen_main_menu();
    EXPECT_GOLDEN("menu_main");
    press(KEY_PUSH);
    press(KEY_CW);
    EXPECT_GOLDEN("menu_misc_setup"); // SAVE selected
    nav.menu_cursor = 0;
    press(KEY_PUSH);
    presses(KEY_CW, 2); // "R" + 2 = "T"
    press(KEY_PUSH);
    screen_registration();
    EXPECT_GOLDEN("menu_registration");
}

TEST_F(Menus, RegistrationWrapsAndStaysTerminated)
{
    // A short registration from a card: the cells past its end edit as blanks.
    std::memcpy(settings.registration, "AB\0\0\0\0\0\0\0", 9);
    ScreenHandler = screen_misc_setup;
    press(KEY_PUSH);
    ASSERT_EQ(screen(), "screen_registration");
    settings.registration[0] = '~';
    press(KEY_CW);
    EXPECT_EQ(settings.registration[0], ' ');
    press(KEY_CCW);
    EXPECT_EQ(settings.registration[0], '~');
    presses(KEY_PUSH, 7);
    EXPECT_EQ(nav.menu_cursor, 7);
    press(KEY_CW);
    EXPECT_EQ(std::string(settings.registration, 9), std::string("~B     !\0", 9));
    EXPECT_EQ(settings_validate(settings), nullptr);
    press(KEY_PUSH); // past the last cell
    EXPECT_EQ(screen(), "screen_misc_setup");
    EXPECT_EQ(nav.menu_cursor, 0);
}

TEST_F(Menus, EngineQuickMenuFollowsTheSettingsWhileOpen)
{
    press(KEY_PUSH);
    EXPECT_EQ(popup(), "popup_quick_menu");
    ASSERT_EQ(quick.quick_menu_count, 11);
    draw_popup();
    EXPECT_GOLDEN("popup_quick_menu");

    // Fewer items while it is open: the list and the cursor shrink with them.
    settings.flight_detect = 1;
    settings.egt_channels = 0;
    settings.cht_channels = 0;
    run_screen();
    EXPECT_EQ(quick.quick_menu_count, 8);
    EXPECT_EQ(nav.menu_cursor, 7);
    EXPECT_EQ(engine_quick_menu_count(), 8);
    press(KEY_CW); // down to MAG CHECK
    press(KEY_CCW);
    press(KEY_CCW); // above the top comes MENU
    EXPECT_EQ(nav.menu_cursor, 0);
    press(KEY_PUSH);
    EXPECT_EQ(screen(), "screen_main_menu");
    EXPECT_EQ(tick.quick_menu_countdown, 0);
}

TEST_F(Menus, ShortAndDocumentMenusOnTheirPages)
{
    settings.gps_source = 1;
    run.run_page = PAGE_GPS;
    press(KEY_PUSH);
    press(KEY_CCW); // MENU
    press(KEY_CW);  // back to EXIT
    press(KEY_CW);  // BACKLIGHT
    press(KEY_PUSH);
    EXPECT_EQ(popup(), "popup_backlight");

    tick.quick_menu_countdown = 0;
    run.run_page = PAGE_INFO;
    press(KEY_PUSH);
    EXPECT_EQ(popup(), "popup_documents_menu");
    press(KEY_CW); // INFO PAGES, without a card
    press(KEY_PUSH);
    EXPECT_EQ(screen(), "screen_insert_card");
}

TEST_F(Menus, DocumentListShowsMatchingFilesOfTheCard)
{
    test::FakePlatform platform;
    std::filesystem::create_directories(platform.card() / "CHECKLST");
    for (const char* name : {"b.ecl", "A.ECL", "notes.txt", "c.ecl.bak"})
        std::ofstream(platform.card() / "CHECKLST" / name) << "x\n";
    sys.sd_card_present = sys.sd_card_mounted = 1;
    doc_open_list(true);
    EXPECT_EQ(popup(), "popup_doc_list");
    EXPECT_EQ(docs.doc_count, 2);
    EXPECT_EQ(docs.doc_dir_entries, 4);
    press(KEY_CW);
    EXPECT_EQ(docs.doc_pos, 1);
    press(KEY_CW); // stops at the last file
    EXPECT_EQ(docs.doc_pos, 1);
    press(KEY_SOFT1);
    EXPECT_EQ(popup(), "none");

    doc_open_list(false); // no INFOPAGE folder
    EXPECT_EQ(screen(), "screen_no_files");
    press(KEY_CW);
    EXPECT_EQ(screen(), "run_screen");
}

TEST_F(Menus, DocumentListWindowFollowsTheCursorToTheLastOfFifteen)
{
    // 15 checklists; the last one's card path is exactly 50 characters, one
    // more than the settings keep.
    test::FakePlatform platform;
    const std::filesystem::path folder = platform.card() / "CHECKLST";
    std::filesystem::create_directories(folder);
    std::vector<std::string> names;
    for (int i = 1; i <= 14; ++i) names.push_back("LIST " + std::to_string(10 + i) + ".ECL");
    names.push_back("LIST 25" + std::string(34 - 11, 'Z') + ".ECL");
    for (const std::string& n : names) std::ofstream(folder / n) << "LINE\n";
    const std::string last_path = "SDCARD\\CHECKLST\\" + names.back();
    ASSERT_EQ(last_path.size(), sizeof settings.doc_last_name);
    sys.sd_card_present = sys.sd_card_mounted = 1;
    doc_open_list(true);
    ASSERT_EQ(docs.doc_count, 15);
    presses(KEY_CW, 14);
    EXPECT_EQ(docs.doc_pos, 14);
    EXPECT_EQ(+nav.menu_cursor, 10);
    EXPECT_EQ(std::string(docs.doc_names[0]), names[4]); // the window starts at the fifth file
    EXPECT_EQ(std::string(docs.doc_names[10]), names[14]);
    presses(KEY_CCW, 4); // back to the eleventh: the window starts at the first again
    EXPECT_EQ(+nav.menu_cursor, 10);
    EXPECT_EQ(std::string(docs.doc_names[0]), names[0]);
    EXPECT_EQ(std::string(docs.doc_names[10]), names[10]);
    presses(KEY_CW, 4);
    press(KEY_PUSH);
    EXPECT_EQ(docs.doc_shown, 2);
    EXPECT_EQ(std::string(docs.doc_path), last_path);
    // Too long for the settings: not kept there, and nothing beyond them overwritten.
    EXPECT_EQ(settings.doc_last_kind, 2);
    EXPECT_STREQ(settings.doc_last_name, "");
    EXPECT_EQ(settings.fuel_pressure_display, 1);
}

TEST_F(Menus, BacklightStepsAndLimits)
{
    quick.quick_menu_handler = popup_backlight;
    tick.quick_menu_countdown = 10;
    settings.backlight = 31;
    std::vector<int> down, up;
    for (int i = 0; i < 16; ++i) {
        press(KEY_CCW);
        down.push_back(settings.backlight);
    }
    for (int i = 0; i < 16; ++i) {
        press(KEY_CW);
        up.push_back(settings.backlight);
    }
    EXPECT_EQ(down, (std::vector<int>{29, 27, 25, 23, 21, 19, 17, 15, 13, 11, 9, 7, 5, 3, 2, 2}));
    EXPECT_EQ(up, (std::vector<int>{4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 31, 31}));
    settings.backlight = 15;
    draw_popup();
    EXPECT_GOLDEN("popup_backlight");
    press(KEY_PUSH);
    EXPECT_EQ(popup(), "none");
}

TEST_F(Menus, TimerDigitsMakeThePreset)
{
    pilot_timer_open();
    EXPECT_EQ(popup(), "popup_timer");
    const int steps[5] = {1, 5, 9, 5, 9};
    for (int d = 0; d < 5; ++d) {
        presses(KEY_CW, steps[d]);
        press(KEY_PUSH);
    }
    EXPECT_EQ(pilot.pilot_timer_preset, 7199u);
    EXPECT_EQ(nav.menu_cursor, 0); // after the fifth digit comes the first
    press(KEY_PUSH);
    press(KEY_CW); // tens of minutes 5 -> 0
    EXPECT_EQ(pilot.pilot_timer_preset, 7199u - 3000u);
    press(KEY_CCW); // and back
    draw_popup();
    EXPECT_GOLDEN("popup_timer");
    press(KEY_SOFT4);
    EXPECT_EQ(tick.pilot_timer, 7199u);
    press(KEY_SOFT2);
    press(KEY_SOFT3);
    EXPECT_EQ(tick.pilot_timer_up, 1);
    EXPECT_EQ(tick.pilot_timer_running, 1);
    press(KEY_SOFT1);
    EXPECT_EQ(popup(), "none");
    EXPECT_EQ(tick.pilot_timer_running, 1); // keeps running when closed
}

TEST_F(Menus, LeanAndCruiseExcludeEachOther)
{
    thermo.tc_value[0] = 650;
    thermo.tc_peak_order[0] = 3;
    run.egt_cht_view = VIEW_EGT_GRAPH;
    cruise_mode_open();
    press(KEY_SOFT2);
    EXPECT_EQ(thermo.cruise_mode, 1);
    EXPECT_EQ(popup(), "none");
    lean_mode_open();
    draw_popup();
    EXPECT_GOLDEN("popup_lean_mode");
    press(KEY_SOFT2);
    EXPECT_EQ(thermo.lean_mode, 1);
    EXPECT_EQ(thermo.cruise_mode, 0);
    EXPECT_EQ(thermo.tc_peak[0], 650);
    EXPECT_EQ(thermo.tc_peak_order[0], 0);
    EXPECT_EQ(thermo.lean_order_next, 1);
    EXPECT_EQ(run.egt_cht_view, VIEW_BARS);
    cruise_mode_open();
    press(KEY_SOFT2);
    EXPECT_EQ(thermo.lean_mode, 0);
    EXPECT_EQ(thermo.cruise_mode, 1);
    cruise_mode_open();
    press(KEY_PUSH); // closes without change
    EXPECT_EQ(thermo.cruise_mode, 1);
    cruise_mode_open();
    press(KEY_SOFT2);
    EXPECT_EQ(thermo.cruise_mode, 0);
}

TEST_F(Menus, RefillLimitsToTheTankAndChainsToTankTwo)
{
    settings.tank1_mode = TANK_CALCULATED;
    settings.tank2_mode = TANK_CALCULATED;
    settings.tank1_size = 45;
    fuel_config_derive();
    fuel.tank_level[0] = 12;
    refill_open(0);
    EXPECT_EQ(pilot.refill_level[0], 12);
    press(KEY_CCW);    // 0 -> 9: 912
    press(KEY_PUSH);   // tens
    presses(KEY_CW, 4); // 952
    press(KEY_PUSH);   // units
    presses(KEY_CCW, 2); // 950
    EXPECT_EQ(pilot.refill_level[0], 950);
    presses(KEY_PUSH, 1); // hundreds
    press(KEY_CW);        // 9 -> 0: 050
    draw_popup();
    EXPECT_GOLDEN("popup_refill");
    press(KEY_SOFT1);
    EXPECT_EQ(pilot.refill_level[0], 45);
    EXPECT_EQ(fuel_hobbs.fuel.tank1_contents, 45u * 7000u);
    EXPECT_EQ(popup(), "popup_refill_tank2");
    settings.tank2_size = 80;
    press(KEY_SOFT2); // FULL
    EXPECT_EQ(fuel_hobbs.fuel.tank2_contents, 80u * 7000u);
    EXPECT_EQ(popup(), "none");
}

TEST_F(Menus, RefillOfLargeInjectorGallonTanksDoesNotWrap)
{
    settings.tank1_mode = TANK_CALCULATED;
    settings.fuel_unit = 1; // GAL/SM
    settings.fuel_flow_source = 1;
    settings.k_factor1 = 60000;
    settings.tank1_size = 999;
    refill_open(0);
    press(KEY_SOFT2);
    const uint64_t expected = uint64_t(k_unit(60000)) * 999 / 10; // about 2.27e8 with a product of 2.27e9
    EXPECT_EQ(fuel_hobbs.fuel.tank1_contents, expected);
}

TEST_F(Menus, FuelTotalsDifferentialIsSignedAndResetClears)
{
    settings.flow2_on = 1;
    settings.flow_mode = FLOW_DIFFERENTIAL;
    fuel_config_derive();
    ASSERT_EQ(derived.fuel_config, 12); // flows 1 and 2, tank 1 by sender
    fuel_hobbs.fuel.fuel_used1 = 3 * 7000;
    fuel_hobbs.fuel.fuel_used2 = 5 * 7000;
    EXPECT_EQ(fuel_total(0) - fuel_total(1), -2);
    fuel_totals_open();
    draw_popup();
    EXPECT_TRUE(shows_text(220, 114, "-2 L", 16, COLOUR_WHITE, 220, 300, 16));
    EXPECT_TRUE(shows_text(150, 127, "TOTAL:", 8, COLOUR_SILVER, 150, 215, 12));

    // Tenth-litre tanks: the fuel computer counts ten times finer.
    settings.flow_mode = FLOW_SUMMATION;
    settings.tank_resolution = 1;
    fuel_hobbs.fuel.fuel_used1 = 30 * 7000;
    fuel_hobbs.fuel.fuel_used2 = 5 * 7000;
    draw_popup();
    EXPECT_TRUE(shows_text(220, 114, "3.5 L", 16, COLOUR_WHITE, 220, 300, 16));
    EXPECT_GOLDEN("popup_fuel_totals");
    fuel.fuel_used[0] = 3;
    press(KEY_SOFT2);
    EXPECT_EQ(fuel_hobbs.fuel.fuel_used1, 0u);
    EXPECT_EQ(fuel_hobbs.fuel.fuel_used2, 0u);
    EXPECT_EQ(fuel.fuel_used[0], 0u);
    EXPECT_EQ(popup(), "popup_fuel_totals"); // stays open
}

TEST_F(Menus, FuelTotalsOfLayoutNineShowEachFlowSender)
{
    // Flow 1 with only tank 2: a layout without range, whose fuel is counted all the same.
    settings.tank1_mode = TANK_OFF;
    settings.tank2_mode = TANK_SENDER;
    fuel_config_derive();
    ASSERT_EQ(derived.fuel_config, 9);
    fuel_hobbs.fuel.fuel_used1 = 12 * 7000;
    fuel_hobbs.fuel.fuel_used2 = 4 * 7000;
    fuel_totals_open();
    draw_popup();
    EXPECT_TRUE(shows_text(150, 127, "TOTAL:", 8, COLOUR_SILVER, 150, 215, 12));
    EXPECT_TRUE(shows_text(220, 114, "12 L", 16, COLOUR_WHITE, 220, 300, 16));
    EXPECT_FALSE(test::any_in(140, 157, 340, 183, COLOUR_WHITE)); // one line, the short box

    // Both flows on: each its own line.
    settings.flow2_on = 1;
    fuel_config_derive();
    ASSERT_EQ(derived.fuel_config, 9);
    draw_popup();
    EXPECT_TRUE(shows_text(150, 127, "TOTAL 1:", 8, COLOUR_SILVER, 150, 215, 12));
    EXPECT_TRUE(shows_text(150, 157, "TOTAL 2:", 8, COLOUR_SILVER, 150, 215, 12));
    EXPECT_TRUE(shows_text(220, 144, "4 L", 16, COLOUR_WHITE, 220, 300, 16));
}

TEST_F(Menus, CruiseSpeedDigits)
{
    settings.fuel_unit = 2; // LITRE/NM: knots
    cruise_speed_open();
    press(KEY_CCW); // 050 -> 950
    press(KEY_PUSH);
    press(KEY_PUSH);
    press(KEY_CW); // 951
    EXPECT_EQ(+settings.cruise_speed, 951); // by value: the field is packed
    draw_popup();
    EXPECT_GOLDEN("popup_cruise_speed");
    press(KEY_SOFT1);
    EXPECT_EQ(popup(), "none");
}

} // namespace
