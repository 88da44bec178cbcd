// The hobbs and maintenance counters as they run, and goldens of the TIMERS
// SETUP page and each of its screens.
#include <gtest/gtest.h>

#include "app/tick.h"
#include "sensors/hobbs.h"
#include "settings/settings.h"
#include "setup/timers_setup.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "system/raw_inputs.h"
#include "system/system_state.h"
#include "ui/navigation.h"
#include "ui/screen.h"

using namespace ems;

namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        settings_load_defaults();
    }
    void TearDown() override { test::reset_firmware(); }
    static void minutes(int n)
    {
        for (int i = 0; i < 600 * n; ++i) Timer1Timer();
    }
    static HobbsMaintenance& h() { return fuel_hobbs.hobbs; }
};

TEST_F(Timers, CountersCarryHoursAndTheCountdownStopsAtZero)
{
    h().hobbs_hours = 9, h().hobbs_minutes = 59, h().maint_hours = 0, h().maint_minutes = 1;
    hobbs_count_minute();
    EXPECT_EQ(+h().hobbs_hours, 10);
    EXPECT_EQ(+h().hobbs_minutes, 0);
    EXPECT_EQ(+h().maint_minutes, 0);
    hobbs_count_minute();
    EXPECT_EQ(+h().hobbs_minutes, 1);
    EXPECT_EQ(+h().maint_hours, 0);
    EXPECT_EQ(+h().maint_minutes, 0);
    h().hobbs_hours = HOBBS_HOURS_MAX, h().hobbs_minutes = 59;
    hobbs_count_minute();
    EXPECT_EQ(+h().hobbs_hours, HOBBS_HOURS_MAX);
    EXPECT_EQ(+h().hobbs_minutes, 59);
}

TEST_F(Timers, StartConditionChoosesWhatRunsTheCounters)
{
    // POWER: from the splash on, never while off.
    settings.hobbs_start = 0;
    minutes(1);
    EXPECT_EQ(+h().hobbs_minutes, 0);
    sys.phase = PowerPhase::Splash;
    minutes(1);
    EXPECT_EQ(+h().hobbs_minutes, 1);
    // RPM 2 against the minimum; RPM 1 is ignored then.
    settings.hobbs_start = 2;
    sys.phase = PowerPhase::Running;
    raw.rpm2 = 999;
    minutes(2);
    EXPECT_EQ(+h().hobbs_minutes, 1);
    raw.rpm2 = 1000;
    minutes(2);
    EXPECT_EQ(+h().hobbs_minutes, 3);
}

// ---- Goldens -------------------------------------------------------------------

void show(ScreenFn screen, uint8_t cursor)
{
    ScreenHandler = screen;
    nav.menu_cursor = cursor;
    KeyEvent = KEY_NONE;
    screen();
}

TEST_F(Timers, PageAndScreenGoldens)
{
    test::FakePlatform fake;
    settings.utc_offset = -330;
    show(screen_timers_setup, TIMERS_ROW_MIN_RPM);
    EXPECT_GOLDEN("timers_setup");

    fuel_hobbs.hobbs = {.hobbs_minutes = 30, .hobbs_hours = 1234, .maint_minutes = 0, .maint_hours = 25};
    open_hobbs_time();
    show(screen_hobbs_time, 4);
    EXPECT_GOLDEN("timers_hobbs_decimal");
    settings.hobbs_format = 1;
    open_hobbs_time();
    show(screen_hobbs_time, 5);
    EXPECT_GOLDEN("timers_hobbs_minutes");

    nav.menu_cursor = TIMERS_ROW_MAINTENANCE;
    KeyEvent = KEY_PUSH;
    screen_timers_setup();
    show(screen_maintenance_timer, 1);
    EXPECT_GOLDEN("timers_maintenance");

    timers.digit_entry[0] = 8, timers.digit_entry[1] = 2;
    show(screen_enter_current_code, 2);
    EXPECT_GOLDEN("timers_hobbs_code");
    timers.code_scratch = 0;
    show(screen_code_message, 0);
    EXPECT_GOLDEN("timers_code_message");

    fake.now = {.second = 7, .minute = 5, .hour = 9, .day = 29, .month = 1, .year = 124};
    clock_update(0);
    open_set_utc();
    show(screen_set_utc, 2);
    EXPECT_GOLDEN("timers_set_utc");
}

} // namespace
