// The FLIGHT LOG page's own key rules: which rows take a step and how far,
// the step starting again at 1 on another row, the minimum rows wrapping at
// their ends and coming and going with FLIGHT DETECT.
#include <gtest/gtest.h>

#include "ops/flight_log.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "ui/navigation.h"
#include "ui/screen.h"

using namespace ems;

namespace {

class FlightLogPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        settings_load_defaults();
        ScreenHandler = screen_flight_log;
        nav.edit_step = 1;
    }
    void press(uint8_t key, int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            KeyEvent = key;
            ScreenHandler();
        }
    }
};

TEST_F(FlightLogPage, StepsWrapAndRowsFollowFlightDetect)
{
    press(KEY_CW, 3); // PILOT NUMBER takes no step, and wraps 0 -> 255
    press(KEY_SOFT3);
    EXPECT_EQ(nav.edit_step, 1);
    press(KEY_PUSH);
    press(KEY_CCW);
    EXPECT_EQ(settings.pilot_number, 255);
    press(KEY_PUSH);

    settings.flight_detect = 1;
    press(KEY_CW, 2); // MIN RPM 1: steps to 1000, then back to 1
    EXPECT_EQ(nav.menu_cursor, 5);
    press(KEY_SOFT3, 3);
    EXPECT_EQ(nav.edit_step, 1000);
    press(KEY_SOFT3);
    EXPECT_EQ(nav.edit_step, 1);
    settings.flight_detect_min_rpm1 = 99000;
    press(KEY_PUSH);
    press(KEY_CW);
    EXPECT_EQ(settings.flight_detect_min_rpm1, 100u);
    press(KEY_SOFT3);
    press(KEY_CCW);
    EXPECT_EQ(settings.flight_detect_min_rpm1, 99000u);
    press(KEY_PUSH);
    press(KEY_CW, 2); // MIN GROUND SPEED: the step starts at 1 and goes to 100 only
    EXPECT_EQ(nav.edit_step, 1);
    press(KEY_SOFT3, 3);
    EXPECT_EQ(nav.edit_step, 1);

    // Back to MANUAL on row 4: the cursor stays, the minimum rows go.
    press(KEY_CCW, 3);
    press(KEY_PUSH);
    press(KEY_CW);
    press(KEY_PUSH);
    EXPECT_EQ(settings.flight_detect, 0);
    press(KEY_CW);
    EXPECT_EQ(nav.menu_cursor, 0);
}

} // namespace
