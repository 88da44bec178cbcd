// An EMS setup page driven through the real window's keys: the EGT count set
// on EGT SETUP is what the engine page uses after EXIT.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "pages/run_screen.h"
#include "setup/setup_pages.h"
#include "support/firmware_reset.h"
#include "ui/navigation.h"
#include "ui/screen.h"

namespace {

TEST(SetupScenario, EgtCountSetByKeysActsOnTheEnginePage)
{
    test::reset_firmware();
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("SDCARD");
    host::TfrmMain window(dir.path());
    window.runner()->set_virtual_time(true);
    host::ScenarioRunner runner(window);
    ASSERT_EQ(runner.run_text("power on\nkey 1\npasses 1\nkey 1\npasses 1\npasses 2\n"
                              "screenshot lcd two.png\n", dir.path(), "on"), 0)
        << runner.last_error().toStdString();

    // Where the main menu's EMS SETUP tile leads.
    ems::ScreenHandler = ems::screen_ems_setup_menu;
    ems::nav.menu_cursor = 0;
    const char* script = "key 7\npasses 1\nkey 7\npasses 1\nkey 6\npasses 1\n" // EGT SETUP
                         "key 6\npasses 1\nkey 7\npasses 1\nkey 7\npasses 1\n" // EGT CHANNELS 2 -> 4
                         "expect settings.egt_channels 4\n"
                         "key 1\npasses 2\n"
                         "expect settings.egt_channels 4\nscreenshot lcd four.png\n";
    EXPECT_EQ(runner.run_text(script, dir.path(), "egt"), 0) << runner.last_error().toStdString();
    EXPECT_EQ(ems::ScreenHandler, ems::run_screen);

    // The engine page drew four EGT channels; with two again it draws as before.
    ems::settings.egt_channels = 2;
    EXPECT_EQ(runner.run_text("passes 2\nscreenshot lcd again.png\npower off\npasses 1\n", dir.path(), "off"), 0);
    // Only the EGT and CHT bars: the fuel level beside them settles through its
    // filter from pass to pass.
    const auto bars = [&](const char* name) { return QImage(dir.filePath(name)).copy(0, 150, 280, 122); };
    const QImage two = bars("two.png"), four = bars("four.png"), again = bars("again.png");
    ASSERT_FALSE(two.isNull());
    EXPECT_NE(two, four);
    EXPECT_EQ(two, again);
}

} // namespace
