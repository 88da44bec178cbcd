// A recording replayed into the real window, stepped so that every check
// sees a known record: the engine page's figures come back within a display
// step of what was recorded, the GPS page follows the track, the driven
// sliders are locked until the replay stops, and files that are no
// recording are refused with a message.
#include <QJsonDocument>
#include <QJsonObject>
#include <QSlider>
#include <cmath>
#include <gtest/gtest.h>

#include "host/common/core/file_read.h"
#include "host/engine/engine_tab.h"
#include "host/inputs/control_panel.h"
#include "host/replay/instrument_replay.h"
#include "host/viewer/core/flight_data.h"
#include "support/window_scenario.h"

namespace {

const QString FLIGHT = QString(EMS_SOURCE_DIR) + "/examples/flight.csv";

class InstrumentReplayScenario : public test::WindowScenario {
protected:
    InstrumentReplayScenario() : WindowScenario("replay") {}

    QJsonObject dump(const QString& names)
    {
        run("dump dump.json " + names + "\n");
        QFile f(dir.filePath("dump.json"));
        return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
    }
    bool locked(const char* key) const { return !window->inputs()->slider(key)->isEnabled(); }
    // The recorded value in display units (tenths where the page shows them).
    double recorded(const host::FlightData& d, const char* name, size_t row, double scale = 1) const
    {
        const host::FlightChannel* c = host::find_channel(d, name);
        return c ? c->values[row] * scale : NAN;
    }
};

TEST_F(InstrumentReplayScenario, SteppedReplayPutsTheRecordedFlightBackOnThePages)
{
    std::string text, why, error;
    ASSERT_EQ(host::read_regular_file(FLIGHT.toStdString(), 1 << 20, text, why), host::FileRead::Ok);
    host::FlightData d;
    ASSERT_TRUE(host::read_flight_data(text, d, error));

    run("power on\n" + test::keys(1, 2) + "replay " + FLIGHT + "\nreplay step 0\n");
    for (size_t row = 0; row < d.seconds.size(); row += 10) {
        if (row > 0) run("replay step 10\n");
        ASSERT_EQ(window->replay()->row(), row);
        run("ticks 10\npasses 150\n"); // the filters settle
        const QJsonObject v = dump("rpm tc_value volts_x10 oat_disp aux_temp aux_pressure fuel_flow tank_level "
                                   "gps_fix_valid gps_latitude gps_longitude gps_altitude_ft gps_speed");
        SCOPED_TRACE("record " + std::to_string(row));
        EXPECT_NEAR(v["rpm"].toInt(), recorded(d, "RPM1", row), 10);
        EXPECT_NEAR(v["tc_value"][0].toInt(), recorded(d, "EGT1", row), 1);
        EXPECT_NEAR(v["tc_value"][1].toInt(), recorded(d, "EGT2", row), 1);
        EXPECT_NEAR(v["tc_value"][2].toInt(), recorded(d, "CHT1", row), 1);
        EXPECT_NEAR(v["tc_value"][3].toInt(), recorded(d, "CHT2", row), 1);
        EXPECT_NEAR(v["volts_x10"].toInt(), recorded(d, "VOLTS", row, 10), 1);
        EXPECT_NEAR(v["oat_disp"].toInt(), recorded(d, "OAT", row), 1);
        EXPECT_NEAR(v["aux_temp"][0].toInt(), recorded(d, "AIN1", row), 1);
        EXPECT_NEAR(v["aux_pressure"][1].toInt(), recorded(d, "AIN2", row, 10), 1);
        EXPECT_NEAR(v["fuel_flow"][0].toInt(), recorded(d, "FLOW1", row, 10), 1);
        EXPECT_NEAR(v["tank_level"][0].toInt(), recorded(d, "TANK1", row), 1);
        if (std::isnan(recorded(d, "LAT", row))) continue;
        EXPECT_EQ(v["gps_fix_valid"].toInt(), 1);
        EXPECT_NEAR(v["gps_latitude"].toDouble(), recorded(d, "LAT", row), 0.00002);
        EXPECT_NEAR(v["gps_longitude"].toDouble(), recorded(d, "LON", row), 0.00002);
        EXPECT_NEAR(v["gps_altitude_ft"].toInt(), recorded(d, "ALT", row), 1);
        EXPECT_NEAR(v["gps_speed"].toInt(), recorded(d, "SPEED", row), 1);
    }
    run("expect screen run_screen\n");

    for (const char* key : {"EMS/RPM:", "EMS/TC1", "EMS/TC4", "EMS/Input 1:", "EMS/Input 2:", "EMS/Volts:"})
        EXPECT_TRUE(locked(key)) << key;
    EXPECT_FALSE(locked("EMS/MAP:")); // recorded empty: the display was off
    run("replay stop\n");
    EXPECT_FALSE(locked("EMS/RPM:"));
    EXPECT_FALSE(locked("EMS/TC1"));
}

TEST_F(InstrumentReplayScenario, PacedReplayRunsAtItsSpeedAndEndsAtTheLastRecord)
{
    run("power on\n" + test::keys(1, 2) + "replay speed 10\nreplay " + FLIGHT + "\nticks 50\npasses 1\n");
    EXPECT_EQ(window->replay()->row(), 50u); // 5 s at ten times the recorded pace
    run("replay speed 1\nticks 50\npasses 1\n");
    EXPECT_EQ(window->replay()->row(), 55u);
    run("replay speed 10\nticks 200\npasses 1\n");
    EXPECT_FALSE(window->replay()->is_running());
    EXPECT_FALSE(locked("EMS/RPM:"));
}

TEST_F(InstrumentReplayScenario, WhatIsNoRecordingIsRefusedWithAMessage)
{
    const int rpm = window->inputs()->slider("EMS/RPM:")->value();
    const auto refused = [&](const QString& path, const char* says) {
        QString error;
        EXPECT_FALSE(window->replay()->start(path, error)) << path.toStdString();
        EXPECT_TRUE(error.contains(says)) << error.toStdString();
    };
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    refused(write("notes.txt", "Fuel at Oshkosh, 42 L\n"), "Cannot replay");
    refused(write("other.csv", "UTC,T (s),FOO (x)\n2026-01-01 10:00:00,0,5\n"), "not an engine-data recording");
    refused(write("empty.csv", ""), "Cannot replay");
    refused(dir.path(), "not a recording");
    refused(dir.filePath("missing.csv"), "Cannot read");
    EXPECT_FALSE(window->replay()->is_running());
    EXPECT_FALSE(locked("EMS/RPM:"));
    EXPECT_EQ(window->inputs()->slider("EMS/RPM:")->value(), rpm);
    // Refused while another NMEA source feeds the receive handler.
    run("flightgear start 0\n");
    refused(FLIGHT, "Disconnect the NMEA source");
}

TEST_F(InstrumentReplayScenario, TheReplayTakesTheSlidersFromTheEngineAndKeepsThem)
{
    run("power on\n" + test::keys(1, 2) + "engine on\nticks 5\npasses 5\n");
    ASSERT_TRUE(window->engine()->running());
    run("replay " + FLIGHT + "\nreplay step 0\nticks 5\npasses 5\n");
    EXPECT_FALSE(window->engine()->running());
    EXPECT_TRUE(locked("EMS/RPM:"));
    EXPECT_TRUE(locked("EMS/TC1"));
    EXPECT_NE(runner->run_text("engine on\n", dir.path(), "replay"), 0);
    EXPECT_TRUE(runner->last_error().contains("replay")) << runner->last_error().toStdString();
    run("replay stop\nengine on\n");
    EXPECT_TRUE(window->engine()->running());
}

} // namespace
