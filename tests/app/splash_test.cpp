// What power-on shows: the splash picture with the unit's identity, and the
// maintenance notice.
#include <filesystem>
#include <gtest/gtest.h>

#include "app/power.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "ui/screen.h"

namespace {

using namespace ems;

class Splash : public ::testing::Test {
protected:
    void SetUp() override { test::reset_firmware(); }
    void TearDown() override
    {
        key_press(1);
        firmware_pass();
        key_press(1);
        firmware_pass();
        power_off();
        firmware_pass();
    }
    test::FakePlatform platform;
};

TEST_F(Splash, PictureRegistrationSerialAndVersion)
{
    std::filesystem::copy_file(std::filesystem::path(EMS_SOURCE_DIR) / "assets/SDCARD/SPLASH.MIF",
                               platform.card() / "SPLASH.MIF");
    calibration.serial_number = 4711;
    ASSERT_TRUE(power_on());
    firmware_pass();
    EXPECT_GOLDEN("splash");
}

TEST_F(Splash, WithoutAPictureOnlyTheTextsShowOnBlack)
{
    ASSERT_TRUE(power_on());
    firmware_pass();
    // Above the text strip everything is black.
    int lit = 0;
    for (size_t i = 0; i < size_t(LCD_WIDTH) * 238; ++i) lit += Framebuffer[i] != 0;
    EXPECT_EQ(lit, 0);
    int text = 0;
    for (size_t i = size_t(LCD_WIDTH) * 238; i < FRAME_BYTES; ++i) text += Framebuffer[i] == COLOUR_WHITE;
    EXPECT_GT(text, 100);
    EXPECT_GOLDEN("splash_no_card");
}

TEST_F(Splash, MaintenanceNotice)
{
    ASSERT_TRUE(power_on());
    key_press(1);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Maintenance);
    EXPECT_GOLDEN("maintenance_notice");
}

} // namespace
