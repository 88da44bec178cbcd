// Save states through the real window, and the calm first start.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QSlider>
#include <gtest/gtest.h>

#include "alarms/alarm_words.h"
#include "host/inputs/control_panel.h"
#include "host/state/first_start.h"
#include "host/state/save_states.h"
#include "host/window/main_window.h"
#include "ops/flight_log.h"
#include "pages/run_screen.h"
#include "settings/settings.h"
#include "system/raw_inputs.h"
#include "support/window_scenario.h"

namespace {

using test::keys;

const QString POWER_ON = "power on\n" + keys(1) + keys(1) + "expect screen run_screen\n";
const QString SOURCE = "GPS (NMEA Protocol)/Source:";

class SaveStateScenario : public test::WindowScenario {
protected:
    SaveStateScenario() : WindowScenario("save state") {}
    QByteArray saved(const char* name)
    {
        run(QString("state save %1\n").arg(name));
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const char* name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Another exercise: other sliders, settings, counters, log, page and source.
    void change_everything()
    {
        run("preset Climb\nslider \"EMS/TC1\" 3\ncheck \"EMS/VEXA On/Off\" off\n");
        window->inputs()->combo(SOURCE)->setCurrentIndex(window->inputs()->combo(SOURCE)->currentIndex() == 0 ? 1 : 0);
        ems::settings.utc_offset = 0;
        ems::calibration.volts_cal_percent = 120;
        ems::fuel_hobbs.hobbs = {};
        ems::flight_log_erase();
        ems::run.run_page = 0;
    }
};

TEST_F(SaveStateScenario, LoadBringsBackEverythingSavedAndPowersOnWhenItWasOn)
{
    run("preset Cruise\nslider \"EMS/TC1\" 777\n" + POWER_ON);
    ems::settings.utc_offset = 90;
    ems::calibration.oat_cal_offset = -4;
    ems::fuel_hobbs.hobbs = {12, 345, 6, 78};
    ems::flight_start();
    run("ticks 50\n");
    ems::flight_stop();
    ems::run.run_page = 4;
    window->inputs()->combo(SOURCE)->setCurrentIndex(2);
    const QByteArray before = saved("one.state");
    ASSERT_FALSE(before.isEmpty());

    change_everything();
    run("power off\npasses 1\n");
    ASSERT_NE(saved("other.state"), before);

    // Off, the load switches the unit on and puts its records in after
    // power-on; the maintenance timer it brings back has not expired, so one
    // key ends the splash and no notice follows.
    run("state load one.state\n" + keys(1) + "expect screen run_screen\n");
    EXPECT_EQ(window->inputs()->slider("EMS/TC1")->value(), 777);
    EXPECT_EQ(ems::flight.log_count, 1);
    EXPECT_EQ(ems::run.run_page, 4);
    const QByteArray again = saved("again.state");
    EXPECT_EQ(again, before);
}

TEST_F(SaveStateScenario, ADamagedOrNewerFileIsRefusedAndChangesNothing)
{
    run("preset Cruise\n" + POWER_ON);
    const QByteArray good = saved("good.state");
    change_everything();
    const QByteArray changed = saved("changed.state");

    QByteArray newer = good;
    newer[8] = char(newer[8] + 1);
    QByteArray corrupt = good;
    corrupt[good.size() / 2] = char(corrupt[good.size() / 2] ^ 0x40);
    write("cut.state", good.left(good.size() - 10));
    write("newer.state", newer);
    write("corrupt.state", corrupt);
    for (const char* name : {"cut.state", "newer.state", "corrupt.state", "missing.state"}) {
        QString error;
        EXPECT_FALSE(window->states()->load(dir.filePath(name), error)) << name;
        EXPECT_TRUE(error.contains(name)) << error.toStdString();
        EXPECT_EQ(saved("after.state"), changed) << name;
    }
    EXPECT_NE(runner->run_text("state load newer.state\n", dir.path(), "refusal"), 0);
    EXPECT_TRUE(runner->last_error().contains("refusal:1: Cannot load")) << runner->last_error().toStdString();
}

// The sliders show from the start what the unit reads, and a first start
// sets an engine standing still, which raises no alarm.
TEST_F(SaveStateScenario, FirstStartIsCalm)
{
    for (const QString& key : window->inputs()->slider_keys()) {
        const QLabel* label = window->inputs()->slider_label(key);
        if (label) {
            EXPECT_EQ(label->text(), QString::number(window->inputs()->slider(key)->value())) << key.toStdString();
        }
    }
    EXPECT_EQ(ems::raw.raw_cjc, 2240);
    QSettings().remove("start");
    ASSERT_TRUE(host::first_start(*window));
    EXPECT_FALSE(host::first_start(*window)) << "only the first start";
    EXPECT_EQ(window->inputs()->slider("EMS/Volts:")->value(), 1400);
    // Only what a cold, stopped engine raises: oil temperature, oil and fuel pressure low.
    run(POWER_ON + "ticks 100\npasses 60\n");
    EXPECT_EQ(ems::alarms.alarm_flags, uint32_t(ems::ALARM_AUX1 | ems::ALARM_AUX2 | ems::ALARM_FUEL_PRESSURE));
    EXPECT_EQ(ems::alarms.alarm_low, ems::alarms.alarm_flags);
}

} // namespace
