// The GPS tab helping a user: diagnostics counters and the "Adapt modern
// receivers" option over a real pseudo-terminal, replay pause and refusal of
// files that are not logs, the UDP source on 127.0.0.1, the scenario
// commands for these controls, and the shipped example scripts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <sys/stat.h>

#include "app/power.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "host/gps/core/nmea_watch.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_file_replay.h"
#include "host/gps/nmea_source.h"
#include "host/gps/nmea_source_selector.h"
#include "host/gps/nmea_tcp_source.h"
#include "host/gps/nmea_udp_source.h"
#include "host/gps/serial_link.h"
#include "host/inputs/control_panel.h"
#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "support/firmware_reset.h"
#include "support/nmea_io.h"

namespace {

constexpr int WAIT_MS = 5000;
const QString GPS = "GPS (NMEA Protocol)/";

const std::string RMC = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
const std::string GN_RMC = "GNRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
const std::string VTG = "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K";

class GpsTab : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        test::reset_nmea_link();
        host::nmea_watch().reset();
        QDir(dir.path()).mkpath("SDCARD");
        window = std::make_unique<host::TfrmMain>(dir.path());
        window->runner()->set_virtual_time(true);
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        host::set_adapt_modern_receivers(false);
    }
    int shown(const char* name)
    {
        QTest::qWait(300); // one refresh of the tab
        return window->findChild<QLabel*>(name)->text().toInt();
    }
    QString label(const char* name) { return window->findChild<QLabel*>(name)->text(); }
    int run(const QString& script)
    {
        host::ScenarioRunner runner(*window);
        const int status = runner.run_text(script, dir.path());
        error = runner.last_error();
        return status;
    }

    QTemporaryDir dir;
    std::unique_ptr<host::TfrmMain> window;
    QString error;
};

// Two good sentences, one bad checksum, a GN talker, a bare LF line end, a
// VTG and an over-long body, fed through the serial port.
std::string mixed_feed()
{
    std::string bad = test::nmea_sentence(RMC);
    bad[bad.size() - 3] = bad[bad.size() - 3] == '0' ? '1' : '0';
    return test::nmea_sentence(RMC) + bad + test::nmea_sentence(GN_RMC) + test::nmea_sentence(RMC, false, "\n") +
           test::nmea_sentence(VTG) + test::nmea_sentence("GPGSV," + std::string(250, '1')) +
           test::nmea_sentence(RMC);
}

TEST_F(GpsTab, DiagnosticsCountAPtyFeedWithAndWithoutAdaptation)
{
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_EQ(run(QString("combo \"%1Com Port:\" \"%2\"\nbutton Connect\n")
                      .arg(GPS, QString::fromStdString(pty.slave_path()))),
              0)
        << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->gps()->serial()->is_connected(); }, WAIT_MS))
        << window->gps()->serial()->status().toStdString() << " " << window->inputs()->combo(GPS + "Com Port:")->currentText().toStdString() << " chosen=" << window->gps()->sources()->chosen() << " busy=" << (void*)window->gps()->sources()->busy();
    auto feed_and_wait = [&](int good) {
        ems::nmea.nmea_rmc_new = 0;
        ASSERT_TRUE(pty.write(mixed_feed()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return host::nmea_watch().count(host::NmeaOutcome::Good) >= uint32_t(good); },
                                    WAIT_MS));
    };

    feed_and_wait(2);
    EXPECT_EQ(shown("NmeaGood"), 2);
    EXPECT_EQ(shown("NmeaBadChecksum"), 1);
    EXPECT_EQ(shown("NmeaTooLong"), 1);
    EXPECT_EQ(shown("NmeaIgnored"), 2); // GN talker and VTG
    EXPECT_EQ(shown("NmeaBadLineEnd"), 1);
    EXPECT_TRUE(label("NmeaHint").contains("Adapt modern receivers"));
    EXPECT_TRUE(label("NmeaLastReason").contains("longer than 200")) << label("NmeaLastReason").toStdString();

    // Adapted, the GN sentence and the bare-LF one are read as well.
    ASSERT_EQ(run(QString("check \"%1Adapt modern receivers\" on\nbutton Reset\n").arg(GPS)), 0)
        << error.toStdString();
    feed_and_wait(4);
    EXPECT_EQ(shown("NmeaGood"), 4);
    EXPECT_EQ(shown("NmeaBadChecksum"), 1);
    EXPECT_EQ(shown("NmeaIgnored"), 1); // VTG only
    EXPECT_EQ(shown("NmeaBadLineEnd"), 0);
    EXPECT_TRUE(label("NmeaHint").isEmpty());
    EXPECT_TRUE(window->gps()->memo()->toPlainText().contains("GPRMC,123520"));
    run("button Disconnect\n");
}

