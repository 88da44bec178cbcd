// The live window, free-running as for a user (the frame timer drives the
// passes, Timer1 ticks in real time), fed NMEA by a receiver on a real
// pseudo-terminal from a thread of its own, then by UDP datagrams on
// 127.0.0.1, while the GPS page is on show and the GPS tab refreshes its
// counters. Built with ThreadSanitizer it checks the hand-over between the
// serial worker thread and the main loop inside the real window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QHostAddress>
#include <QLineEdit>
#include <QNetworkProxyFactory>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>

#include "app/power.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_source.h"
#include "host/gps/nmea_tcp_source.h"
#include "host/gps/nmea_udp_source.h"
#include "host/gps/serial_link.h"
#include "host/inputs/control_panel.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "pages/run_screen.h"
#include "support/firmware_reset.h"
#include "support/nmea_io.h"
#include "ui/screen.h"

#if defined(__SANITIZE_THREAD__)
// Built with ThreadSanitizer, the program reads the suppressions of Qt's own
// calls from the repository and runs Qt's own event dispatcher; tsan.supp
// says why. TSAN_OPTIONS may add to the options.
extern "C" const char* __tsan_default_options() { return "suppressions=" EMS_SOURCE_DIR "/tests/tsan.supp"; }
namespace {
const bool qt_event_dispatcher = qputenv("QT_NO_GLIB", "1");
}
#endif

namespace {

constexpr int WAIT_MS = 20000; // generous: sanitized builds run slowly
const QString GPS = "GPS (NMEA Protocol)/";

// A receiver near Seattle; the minutes of latitude count the sentences sent.
std::string fix_burst(int n)
{
    const std::string lat = "47" + std::to_string(10 + n % 50) + ".000";
    return test::nmea_sentence("GPRMC,184112.00,A," + lat + ",N,12218.540,W,95.0,47.5,140325,15.3,E,A") +
           test::nmea_sentence("GPGGA,184112.00," + lat + ",N,12218.540,W,1,06,1.2,132.6,M,-17.8,M,,") +
           test::nmea_sentence("GPGSA,A,3,02,05,12,13,15,24,,,,,,,2.1,1.2,1.7") +
           test::nmea_sentence("GPGSV,1,1,04,02,63,105,41,05,48,051,38,12,27,302,33,13,12,185,27");
}

class LiveFeed : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        test::reset_nmea_link();
        // A socket's bind asks the desktop's proxy settings through libproxy on
        // a thread of its own, which is neither Qt nor ours; a listener on a
        // local port needs no proxy.
        QNetworkProxyFactory::setUseSystemConfiguration(false);
        QDir(dir.path()).mkpath("SDCARD");
        window = std::make_unique<host::TfrmMain>(dir.path());
        window->show();
        window->inputs()->setCurrentIndex(1); // the GPS tab refreshes its counters while on show
    }
    void TearDown() override
    {
        window->Button2Click();
        EXPECT_TRUE(QTest::qWaitFor([] { return !ems::firmware_running(); }, WAIT_MS));
        window.reset();
        test::reset_nmea_link();
        test::reset_firmware();
    }
    // Power on and past the splash and the maintenance notice, in real time.
    void power_on_to_run_screen()
    {
        window->Button1Click();
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                if (ems::KeyEvent == ems::KEY_NONE) ems::key_press(1);
                return !ems::in_power_on_phase() && ems::ScreenHandler == ems::run_screen;
            },
            WAIT_MS));
        ems::run.run_page = ems::PAGE_GPS;
    }

    QTemporaryDir dir;
    std::unique_ptr<host::TfrmMain> window;
};

TEST_F(LiveFeed, SerialThenUdpFeedsReachTheRunningGpsPage)
{
    power_on_to_run_screen();

    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    window->inputs()->combo(GPS + "Com Port:")->setEditText(QString::fromStdString(pty.slave_path()));
    window->inputs()->button("&Connect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->gps()->serial()->is_connected(); }, WAIT_MS));

    // The receiver sends on its own thread while the main loop runs; halfway
    // the user switches the adaptation of modern receivers on and off again.
    std::atomic<bool> stop{false};
    std::atomic<int> sent{0};
    std::thread receiver([&] {
        while (!stop.load() && pty.write(fix_burst(sent.load()))) {
            sent.fetch_add(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const int frames_before = window->runner()->presented_frames();
    const bool fed = QTest::qWaitFor([&] { return sent.load() >= 100 && ems::gps.gps_fix_valid == 1; }, WAIT_MS);
    host::set_adapt_modern_receivers(true);
    QTest::qWait(200);
    host::set_adapt_modern_receivers(false);
    QTest::qWait(200);
    stop = true;
    receiver.join();
    ASSERT_TRUE(fed);
    EXPECT_GT(window->runner()->presented_frames(), frames_before + 10) << "the main loop kept running";
    EXPECT_EQ(ems::gps.gps_sats_used, 6);
    EXPECT_NEAR(ems::gps.gps_longitude, -(122.0 + 18.540 / 60), 1e-4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->gps()->memo()->toPlainText().contains("GPGSV,1,1,04"); }, WAIT_MS));

    window->inputs()->button("&Disconnect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->gps()->serial()->is_connected(); }, WAIT_MS));

    // Then a receiver on the network: datagrams on 127.0.0.1.
    window->inputs()->combo(GPS + "Source:")->setCurrentText("UDP (listen on port)");
    window->inputs()->line_edit(GPS + "UDP Port:")->setText("0");
    window->inputs()->button("&Connect")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->gps()->nmea_udp()->bound_port() != 0; }, WAIT_MS));
    const quint16 port = window->gps()->nmea_udp()->bound_port();
    QUdpSocket sender;
    const std::string north = test::nmea_sentence("GPRMC,184113.00,A,6000.000,N,01000.000,E,95.0,47.5,140325,15.3,E,A");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            sender.writeDatagram(north.c_str(), qint64(north.size()), QHostAddress(QHostAddress::LocalHost), port);
            return std::abs(ems::gps.gps_latitude - 60.0) < 1e-4 && std::abs(ems::gps.gps_longitude - 10.0) < 1e-4;
        },
        WAIT_MS));
    window->inputs()->button("&Disconnect")->click();
}

} // namespace
