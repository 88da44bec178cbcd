// TIMERS SETUP played through the real window: the hobbs time entered in
// both formats and shown on the engine page, the hobbs code lock, the UTC
// offset limits with the local clock, the date and time set by the pilot,
// and the hobbs and maintenance timers counting over scenario time.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/pixels.h"
#include "support/window_scenario.h"

namespace {

using test::keys;

// Power on past the splash and the maintenance notice to the engine page.
const QString POWER_ON = "power on\n" + keys(1) + keys(1) + "expect screen run_screen\n";
// Engine page to TIMERS SETUP: quick menu, MENU, tile 3.
const QString TO_TIMERS = keys(6) + keys(8) + keys(6) + "expect screen screen_main_menu\n" + keys(7, 3) + keys(6) +
                          "expect screen screen_timers_setup\n";
// From TIMERS SETUP row 0 to a row.
QString row(int r) { return keys(7, r) + QString("expect menu_cursor %1\n").arg(r); }
// Four code digits from 0000, then the last push completes the screen.
QString code(int c)
{
    QString s;
    const int d[4] = {c / 1000, c / 100 % 10, c / 10 % 10, c % 10};
    for (int v : d) s += keys(7, v) + keys(6);
    return s;
}

class TimersScenario : public test::WindowScenario {
protected:
    TimersScenario() : WindowScenario("timers") {}
    // The engine page's hobbs value (plain top strip, centred at x 368).
    static bool hobbs_shows(const char* text)
    {
        return test::shows_text(368, 15, text, ems::ALIGN_CENTRE, ems::COLOUR_WHITE, 330, 410);
    }
};

TEST_F(TimersScenario, HobbsTimeInBothFormats)
{
    // DECIMAL 1234.5 is kept as 1234 h 30 min and shown as entered.
    run(POWER_ON + TO_TIMERS + row(2) + keys(6) + "expect screen screen_hobbs_time\n" + keys(7) + keys(6) +
        keys(7, 2) + keys(6) + keys(7, 3) + keys(6) + keys(7, 4) + keys(6) + keys(7, 5) + keys(6) +
        "expect screen screen_timers_setup\nexpect menu_cursor 2\nexpect hobbs_hours 1234\n"
        "expect hobbs_minutes 30\n" + keys(1) + "passes 1\n");
    EXPECT_TRUE(hobbs_shows("1234.5"));

    // The same time after a switch to MINUTES, and the digits it loads.
    run(TO_TIMERS + row(4) + keys(6) + keys(7) + keys(6) + "expect settings.hobbs_format 1\n" + keys(8, 2) +
        keys(6) + "expect timers.digit_entry [1,2,3,4,3,0]\n" + keys(2) + "expect menu_cursor 2\n" + keys(1) + "passes 1\n");
    EXPECT_TRUE(hobbs_shows("1234:30"));

    // MINUTES entry: the tens of the minutes run 0..5, so turns wrap within them.
    run(TO_TIMERS + row(2) + keys(6) + keys(6, 4) + keys(7, 3) + "expect timers.digit_entry [1,2,3,4,0,0]\n" + keys(8) +
        keys(6) + keys(8) + keys(6) + "expect hobbs_minutes 59\n" + keys(1) + "passes 1\n");
    EXPECT_TRUE(hobbs_shows("1234:59"));
    // Back in DECIMAL, 59 minutes are 0.9 h.
    run(TO_TIMERS + row(4) + keys(6) + keys(8) + keys(6) + keys(1) + "passes 1\n");
    EXPECT_TRUE(hobbs_shows("1234.9"));
    // Confirmed with the tenths as they opened, the minutes stay; a changed
    // tenths digit sets them.
    run(TO_TIMERS + row(2) + keys(6) + keys(6, 5) + "expect hobbs_minutes 59\nexpect hobbs_hours 1234\n" + keys(6) +
        keys(6, 4) + keys(8) + keys(6) + "expect hobbs_minutes 48\n");
}

TEST_F(TimersScenario, HobbsCodeLock)
{
    // No code yet: the current code is 0000; a new code needs the same digits twice.
    run(POWER_ON + TO_TIMERS + row(3) + keys(6) + "expect screen screen_enter_current_code\n" + code(0) +
        "expect screen screen_enter_new_code\n" + code(1234) + "expect screen screen_confirm_new_code\n" +
        code(1234) + "expect screen screen_code_message\nexpect code_scratch 1\nexpect settings.hobbs_code 1234\n" +
        keys(6) + "expect screen screen_timers_setup\nexpect menu_cursor 3\n");

    // SET HOBBS TIME now asks for it; a wrong code changes nothing.
    run(keys(8) + keys(6) + "expect screen screen_enter_hobbs_code\n" + code(1111) +
        "expect screen screen_code_message\nexpect code_scratch 0\n" + keys(3) +
        "expect screen screen_timers_setup\nexpect menu_cursor 2\n" + keys(6) + code(1234) +
        "expect screen screen_hobbs_time\n" + keys(2) + "expect menu_cursor 2\n");

    // Changing it: a wrong current code is refused, the master code accepted,
    // and a confirmation that differs keeps the old code.
    run(keys(7) + keys(6) + code(1111) + "expect screen screen_code_message\nexpect code_scratch 0\n" + keys(6) +
        keys(6) + code(8206) + "expect screen screen_enter_new_code\n" + code(4321) + code(4320) +
        "expect screen screen_code_message\nexpect code_scratch 0\nexpect settings.hobbs_code 1234\n" + keys(6) +
        "expect menu_cursor 3\n");
}

TEST_F(TimersScenario, UtcOffsetLimitsAndTheLocalClock)
{
    run("clock 2026-03-01 10:00:00\n" + POWER_ON + TO_TIMERS + row(1) + keys(6) + keys(7, 30) +
        "expect settings.utc_offset 780\n" + keys(8, 60) + "expect settings.utc_offset -780\n" + keys(7, 37) +
        "expect settings.utc_offset 330\n" + keys(6) + keys(1) + "passes 1\n"
        "expect clock_local.hour 15\nexpect clock_local.minute 30\nexpect clock_local.day 1\n");
    EXPECT_TRUE(test::shows_text(198, 15, "15:30:00", ems::ALIGN_CENTRE, ems::COLOUR_WHITE, 160, 240));
    EXPECT_TRUE(test::shows_text(112, 15, "10:00:00", ems::ALIGN_CENTRE, ems::COLOUR_WHITE, 75, 150));
}

TEST_F(TimersScenario, DateAndTimeSetByThePilotKeepRunning)
{
    // BACK leaves the clock alone.
    run("clock 2026-01-31 12:00:00\n" + POWER_ON + TO_TIMERS + keys(6) + "expect screen screen_set_utc\n" +
        keys(6) + keys(7) + keys(2) + "expect screen screen_timers_setup\npasses 1\nexpect clock_utc.month 1\n");
    // 31 January: stepping the month to February brings the day down to 28.
    run(keys(6) + keys(6) + keys(7) + keys(6, 3) + keys(7) + keys(6, 2) +
        "expect screen screen_timers_setup\nexpect menu_cursor 0\nexpect clock_utc.month 2\n"
        "expect clock_utc.day 28\nexpect clock_utc.hour 12\nexpect clock_utc.minute 1\n");
    // It runs on with the PC clock, and a power cycle keeps it.
    run("ticks 600\npasses 1\nexpect clock_utc.minute 2\npower off\npasses 1\npower on\n" + keys(1, 2) +
        "passes 1\nexpect clock_utc.day 28\nexpect clock_utc.minute 2\n");
}

TEST_F(TimersScenario, HobbsAndMaintenanceCountEngineMinutes)
{
    // Maintenance 2 hours; the hobbs runs on RPM 1 at or above 1000 RPM.
    run(POWER_ON + TO_TIMERS + row(5) + keys(6) + keys(6, 2) + keys(7, 2) + keys(6) +
        "expect maint_hours 2\n" + keys(1) + "slider \"EMS/RPM:\" 600\npasses 2\n" + "ticks 590\npasses 1\n"
        "expect hobbs_minutes 0\nticks 10\npasses 1\nexpect hobbs_minutes 1\nexpect maint_hours 1\n"
        "expect maint_minutes 59\nticks 600\npasses 1\nexpect hobbs_minutes 2\n");
    // Below the minimum nothing counts.
    run("slider \"EMS/RPM:\" 1600\npasses 2\nticks 1200\npasses 1\nexpect hobbs_minutes 2\n"
        "expect maint_minutes 58\n");
}

} // namespace
