// The serial port worker against a real pseudo-terminal: bytes written on the
// master side reach the firmware's receive handler on the worker thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "gps/nmea_rx.h"
#include "host/gps/serial_link.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/nmea_io.h"

namespace {

constexpr int WAIT_MS = 5000;

// Everything the link reports, in order, recorded on the test's thread.
struct Recorder {
    explicit Recorder(host::SerialLink& link)
    {
        QObject::connect(&link, &host::SerialLink::connected_changed, &context,
                         [this](bool connected, const QString& what) {
                             events.push_back(connected ? "connected " + what.toStdString() : "disconnected");
                         });
        QObject::connect(&link, &host::SerialLink::error_occurred, &context, [this](const QString& message) {
            events.push_back("error");
            errors.push_back(message.toStdString());
        });
    }
    bool wait_for(size_t count) { return QTest::qWaitFor([&] { return events.size() >= count; }, WAIT_MS); }

    QObject context;
    std::vector<std::string> events;
    std::vector<std::string> errors;
};

class SerialLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_nmea_link();
    }
    void TearDown() override
    {
        test::reset_nmea_link();
    }
    size_t echo_count()
    {
        std::lock_guard<std::mutex> lock(fake.echo_mutex);
        return fake.echoes.size();
    }
    std::vector<std::string> echoes()
    {
        std::lock_guard<std::mutex> lock(fake.echo_mutex);
        return fake.echoes;
    }
    bool wait_for_echoes(size_t n)
    {
        return QTest::qWaitFor([&] { return echo_count() >= n; }, WAIT_MS);
    }

    test::FakePlatform fake;
};

const std::string RMC = "GPRMC,081411.000,A,5541.1955,N,03737.2872,E,0.60,301.29,260514,,,A";
const std::string GGA = "GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000";

TEST_F(SerialLinkTest, BytesFromAPseudoTerminalReachTheReceiveHandler)
{
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    host::SerialLink link;
    Recorder rec(link);
    EXPECT_FALSE(link.is_connected());

    link.connect_port(QString::fromStdString(pty.slave_path()), "4800");
    ASSERT_TRUE(rec.wait_for(1));
    EXPECT_EQ(rec.events[0], "connected " + QString::fromStdString(pty.slave_path()).toStdString() + ", 4800 baud");
    EXPECT_TRUE(link.is_connected());

    // CR LF must pass untranslated (raw mode) and sentences may be split.
    const std::string stream = test::nmea_sentence(RMC) + "garbage" + test::nmea_sentence(GGA);
    ASSERT_TRUE(pty.write(stream.substr(0, 30)));
    ASSERT_TRUE(pty.write(stream.substr(30)));
    ASSERT_TRUE(wait_for_echoes(2));
    EXPECT_EQ(echoes(), (std::vector<std::string>{RMC, GGA}));
    EXPECT_EQ(ems::nmea.nmea_rmc_new.load(std::memory_order_acquire), 1);
    EXPECT_STREQ(ems::nmea.nmea_rmc, RMC.c_str());
    EXPECT_EQ(ems::nmea.gps_data_timeout.load(), 3);
    // The link is destroyed while connected: it closes and joins on its own.
}

TEST_F(SerialLinkTest, PortThatCannotBeOpenedReportsAndStaysDisconnected)
{
    host::SerialLink link;
    Recorder rec(link);
    link.connect_port("/dev/ems-test-no-such-device", "9600");
    ASSERT_TRUE(rec.wait_for(1));
    EXPECT_EQ(rec.events, std::vector<std::string>{"error"});
    EXPECT_NE(rec.errors[0].find("/dev/ems-test-no-such-device"), std::string::npos) << rec.errors[0];
    EXPECT_FALSE(link.is_connected());

    // Nothing else changed: a good port opens afterwards.
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    link.connect_port(QString::fromStdString(pty.slave_path()), "9600");
    ASSERT_TRUE(rec.wait_for(2));
    EXPECT_EQ(rec.events[1], "connected " + QString::fromStdString(pty.slave_path()).toStdString() + ", 9600 baud");
}

TEST_F(SerialLinkTest, ConnectWhileConnectedAndDisconnectWhileDisconnectedDoNothing)
{
    test::Pty first, second;
    ASSERT_TRUE(first.ok() && second.ok());
    host::SerialLink link;
    Recorder rec(link);

    link.stop(); // closed already
    link.connect_port(QString::fromStdString(first.slave_path()), "9600");
    link.connect_port(QString::fromStdString(second.slave_path()), "4800"); // open already: ignored
    link.connect_port("/dev/ems-test-no-such-device", "4800");
    ASSERT_TRUE(rec.wait_for(1));

    // Still on the first terminal.
    ASSERT_TRUE(first.write(test::nmea_sentence(GGA)));
    ASSERT_TRUE(wait_for_echoes(1));

    link.stop();
    link.stop(); // closed already
    link.stop();
    link.connect_port(QString::fromStdString(second.slave_path()), "4800");
    ASSERT_TRUE(rec.wait_for(3));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"connected " + QString::fromStdString(first.slave_path()).toStdString() + ", 9600 baud",
                                                    "disconnected",
                                                    "connected " + QString::fromStdString(second.slave_path()).toStdString() + ", 4800 baud"}));
    ASSERT_TRUE(second.write(test::nmea_sentence(RMC)));
    ASSERT_TRUE(wait_for_echoes(2));
    EXPECT_EQ(echoes().back(), RMC);
    QTest::qWait(50); // let any stray signal arrive
    EXPECT_EQ(rec.events.size(), 3u);
}

TEST_F(SerialLinkTest, DeviceGoingAwayClosesThePortWithAnError)
{
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    host::SerialLink link;
    Recorder rec(link);
    link.connect_port(QString::fromStdString(pty.slave_path()), "9600");
    ASSERT_TRUE(rec.wait_for(1));
    pty.close_master(); // the slave now reads as hung up
    ASSERT_TRUE(rec.wait_for(3));
    EXPECT_EQ(rec.events[1], "disconnected");
    EXPECT_EQ(rec.events[2], "error");
    EXPECT_FALSE(link.is_connected());
}

TEST(EchoSink, LinesPostedFromAnyThreadArriveOnTheSinksThread)
{
    host::EchoSink sink;
    QObject context;
    std::vector<QString> lines;
    bool all_on_main = true;
    QObject::connect(&sink, &host::EchoSink::line, &context, [&](const QString& text) {
        lines.push_back(text);
        all_on_main = all_on_main && QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    // Even a connection without a context object runs on the sink's thread.
    QObject::connect(&sink, &host::EchoSink::line, [&](const QString&) {
        all_on_main = all_on_main && QThread::currentThread() == QCoreApplication::instance()->thread();
    });

    std::thread worker([&] {
        sink.post("GPGGA,1");
        sink.post("TEMP 20\xb0");
        sink.post(nullptr);
    });
    worker.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.size() >= 2; }, WAIT_MS));
    EXPECT_EQ(lines[0], QStringLiteral("GPGGA,1"));
    EXPECT_EQ(lines[1], QString("TEMP 20") + QChar(0xB0));
    EXPECT_TRUE(all_on_main);
    QTest::qWait(20);
    EXPECT_EQ(lines.size(), 2u);
}

} // namespace