TEST_F(GpsTab, ReplayPausesResumesAndShowsProgress)
{
    QFile log(dir.filePath("slow.nmea"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    for (int i = 0; i < 200; ++i) log.write(test::nmea_sentence(VTG).c_str());
    log.close();
    ASSERT_EQ(run(QString("combo \"%1Source:\" \"Log file replay\"\ntext \"%1Log File:\" \"%2\"\n"
                          "combo \"%1Speed:\" 10x\nbutton Connect\n")
                      .arg(GPS, log.fileName())),
              0)
        << error.toStdString();
    host::NmeaFileReplay* replay = window->gps()->nmea_replay();
    ASSERT_TRUE(replay->is_running());
    EXPECT_EQ(replay->speed(), 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return replay->lines_sent() >= 3; }, WAIT_MS));

    ASSERT_EQ(run("button Pause\n"), 0) << error.toStdString();
    EXPECT_TRUE(replay->is_paused());
    QTest::qWait(100);
    const uint32_t fed = host::nmea_watch().count(host::NmeaOutcome::Ignored);
    QTest::qWait(600); // 30 lines at 5 per second and 10x
    EXPECT_EQ(host::nmea_watch().count(host::NmeaOutcome::Ignored), fed);
    EXPECT_EQ(window->inputs()->button("&Pause")->text(), "&Resume");

    ASSERT_EQ(run("button Pause\n"), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host::nmea_watch().count(host::NmeaOutcome::Ignored) > fed + 2; }, WAIT_MS));
    QTest::qWait(300);
    EXPECT_TRUE(label("NmeaReplayElapsed").endsWith("/ 00:00:39")) << label("NmeaReplayElapsed").toStdString();
    run("button Disconnect\n");
}

// A FIFO without a writer, a character device that never ends and a folder
// are not logs: each is refused at once with a message, nothing runs.
TEST_F(GpsTab, ReplayRefusesWhatIsNotARegularFile)
{
    const QString fifo = dir.filePath("gps.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QString("/dev/zero"), dir.path()}) {
        QElapsedTimer took;
        took.start();
        ASSERT_EQ(run(QString("combo \"%1Source:\" \"Log file replay\"\ntext \"%1Log File:\" \"%2\"\nbutton Connect\n")
                          .arg(GPS, path)),
                  1)
            << "the script stops at the Connect line";
        EXPECT_TRUE(error.contains(":3: ") && error.contains("is not a log file")) << error.toStdString();
        EXPECT_LT(took.elapsed(), 2000);
        EXPECT_FALSE(window->gps()->nmea_replay()->is_busy());
        QMessageBox* box = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (box = window->findChild<QMessageBox*>()) != nullptr; }, WAIT_MS));
        EXPECT_TRUE(box->text().contains("is not a log file")) << box->text().toStdString();
        delete box;
    }
}

