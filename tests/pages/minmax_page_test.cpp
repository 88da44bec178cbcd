// The MIN/MAX page: its rows and second column, RESET, EXIT, and keys that
// never reach the run screen underneath.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "gps/gps_data.h"
#include "ops/quick_menus.h"
#include "pages/minmax_page.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/minmax.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "system/raw_inputs.h"
#include "system/tick.h"
#include "ui/screen.h"

using namespace ems;
using test::shows_text;

namespace {

class MinMaxPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables();
        ScreenHandler = run_screen;
    }
    void open()
    {
        quick.quick_menu_handler = screen_minmax;
        tick.quick_menu_countdown = 10;
    }
};

TEST_F(MinMaxPage, DefaultRows)
{
    minmax.volts_min = 118;
    minmax.volts_max = 143;
    minmax.oat_min = -4;
    minmax.oat_max = 21;
    minmax.rpm1_max = 5420;
    minmax.aux_temp_max[0] = 104;
    minmax.aux_pressure_max[1] = 52;
    minmax.tc_max[0] = 712;
    minmax.tc_max[2] = 121;
    clear_screen();
    screen_minmax();
    EXPECT_TRUE(shows_text(30, 40, "BAT  (V):", ALIGN_LEFT, COLOUR_SILVER, 30, 160));
    EXPECT_TRUE(shows_text(165, 40, "11.8/14.3", ALIGN_LEFT, COLOUR_WHITE, 165, 300));
    EXPECT_TRUE(shows_text(30, 55, "OAT (\xB0" "C):", ALIGN_LEFT, COLOUR_SILVER, 30, 160));
    EXPECT_TRUE(shows_text(165, 70, "5420", ALIGN_LEFT, COLOUR_WHITE, 165, 300));
    EXPECT_TRUE(shows_text(30, 70, "ENGINE RPM:", ALIGN_LEFT, COLOUR_SILVER, 30, 160));
    EXPECT_GOLDEN("minmax_default");
}

TEST_F(MinMaxPage, PercentRpmRow)
{
    settings.rpm1_display = 1;
    minmax.rpm1_max = 97;
    clear_screen();
    screen_minmax();
    EXPECT_TRUE(shows_text(30, 70, "ENGINE RPM (%):", ALIGN_LEFT, COLOUR_SILVER, 30, 160));
    EXPECT_TRUE(shows_text(165, 70, "97", ALIGN_LEFT, COLOUR_WHITE, 165, 300));
}

TEST_F(MinMaxPage, TwelveRowsBeforeTheThermocouplesStartTheSecondColumn)
{
    // volts, OAT, RPM 1, RPM 2, MAP, GPS, ch 0 temperature, ch 1 pressure,
    // ch 2 current, ch 3 generic, fuel pressure, amps: twelve rows.
    settings.rpm2_display = 0;
    settings.map_display = 1;
    gps.gps_fix_valid = 1;
    settings.channel_mode[2] = CHANNEL_CURRENT;
    settings.current_display = 1;
    settings.egt_channels = 6;
    settings.cht_channels = 6;
    for (int i = 0; i < 12; ++i) minmax.tc_max[i] = int16_t(600 + 10 * i);
    minmax.aux_current_min[2] = -3;
    minmax.aux_current_max[2] = 28;
    minmax.gps_speed_max = 112;
    clear_screen();
    screen_minmax();
    EXPECT_TRUE(shows_text(30, 160, "CH3 (A):", ALIGN_LEFT, COLOUR_SILVER, 30, 160));
    EXPECT_TRUE(shows_text(30, 205, "AMPS (A):", ALIGN_LEFT, COLOUR_SILVER, 30, 160));
    // The first column is full: no row reaches the frame (row 227), all twelve
    // thermocouples fit in the second.
    EXPECT_FALSE(test::any_in(11, 219, 469, 226, COLOUR_SILVER));
    EXPECT_TRUE(shows_text(270, 40, "EGT 1 (\xB0" "C):", ALIGN_LEFT, COLOUR_SILVER, 270, 400));
    EXPECT_TRUE(shows_text(270, 130, "CHT 1 (\xB0" "C):", ALIGN_LEFT, COLOUR_SILVER, 270, 400));
    EXPECT_TRUE(shows_text(405, 130, "660", ALIGN_LEFT, COLOUR_WHITE, 405, 460));
    EXPECT_TRUE(shows_text(270, 205, "CHT 6 (\xB0" "C):", ALIGN_LEFT, COLOUR_SILVER, 270, 400));
    EXPECT_GOLDEN("minmax_two_columns");
}

TEST_F(MinMaxPage, ResetTakesThePresentReadings)
{
    minmax.rpm1_max = 5800;
    minmax.rpm2_max = 1200;
    sens.rpm = 0;
    raw.rpm2 = 0;
    open();
    KeyEvent = KEY_SOFT2;
    run_screen();
    EXPECT_EQ(int32_t{minmax.rpm1_max}, 0);
    EXPECT_EQ(int32_t{minmax.rpm2_max}, 0);
    EXPECT_EQ(tick.quick_menu_countdown, 10); // still open
    EXPECT_EQ(KeyEvent, KEY_NONE);
}

TEST_F(MinMaxPage, StaysOpenUntilExitAndSwallowsOtherKeys)
{
    open();
    tick.quick_menu_countdown = 1; // the slow tick has nearly run it out
    for (uint8_t key : {KEY_SOFT5, KEY_PUSH, KEY_CW, KEY_SOFT3}) {
        KeyEvent = key;
        run_screen();
        EXPECT_EQ(run.run_page, PAGE_ENGINE);
        EXPECT_EQ(tick.quick_menu_countdown, 10);
        EXPECT_EQ(quick.quick_menu_handler, &screen_minmax);
    }
    KeyEvent = KEY_SOFT1;
    run_screen();
    EXPECT_EQ(tick.quick_menu_countdown, 0);
    EXPECT_EQ(run.run_page, PAGE_ENGINE);
}

} // namespace
