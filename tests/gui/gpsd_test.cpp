// The gpsd source against a real gpsd: gpsfake (Debian's gpsd-clients)
// replays a receiver's log, stored with bare LF line ends as gpsd relays it,
// through a gpsd of its own on a free port. Choosing the source and
// connecting is all it takes for the instrument to reach a fix at gpsd's
// position. Skipped where gpsd or gpsfake is not installed.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <csignal>
#include <unistd.h>

#include "gps/gps_data.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_tcp_source.h"
#include "support/window_scenario.h"

namespace {

constexpr int GPSD_WAIT_MS = 15000;

bool installed(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty() ||
           !QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"}).isEmpty();
}

quint16 free_port()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

// gpsfake and the gpsd it starts, in a process group of their own, ended
// together.
class GpsFake {
public:
    bool start(const QString& log, quint16 port)
    {
        process_.setChildProcessModifier([] { ::setsid(); });
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", env.value("PATH") + ":/usr/sbin:/usr/local/sbin"); // where gpsd is
        process_.setProcessEnvironment(env);
        process_.start("gpsfake", {"-q", "-c", "0.1", "-P", QString::number(port), log});
        if (!process_.waitForStarted(5000)) return false;
        // Up once gpsd takes connections.
        return QTest::qWaitFor(
            [&] {
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, port);
                return probe.waitForConnected(200);
            },
            GPSD_WAIT_MS);
    }
    ~GpsFake()
    {
        if (process_.state() == QProcess::NotRunning) return;
        ::kill(-pid_t(process_.processId()), SIGTERM);
        if (!process_.waitForFinished(5000)) ::kill(-pid_t(process_.processId()), SIGKILL);
        process_.waitForFinished(2000);
    }

private:
    QProcess process_;
};

class Gpsd : public test::WindowScenario {
protected:
    Gpsd() : WindowScenario("gpsd") {}
};

TEST_F(Gpsd, ChosenAndConnectedItReachesAFixAtGpsdsPosition)
{
    if (!installed("gpsfake") || !installed("gpsd"))
        GTEST_SKIP() << "gpsd and gpsfake are not installed (Debian packages gpsd and gpsd-clients)";
    const quint16 port = free_port();
    ASSERT_NE(port, 0);
    GpsFake gpsfake;
    ASSERT_TRUE(gpsfake.start(EMS_SOURCE_DIR "/tests/data/nmea/bu353s4.log", port)) << "gpsfake did not start";

    const QString gps = "GPS (NMEA Protocol)/";
    run("power on\npasses 1\n" + test::keys(1, 2) + QString("combo \"%1Source:\" \"gpsd (host:port)\"\n"
                                                              "text \"%1gpsd Server:\" 127.0.0.1:%2\nbutton Connect\n")
                                                          .arg(gps)
                                                          .arg(port));
    bool fix_shown = false;
    const bool fixed = QTest::qWaitFor(
        [&] {
            run("passes 1\n");
            fix_shown = fix_shown || window->gps()->nmea_gpsd()->status().endsWith(", 3D fix");
            return ems::gps.gps_fix_valid == 1 && ems::gps.gps_latitude < -37.7 && fix_shown;
        },
        GPSD_WAIT_MS);
    ASSERT_TRUE(fixed) << "status: " << window->gps()->nmea_gpsd()->status().toStdString();
    // Hamilton, Waikato, as the log's receiver reported it.
    EXPECT_NEAR(ems::gps.gps_latitude, -37.7848, 0.001);
    EXPECT_NEAR(ems::gps.gps_longitude, 175.3149, 0.001);
    EXPECT_EQ(window->gps()->nmea_gpsd()->status(), QString("Connected: gpsd 127.0.0.1:%1, 3D fix").arg(port));
    run("button Disconnect\n");
}

} // namespace
