// The fuel computer through a scenario in the real window: fuel used follows
// the 100 ms ticks, however many passes run between them.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/power.h"
#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "support/firmware_reset.h"

namespace {

// Power on, 36.0 L/h on flow sender 1 (70 pulses at 7000 per litre), then
// 1000 ticks (100 s) in `rounds` rounds of ticks and passes: 1.0 L.
QString fuel_script(int rounds, int ticks_per_round, int passes_per_round)
{
    QString s = "power on\nkey 1\npasses 1\nkey 1\npasses 1\nslider \"EMS/Fuel Flow1:\" 70\n";
    for (int i = 0; i < rounds; ++i) s += QString("ticks %1\npasses %2\n").arg(ticks_per_round).arg(passes_per_round);
    s += "expect fuel_flow [360,0]\nexpect fuel_used1 7000\nexpect fuel_used [1,0]\npower off\npasses 1\n";
    return s;
}

TEST(FuelScenario, OneLitreAfterHundredSecondsAtThirtySixLitresAnHour)
{
    test::reset_firmware();
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("SDCARD");
    host::TfrmMain window(dir.path());
    window.runner()->set_virtual_time(true);
    host::ScenarioRunner runner(window);
    EXPECT_EQ(runner.run_text(fuel_script(10, 100, 6), dir.path(), "60 passes"), 0)
        << runner.last_error().toStdString();
    EXPECT_EQ(runner.run_text(fuel_script(1000, 1, 6), dir.path(), "6000 passes"), 0)
        << runner.last_error().toStdString();
}

} // namespace
