// A GPS receiver on a real pseudo-terminal, through the whole simulator: the
// window's serial controls open the port, the worker thread frames the bytes
// and echoes them, the main loop parses them, and the run screen's GPS page,
// the magnetic course and the fuel computer's range follow.
#include <gtest/gtest.h>

#include "support/nmea_io.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/power.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "gps/sun.h"
#include "host/gps/gps_tab.h"
#include "host/gps/serial_link.h"
#include "host/inputs/control_panel.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "pages/run_screen.h"
#include "sensors/fuel.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "ui/screen.h"

namespace {

constexpr int WAIT_MS = 5000;

// A receiver with a 3D fix near Seattle, 95 knots on a true course of 47.5.
const std::string RMC = "GPRMC,184112.00,A,4726.940,N,12218.540,W,95.0,47.5,140325,15.3,E,A";
const std::string GGA = "GPGGA,184112.00,4726.940,N,12218.540,W,1,06,1.2,132.6,M,-17.8,M,,";
const std::string GSA = "GPGSA,A,3,02,05,12,13,15,24,,,,,,,2.1,1.2,1.7";
const std::string GSV1 = "GPGSV,2,1,08,02,63,105,41,05,48,051,38,12,27,302,33,13,12,185,27";
const std::string GSV2 = "GPGSV,2,2,08,15,71,240,44,18,08,330,21,24,35,075,36,29,19,140,";

class GpsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        test::reset_nmea_link();
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath("SDCARD");
        window = std::make_unique<host::TfrmMain>(dir.path());
        window->runner()->set_virtual_time(true);
        window->runner()->set_clock(QDateTime(QDate(2025, 3, 14), QTime(18, 41, 12)));
        window->show();
    }
    void TearDown() override
    {
        ems::power_off();
        ems::firmware_pass();
        window.reset();
        test::reset_nmea_link();
        test::reset_firmware();
    }

    bool memo_shows(const std::string& body)
    {
        const QString line = QString::fromStdString(body);
        return QTest::qWaitFor([&] { return window->gps()->memo()->toPlainText().contains(line); }, WAIT_MS);
    }
    static bool slots_waiting(bool rmc, bool gga, bool gsa, bool gsv)
    {
        return QTest::qWaitFor(
            [=] {
                return (!rmc || ems::nmea.nmea_rmc_new.load() == 1) && (!gga || ems::nmea.nmea_gga_new.load() == 1) &&
                       (!gsa || ems::nmea.nmea_gsa_new.load() == 1) && (!gsv || ems::nmea.nmea_gsv_new.load() == 1);
            },
            WAIT_MS);
    }

    QTemporaryDir dir;
    std::unique_ptr<host::TfrmMain> window;
};

TEST_F(GpsEndToEnd, SentencesOnASerialPortReachTheGpsPageCourseAndRange)
{
    // Fuel for the range: 20.0 L/h from flow sender 1 and a part-filled tank 1.
    window->inputs()->slider("EMS/Fuel Flow1:")->setValue(39);
    window->inputs()->slider("EMS/Fuel Level1:")->setValue(600);

    window->Button1Click();
    ems::key_press(1); // ends the splash
    window->runner()->run_passes(1);
    ems::key_press(1); // ends the maintenance notice
    window->runner()->run_passes(1);
    ASSERT_TRUE(ems::firmware_running());
    window->runner()->run_passes(50); // the tank filter settles
    ASSERT_EQ(ems::fuel.fuel_flow[0], 200);
    ASSERT_GT(ems::fuel.tank_level[0], 0);
    const uint32_t tank = ems::fuel.tank_level[0];
    EXPECT_EQ(ems::fuel.fuel_range, uint16_t(ems::settings.cruise_speed * tank * 10 / 200))
        << "without a fix the range uses the cruise speed";

    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    QComboBox* port = window->inputs()->combo("GPS (NMEA Protocol)/Com Port:");
    ASSERT_TRUE(port);
    port->setEditText(QString::fromStdString(pty.slave_path()));
    window->inputs()->button("&Connect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->gps()->serial()->is_connected(); }, WAIT_MS));

    // A noisy line first: only the good sentences are echoed and handed over.
    ASSERT_TRUE(pty.write("$GPGGA,garbage*00\r\n" + test::nmea_sentence(RMC) + test::nmea_sentence(GGA) + test::nmea_sentence(GSA) + test::nmea_sentence(GSV1)));
    ASSERT_TRUE(memo_shows(GSV1));
    ASSERT_TRUE(slots_waiting(true, true, true, true));
    EXPECT_FALSE(window->gps()->memo()->toPlainText().contains("garbage"));
    EXPECT_TRUE(window->gps()->memo()->toPlainText().contains(QString::fromStdString(RMC)));
    window->runner()->run_passes(1);
    EXPECT_EQ(ems::nmea.nmea_gsv_new.load(), 0) << "the pass parsed the slot and freed it";
    ASSERT_TRUE(pty.write(test::nmea_sentence(GSV2)));
    ASSERT_TRUE(memo_shows(GSV2));
    ASSERT_TRUE(slots_waiting(false, false, false, true));
    window->runner()->run_passes(1);

    EXPECT_EQ(ems::gps.gps_fix_valid, 1);
    EXPECT_EQ(ems::gps.gps_fix_type, 3);
    EXPECT_NEAR(ems::gps.gps_latitude, 47.0 + 26.940 / 60, 1e-4);
    EXPECT_NEAR(ems::gps.gps_longitude, -(122.0 + 18.540 / 60), 1e-4);
    EXPECT_EQ(ems::gps.gps_altitude_m, 132);
    EXPECT_EQ(ems::gps.gps_sats_used, 6);
    EXPECT_EQ(ems::gps.gps_sats_in_view, 8);
    EXPECT_EQ(ems::gps.gps_sats[7].prn, 29);
    EXPECT_EQ(ems::gps.gps_course, 47);
    EXPECT_EQ(ems::gps.gps_speed_mph, 109); // 95 kt

    // The range now follows the GPS ground speed (fuel_unit 0: statute miles).
    window->runner()->run_passes(1);
    EXPECT_EQ(ems::gps.gps_speed_dist, 109u);
    EXPECT_EQ(ems::fuel.fuel_range, uint16_t(109 * uint32_t(ems::fuel.tank_level[0]) * 10 / ems::fuel.fuel_flow[0]));
    EXPECT_NE(ems::fuel.fuel_range, uint16_t(ems::settings.cruise_speed * tank * 10 / 200));

    // The magnetic variation was computed at the fix's first position, and a
    // slow tick later it stays; the next RMC turns the true course into a
    // magnetic one with it.
    window->runner()->advance_ticks(20);
    window->runner()->run_passes(1);
    const float variation = ems::magsun.mag_variation;
    EXPECT_GT(variation, 10.0f) << "Seattle lies about 15 degrees east";
    EXPECT_LT(variation, 20.0f);
    ASSERT_TRUE(pty.write(test::nmea_sentence(RMC)));
    ASSERT_TRUE(slots_waiting(true, false, false, false));
    window->runner()->run_passes(1);
    const int expected_mag = (47 - int(variation) + 360) % 360;
    EXPECT_EQ(ems::gps.gps_course_mag, expected_mag);
    EXPECT_NE(ems::gps.gps_course_mag, ems::gps.gps_course);

    // The run screen's GPS page shows it all.
    ems::run.run_page = ems::PAGE_GPS;
    window->runner()->run_passes(1);
    EXPECT_GOLDEN("gps_end_to_end");

    window->inputs()->button("&Disconnect")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->gps()->serial()->is_connected(); }, WAIT_MS));
}

} // namespace
