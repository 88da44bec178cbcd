// The alarm tone through the real window: asked for exactly while an alarm box
// the pilot has not acknowledged shows, and never while muted. The request is
// observed, not the sound card (the test machine may have none).
#include <QAction>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "alarms/alarm_words.h"
#include "host/window/alarm_sound.h"
#include "host/window/unit_runner.h"
#include "support/window_scenario.h"

namespace {

using test::keys;

class AlarmToneScenario : public test::WindowScenario {
protected:
    AlarmToneScenario() : WindowScenario("alarm tone") {}
    bool tone() const { return window->runner()->alarm_sound()->requested(); }
    bool box_unacknowledged() const
    {
        return (ems::alarms.alarm_shown & ems::alarms.alarm_flags & ~ems::alarms.alarm_acked) != 0;
    }
};

TEST_F(AlarmToneScenario, SoundsWhileAnUnacknowledgedBoxShowsUnlessMuted)
{
    QAction* mute = window->menuBar()->findChild<QAction*>("MuteAlarm");
    ASSERT_TRUE(mute);
    ASSERT_FALSE(mute->isChecked());

    // The engine page in cruise, volts normal: no box after the hold-off.
    run("preset Cruise\npower on\n" + keys(1) + keys(1) + "expect screen run_screen\nticks 120\npasses 40\n");
    run(keys(3, 16));
    ASSERT_EQ(ems::alarms.alarm_shown & ~ems::alarms.alarm_acked, 0u);
    EXPECT_FALSE(tone());

    // Volts fall: the box shows and the tone sounds, pass after pass.
    run("slider \"EMS/Volts:\" 0\npasses 30\n");
    ASSERT_TRUE(box_unacknowledged());
    EXPECT_TRUE(tone());
    run("passes 3\n");
    EXPECT_TRUE(tone());

    // Muting silences it at once, unmuting brings it back; both are remembered.
    mute->setChecked(true);
    EXPECT_FALSE(tone());
    run("passes 2\n");
    EXPECT_FALSE(tone());
    EXPECT_TRUE(host::AlarmSound().muted());
    mute->setChecked(false);
    EXPECT_TRUE(tone());
    EXPECT_FALSE(host::AlarmSound().muted());

    // A key acknowledges it: silence, although the condition still holds.
    run(keys(3));
    EXPECT_FALSE(box_unacknowledged());
    EXPECT_NE(ems::alarms.alarm_flags & ems::ALARM_VOLTS, 0u);
    EXPECT_FALSE(tone());

    // Volts return and fall again: a new box sounds; the box going silences it.
    run("slider \"EMS/Volts:\" 1557\npasses 30\n");
    EXPECT_FALSE(tone());
    run("slider \"EMS/Volts:\" 0\npasses 30\n");
    EXPECT_TRUE(tone());
    run("slider \"EMS/Volts:\" 1557\npasses 30\n");
    EXPECT_FALSE(box_unacknowledged());
    EXPECT_FALSE(tone());

    // Power-off silences a box still in sight.
    run("slider \"EMS/Volts:\" 0\npasses 30\n");
    ASSERT_TRUE(tone());
    run("power off\npasses 1\n");
    EXPECT_FALSE(tone());
}

} // namespace
