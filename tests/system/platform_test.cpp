// The platform's parts: a program installs only those it has, and every part
// left out does nothing, so the firmware runs with none at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/power.h"
#include "host/card/core/card_folder.h"
#include "ops/settings_card.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/clock.h"
#include "system/platform.h"
#include "system/raw_inputs.h"
#include "system/system_state.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace {

using namespace ems;

TEST(Platform, WithNoPartsInstalledAPowerCycleRunsOnTheDefaults)
{
    set_platform({});
    test::reset_firmware();
    ASSERT_TRUE(power_on());
    key_press(1);
    firmware_pass(); // no splash picture to load; the notice follows
    key_press(1);
    firmware_pass(); // first main-loop pass
    ASSERT_EQ(sys.phase, PowerPhase::Running);
    EXPECT_EQ(sys.sd_card_mounted, 0) << "no box is ticked";
    EXPECT_EQ(raw.rpm_period, 0) << "every slider reads 0";
    EXPECT_EQ(clk.clock_utc.year, 2026);
    EXPECT_FALSE(settings_save_to_card()) << "there is no card";
    EXPECT_EQ(ScreenHandler, screen_invalid_settings);
    power_off();
    firmware_pass();
    test::reset_firmware();
}

TEST(Platform, EachPartIsServedByWhatWasInstalledForIt)
{
    const std::filesystem::path dir = host::make_temp_card_dir("ems-platform");
    std::ofstream(dir / "SDCARD" / "A.TXT") << "x";
    {
        host::CardFolder card(dir);
        set_platform({.card = &card});
        const int f = platform().card().file_open("SDCARD\\A.TXT", FileMode::Read);
        EXPECT_GE(f, 0);
        platform().card().file_close(f);
        EXPECT_FALSE(platform().inputs().check_box(CheckBox::SdCardMounted));
        EXPECT_EQ(platform().clock().utc_time().year, UtcTime{}.year);
        set_platform({});
    }
    EXPECT_LT(platform().card().file_open("SDCARD\\A.TXT", FileMode::Read), 0);
    std::filesystem::remove_all(dir);
}

} // namespace
