// The built-in engine flown through the real window and read on the
// instrument: a lean-find in LEAN MODE names the engine's leanest cylinder
// first, a failed alternator brings up the low-volts alarm, an open
// thermocouple reads as an open probe.
#include <QSlider>
#include <gtest/gtest.h>

#include "alarms/alarm_words.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "host/inputs/control_panel.h"
#include "support/window_scenario.h"

namespace {

using test::keys;

const QString POWER_ON = "clock 2026-12-07 11:58:00\npower on\n" + keys(1) + keys(1) + "expect screen run_screen\n";

class EngineScenario : public test::WindowScenario {
protected:
    EngineScenario() : WindowScenario("engine") {}

    // Ticks and a pass after every tenth, as the window runs them.
    QString seconds(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i) s += "ticks 10\npasses 1\n";
        return s;
    }
};

TEST_F(EngineScenario, LeaningInLeanModeNamesTheLeanestCylinderFirst)
{
    run(POWER_ON);
    ems::settings.egt_channels = 4;
    ems::settings.cht_channels = 4;
    run("engine on LYC360\nengine spread 0.6 2413\nengine state cruise\n" + seconds(5));
    // LEAN MODE from the quick menu, then the helper leans four times as fast.
    run(keys(6) + keys(7, 4) + keys(6) + "expect popup popup_lean_mode\n" + keys(2) + "expect lean_mode 1\n");
    run("engine speed 4\nengine leanfind on\n" + seconds(60));
    EXPECT_EQ(ems::thermo.tc_peak_order[1], 1); // cylinder 2, the leanest
    int peaked = 0;
    for (int ch = 0; ch < 4; ++ch) peaked += ems::thermo.tc_peak_order[ch] > 0;
    EXPECT_EQ(peaked, 4);
}

TEST_F(EngineScenario, AFailedAlternatorRunsTheBatteryDownToTheLowVoltsAlarm)
{
    run(POWER_ON + "engine on R912\nengine state cruise\nengine battery 8\n" + seconds(5));
    EXPECT_EQ(ems::alarms.alarm_flags & ems::ALARM_VOLTS, 0u);
    run("engine fail alternator\nengine speed 64\n" + seconds(20));
    EXPECT_NE(ems::alarms.alarm_flags & ems::ALARM_VOLTS, 0u);
}

TEST_F(EngineScenario, AnOpenThermocoupleReadsAsAnOpenProbe)
{
    run(POWER_ON + "engine on R912\nengine state cruise\n" + seconds(5));
    EXPECT_EQ(ems::alarms.alarm_flags & ems::ALARM_EGT_CHT, 0u);
    run("engine fail cht 2\n" + seconds(5));
    EXPECT_LT(ems::thermo.tc_value_c[3], -100);
    EXPECT_NE(ems::alarms.alarm_flags & ems::ALARM_EGT_CHT, 0u);
    EXPECT_GT(ems::thermo.tc_value_c[2], 50); // the first CHT reads on

    // The sliders the engine drives are locked until it stops.
    EXPECT_FALSE(window->inputs()->slider("EMS/TC4")->isEnabled());
    run("engine off\n");
    EXPECT_TRUE(window->inputs()->slider("EMS/TC4")->isEnabled());
}

} // namespace