// A script names a log beside itself, whatever the working folder.
TEST_F(GpsTab, AScriptsLogIsTakenFromItsFolder)
{
    QDir(dir.path()).mkpath("scripts");
    QFile log(dir.filePath("scripts/beside.nmea"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    for (int i = 0; i < 100; ++i) log.write(test::nmea_sentence(VTG).c_str());
    log.close();
    QFile script(dir.filePath("scripts/replay.scn"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QString("combo \"%1Source:\" \"Log file replay\"\ntext \"%1Log File:\" beside.nmea\nbutton Connect\n")
                     .arg(GPS)
                     .toUtf8());
    script.close();
    host::ScenarioRunner runner(*window);
    ASSERT_EQ(runner.run_file(script.fileName()), 0) << runner.last_error().toStdString();
    EXPECT_TRUE(window->gps()->nmea_replay()->is_running());
    EXPECT_EQ(window->inputs()->line_edit(GPS + "Log File:")->text(), "beside.nmea") << "shown as the script wrote it";
    run("button Disconnect\n");
}

TEST_F(GpsTab, UdpDatagramsDeliverAFix)
{
    ASSERT_EQ(run(QString("combo \"%1Source:\" \"UDP (listen on port)\"\ntext \"%1UDP Port:\" 0\nbutton Connect\n").arg(GPS)), 0)
        << error.toStdString();
    const quint16 port = window->gps()->nmea_udp()->bound_port();
    ASSERT_NE(port, 0);
    ASSERT_EQ(run("power on\nkey 1\npasses 1\nkey 1\npasses 1\nexpect screen run_screen\n"), 0) << error.toStdString();
    // One sentence whole, one split over two datagrams, one without a line end.
    const std::string gga = test::nmea_sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    const std::string rmc = test::nmea_sentence(RMC, false, "");
    QUdpSocket sender;
    const QHostAddress local(QHostAddress::LocalHost);
    sender.writeDatagram(gga.substr(0, 20).c_str(), 20, local, port);
    sender.writeDatagram(gga.substr(20).c_str(), qint64(gga.size() - 20), local, port);
    sender.writeDatagram(rmc.c_str(), qint64(rmc.size()), local, port);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window->runner()->run_passes(1);
            return ems::gps.gps_fix_valid == 1 && ems::gps.gps_sats_used == 8;
        },
        WAIT_MS));
    EXPECT_NEAR(ems::gps.gps_latitude, 48.1173, 1e-3);
    EXPECT_TRUE(window->gps()->nmea_udp()->status().contains(QString::number(port)));
    run("button Disconnect\npower off\npasses 1\n");
}

TEST_F(GpsTab, ScenarioCommandsForListsAndLineEdits)
{
    EXPECT_EQ(run(QString("combo \"%1Source:\" Bluetooth\n").arg(GPS)), 1);
    EXPECT_TRUE(error.contains("has no item \"Bluetooth\"") && error.contains("\"Log file replay\"")) << error.toStdString();
    EXPECT_EQ(run(QString("combo \"%1Source:\" \"TCP (host:port)\"\ntext \"%1Server:\" 127.0.0.1:9\n").arg(GPS)), 0)
        << error.toStdString();
    EXPECT_EQ(window->inputs()->line_edit(GPS + "Server:")->text(), "127.0.0.1:9");
    EXPECT_EQ(run(QString("text \"%1Log File:\" x.log\n").arg(GPS)), 1); // only the chosen source's inputs
    EXPECT_TRUE(error.contains("is disabled")) << error.toStdString();
    EXPECT_EQ(run("text \"GPS (NMEA Protocol)/Nothing:\" x\n"), 1);
    EXPECT_TRUE(error.contains("no line edit")) << error.toStdString();
    EXPECT_EQ(run("text \"GPS (NMEA Protocol)/Server:\"\n"), 1);
    EXPECT_TRUE(error.contains("usage: text")) << error.toStdString();
}

TEST_F(GpsTab, EveryExampleScriptRuns)
{
    const QDir examples(QString(EMS_SOURCE_DIR) + "/examples");
    const QStringList scripts = examples.entryList({"*.scn"}, QDir::Files);
    ASSERT_GE(scripts.size(), 3);
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(EMS_SOURCE_DIR); // the scripts name files from the project folder
    for (const QString& name : scripts) {
        SetUp();
        host::ScenarioRunner runner(*window);
        EXPECT_EQ(runner.run_file(examples.filePath(name)), 0) << runner.last_error().toStdString();
        window.reset();
    }
    QDir::setCurrent(cwd);
}

} // namespace
