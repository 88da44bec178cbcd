// Golden screenshots of the EMS setup pages: both menu pages, a plain list
// page, the channel page in each mode, and the pages with their own extras
// (ECU SETUP with a UL POWER computer, GPS SETUP with the computed variation).
#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "gps/sun.h"
#include "settings/settings.h"
#include "setup/setup_pages.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/widgets.h"

using namespace ems;

namespace {

class SetupGoldens : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables();
    }
    void TearDown() override { test::reset_firmware(); }

    static void show_tile(uint8_t tile, uint8_t cursor = 0)
    {
        ScreenHandler = screen_ems_setup_menu;
        nav.menu_cursor = tile;
        KeyEvent = KEY_PUSH;
        ScreenHandler();
        nav.menu_cursor = cursor;
        ScreenHandler();
    }
};

TEST_F(SetupGoldens, MenuPages)
{
    nav.menu_cursor = 2;
    screen_ems_setup_menu();
    EXPECT_GOLDEN("ems_setup_page1");
    settings.ecu_type = 1; // ROTAX: the third analog input is the coolant
    nav.menu_cursor = 8;
    screen_ems_setup_menu();
    EXPECT_GOLDEN("ems_setup_page2");
}

TEST_F(SetupGoldens, PlainListPage)
{
    show_tile(TILE_RPM1, 14);
    EXPECT_GOLDEN("setup_rpm1_scrolled");
}

TEST_F(SetupGoldens, ChannelPageInEachMode)
{
    show_tile(TILE_CHANNEL0 + 1, 3); // pressure, VDO sender and model
    EXPECT_GOLDEN("setup_channel_pressure");
    settings.temperature_cfg[0].sender = 4; // LM335 with its reading
    show_tile(TILE_CHANNEL0, 2);
    EXPECT_GOLDEN("setup_channel_temperature");
    settings.channel_mode[2] = CHANNEL_CURRENT;
    show_tile(TILE_CHANNEL0 + 2, 10);
    EXPECT_GOLDEN("setup_channel_current");
    settings.generic_cfg[3].decimals = 1;
    show_tile(TILE_CHANNEL0 + 3, 6);
    EXPECT_GOLDEN("setup_channel_generic");
    settings.cht_probe = 3;
    show_tile(TILE_CHANNEL0 + 3);
    EXPECT_GOLDEN("setup_channel_ntc");
}

TEST_F(SetupGoldens, PagesWithExtras)
{
    settings.ecu_type = 2;
    show_tile(TILE_ECU);
    EXPECT_GOLDEN("setup_ecu_ul_power");
    settings.ecu_type = 1;
    show_tile(TILE_ECU);
    EXPECT_GOLDEN("setup_ecu_rotax");

    magsun.mag_variation = -12.25f;
    ScreenHandler = screen_gps_setup;
    enter_list(7);
    screen_gps_setup();
    EXPECT_GOLDEN("setup_gps");
}

} // namespace
