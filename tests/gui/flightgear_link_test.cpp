// The FlightGear link in the window, over a real UDP socket on 127.0.0.1:
// the recorded example flight moves the engine page and the GPS page through
// the simulated inputs (the sliders follow and are locked while it runs); a
// real FlightGear capture at its own pacing keeps the GPS fix and raises no
// alarm before FlightGear's flight model runs; malformed datagrams are
// counted and change nothing.
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSlider>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include "alarms/alarm_words.h"
#include "gps/gps_data.h"
#include "host/flightgear/flightgear_link.h"
#include "host/gps/gps_tab.h"
#include "host/inputs/control_panel.h"
#include "support/golden.h"
#include "support/window_scenario.h"

namespace {

const QString START = test::keys(1, 2) + "clock 2026-06-07 12:35:00\npreset Cruise\nflightgear start 0\n";

class FlightGearLinkScenario : public test::WindowScenario {
protected:
    FlightGearLinkScenario() : WindowScenario("flightgear") {}

    QJsonObject dump(const QString& names)
    {
        run("dump dump.json " + names + "\n");
        QFile f(dir.filePath("dump.json"));
        return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
    }
    bool locked(const char* key) const { return !window->inputs()->slider(key)->isEnabled(); }
};

TEST_F(FlightGearLinkScenario, TheRecordedFlightMovesTheEnginePageAndTheGpsPage)
{
    run("power on\n" + START + "flightgear play " + EMS_SOURCE_DIR + "/examples/flightgear_flight.csv\n");
    // Ten lines a second, in steps a UDP receive buffer holds.
    for (int second = 0; second < 120; second += 10) run("ticks 100\npasses 60\n");
    run("passes 120\n");
    EXPECT_FALSE(window->gps()->flightgear_player()->is_playing());
    EXPECT_EQ(window->gps()->flightgear()->lines_received(), 1200u);
    EXPECT_EQ(window->gps()->flightgear()->bad_lines(), 0u);

    // The last line: 4900 RPM, EGT 1373 F, CHT 223 F, oil 192.9 F and
    // 57.8 psi, 6.21 gal/h, 9.80 gal, 13.99 V, 13.9 C, at 48.24544 N
    // 11.342588 E, 2025 ft, 98 kt.
    const QJsonObject v = dump("rpm tc_value volts_x10 oat_disp fuel_flow tank_level aux_temp aux_pressure "
                               "gps_fix_valid gps_latitude gps_longitude gps_altitude_ft gps_speed alarm_flags");
    EXPECT_NEAR(v["rpm"].toInt(), 4900, 10);
    EXPECT_EQ(v["tc_value"][0].toInt(), 745);
    EXPECT_EQ(v["tc_value"][1].toInt(), 745);
    EXPECT_EQ(v["tc_value"][2].toInt(), 106);
    EXPECT_EQ(v["tc_value"][3].toInt(), 106);
    EXPECT_EQ(v["aux_temp"][0].toInt(), 89);
    EXPECT_EQ(v["aux_pressure"][1].toInt(), 40);
    EXPECT_EQ(v["volts_x10"].toInt(), 140);
    EXPECT_EQ(v["oat_disp"].toInt(), 14);
    EXPECT_NEAR(v["fuel_flow"][0].toInt(), 235, 3);
    EXPECT_EQ(v["tank_level"][0].toInt(), 37);
    EXPECT_EQ(v["gps_fix_valid"].toInt(), 1);
    EXPECT_NEAR(v["gps_latitude"].toDouble(), 48.2454, 0.0005); // the last fix, a second before the last line
    EXPECT_NEAR(v["gps_longitude"].toDouble(), 11.3431, 0.0008);
    EXPECT_NEAR(v["gps_altitude_ft"].toInt(), 2025, 2);
    EXPECT_EQ(v["gps_speed"].toInt(), 113); // mph
    EXPECT_EQ(v["alarm_flags"].toInt(), 0);
    run("expect screen run_screen\n");
    EXPECT_GOLDEN("flightgear_engine_page");

    // Locked while the link drives them; the inputs it has no figure for stay free.
    for (const char* key : {"EMS/RPM:", "EMS/TC1", "EMS/TC4", "EMS/Input 1:", "EMS/Input 2:", "EMS/Fuel Flow1:",
                            "EMS/Fuel Level1:", "EMS/Volts:", "EMS/OAT:", "EMS/MAP:"})
        EXPECT_TRUE(locked(key)) << key;
    for (const char* key : {"EMS/TC5", "EMS/Input 3:", "EMS/Fuel Pressure:", "EMS/CJC:", "EMS/Current:"})
        EXPECT_FALSE(locked(key)) << key;
    const int rpm_position = window->inputs()->slider("EMS/RPM:")->value();
    run("flightgear stop\n");
    EXPECT_FALSE(locked("EMS/RPM:"));
    EXPECT_FALSE(locked("EMS/TC1"));
    EXPECT_EQ(window->inputs()->slider("EMS/RPM:")->value(), rpm_position);
}

// FlightGear 2020.3 flying a c172p (tests/data/flightgear/cap_air.tsv): 42
// start-up lines, 13 s of silence, then 0.3 to 10 lines a second, played at
// the recorded times on the instrument's clock.
TEST_F(FlightGearLinkScenario, ARealFlightKeepsTheFixAtFlightGearsOwnPace)
{
    // Past the power-on hold-off, so that start-up lines would raise alarms if they drove anything.
    run("power on\n" + START + "ticks 120\npasses 10\n");
    ASSERT_EQ(ems::alarms.alarm_flags, 0u);
    const int rpm_position = window->inputs()->slider("EMS/RPM:")->value();
    run(QString("flightgear play ") + EMS_SOURCE_DIR + "/tests/data/flightgear/cap_air.tsv\n");
    const host::FlightGearLink* link = window->gps()->flightgear();
    constexpr qsizetype STARTUP_LINES = 42; // the capture's lines before the flight model runs
    int ticks_with_fix = 0, fixes_lost = 0, startup_ticks = 0;
    while (window->gps()->flightgear_player()->is_playing()) {
        run("ticks 2\npasses 2\n");
        if (link->lines_received() > 0 && window->gps()->flightgear_player()->lines_sent() <= STARTUP_LINES) {
            ++startup_ticks;
            EXPECT_EQ(ems::alarms.alarm_flags, 0u) << "after " << link->lines_received() << " start-up lines";
            EXPECT_FALSE(locked("EMS/RPM:"));
            EXPECT_EQ(ems::gps.gps_fix_valid, 0);
        }
        if (ems::gps.gps_fix_valid != 0) ++ticks_with_fix;
        else if (ticks_with_fix > 0) ++fixes_lost;
    }
    run("slider \"Selection/MAP:\" 1\nticks 2\npasses 40\n"); // shown now, settled by its filter
    EXPECT_GT(startup_ticks, 60);
    EXPECT_EQ(fixes_lost, 0);
    EXPECT_GT(ticks_with_fix, 2600); // of the 2700 after the first flight-model line
    EXPECT_EQ(link->lines_received(), 1737u);
    EXPECT_EQ(link->startup_lines(), quint64(STARTUP_LINES));
    EXPECT_EQ(link->bad_lines(), 0u);
    EXPECT_NE(window->inputs()->slider("EMS/RPM:")->value(), rpm_position);

    // The last line: 1961 RPM, 17.50 inHg, EGT 1397 F, CHT 306 F, oil 141.1 F
    // and 66.1 psi, 5.93 gal/h, 5.11 gal, 28.00 V, 17.2 C, at 37.619137 N
    // 122.367310 W, 1437 ft, 76.5 kt.
    const QJsonObject v = dump("rpm map_disp tc_value volts_x10 oat_disp fuel_flow tank_level aux_temp aux_pressure "
                               "gps_fix_valid gps_latitude gps_longitude gps_altitude_ft gps_speed");
    EXPECT_NEAR(v["rpm"].toInt(), 1961, 10);
    EXPECT_EQ(v["map_disp"].toInt(), 175);
    EXPECT_EQ(v["tc_value"][0].toInt(), 758);
    EXPECT_EQ(v["tc_value"][2].toInt(), 152);
    EXPECT_EQ(v["aux_temp"][0].toInt(), 61);
    EXPECT_EQ(v["aux_pressure"][1].toInt(), 46);
    EXPECT_EQ(v["volts_x10"].toInt(), 280);
    EXPECT_EQ(v["oat_disp"].toInt(), 17);
    EXPECT_NEAR(v["fuel_flow"][0].toInt(), 224, 3);
    EXPECT_EQ(v["tank_level"][0].toInt(), 19);
    EXPECT_EQ(v["gps_fix_valid"].toInt(), 1);
    EXPECT_NEAR(v["gps_latitude"].toDouble(), 37.619137, 0.0002); // the last fix, up to a second old
    EXPECT_NEAR(v["gps_longitude"].toDouble(), -122.367310, 0.0004);
    EXPECT_NEAR(v["gps_altitude_ft"].toInt(), 1437, 6);
    EXPECT_NEAR(v["gps_speed"].toInt(), 88, 1); // mph

    // Lines stop: fixes go on while the last line may still be followed
    // (up to 4 s), then the unit lets the fix go stale as for any receiver
    // (three to four slow ticks).
    int ticks_to_loss = 0;
    while (ems::gps.gps_fix_valid != 0 && ticks_to_loss < 200) {
        run("ticks 1\npasses 1\n");
        ++ticks_to_loss;
    }
    EXPECT_GE(ticks_to_loss, 80);
    EXPECT_LE(ticks_to_loss, 125);
}

TEST_F(FlightGearLinkScenario, MalformedDatagramsAreCountedAndIgnored)
{
    run("power on\n" + START);
    const quint16 port = window->gps()->flightgear()->bound_port();
    ASSERT_NE(port, 0);
    QUdpSocket sender;
    auto send = [&](const QByteArray& datagram) {
        sender.writeDatagram(datagram, QHostAddress::LocalHost, port);
        run("passes 2\n");
    };
    send("5500,28.00,1300,220,190.0,55.0,7.00,10.00,0.00,14.00,15.0,48.0,11.0,1500,0.0,90.0\n");
    const int rpm_position = window->inputs()->slider("EMS/RPM:")->value();
    const int tc1 = window->inputs()->slider("EMS/TC1")->value();
    send("hello\n");
    send("5500,28.00,1300\n");
    send(QByteArray("\x00\xff\x01,\x02", 5));
    send(QByteArray(5000, ','));
    send("2500,28.00,nan,220,190.0,55.0,7.00,10.00,0.00,14.00,15.0,48.0,11.0,1500,0.0,90.0\n"
         "2500,28.00,1300,220,190.0,55.0,7.00,10.00,0.00,14.00,15.0,95.0,11.0,1500,0.0,90.0\n");
    EXPECT_EQ(window->gps()->flightgear()->lines_received(), 7u);
    EXPECT_EQ(window->gps()->flightgear()->bad_lines(), 6u);
    EXPECT_EQ(window->gps()->flightgear()->last_bad_reason(), "latitude_deg out of range");
    EXPECT_EQ(window->inputs()->slider("EMS/RPM:")->value(), rpm_position);
    EXPECT_EQ(window->inputs()->slider("EMS/TC1")->value(), tc1);
    auto* counts = window->findChild<QLabel*>("FlightGearCounts");
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->text(), "7 lines, 6 bad (last: latitude_deg out of range)");

    // A good line after them is taken.
    send("2500,28.00,1300,220,190.0,55.0,7.00,10.00,0.00,14.00,15.0,48.0,11.0,1500,0.0,90.0\n");
    EXPECT_NE(window->inputs()->slider("EMS/RPM:")->value(), rpm_position);

    // Of the lines that come together only the newest is applied.
    int applied = 0;
    double rpm = 0;
    QObject::connect(window->gps()->flightgear(), &host::FlightGearLink::sample_received, window.get(),
                     [&](const host::FlightGearSample& sample) {
                         ++applied;
                         rpm = sample.rpm;
                     });
    send(QByteArray("1000,28.00,1300,220,190.0,55.0,7.00,10.00,0.00,14.00,15.0,48.0,11.0,1500,0.0,90.0\n").repeated(150) +
         "3000,28.00,1300,220,190.0,55.0,7.00,10.00,0.00,14.00,15.0,48.0,11.0,1500,0.0,90.0\n");
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(rpm, 3000);
}

} // namespace
