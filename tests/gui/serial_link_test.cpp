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
#include "host/serial_port.h"
#include "support/fake_platform.h"

namespace {

constexpr int WAIT_MS = 5000;

// A pseudo-terminal pair; the link opens the slave by its path.
class Pty {
public:
    Pty()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) {
            const char* name = ::ptsname(master_);
            if (name) slave_path_ = name;
        }
    }
    ~Pty() { close_master(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0 && !slave_path_.empty(); }
    QString path() const { return QString::fromStdString(slave_path_); }
    bool write(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += size_t(n);
        }
        return true;
    }
    void close_master()
    {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_path_;
};

std::string sentence(const std::string& body)
{
    uint8_t sum = 0;
    for (char c : body) sum ^= uint8_t(c);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", sum);
    return "$" + body + "*" + hex + "\r\n";
}

// Everything the link reports, in order, recorded on the test's thread.
struct Recorder {
    explicit Recorder(host::SerialLink& link)
    {
        QObject::connect(&link, &host::SerialLink::connectedChanged, &context,
                         [this](bool connected, const QString& what) {
                             events.push_back(connected ? "connected " + what.toStdString() : "disconnected");
                         });
        QObject::connect(&link, &host::SerialLink::errorOccurred, &context, [this](const QString& message) {
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
        ems::nmea_rx = ems::NmeaRx{};
        ems::nmea = ems::NmeaLink{};
    }
    void TearDown() override
    {
        ems::nmea_rx = ems::NmeaRx{};
        ems::nmea = ems::NmeaLink{};
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
    Pty pty;
    ASSERT_TRUE(pty.ok());
    host::SerialLink link;
    Recorder rec(link);
    EXPECT_FALSE(link.isConnected());

    link.connectPort(pty.path(), "4800");
    ASSERT_TRUE(rec.wait_for(1));
    EXPECT_EQ(rec.events[0], "connected " + pty.path().toStdString() + ", 4800 baud");
    EXPECT_TRUE(link.isConnected());

    // CR LF must pass untranslated (raw mode) and sentences may be split.
    const std::string stream = sentence(RMC) + "garbage" + sentence(GGA);
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
    link.connectPort("/dev/ems-test-no-such-device", "9600");
    ASSERT_TRUE(rec.wait_for(1));
    EXPECT_EQ(rec.events, std::vector<std::string>{"error"});
    EXPECT_NE(rec.errors[0].find("/dev/ems-test-no-such-device"), std::string::npos) << rec.errors[0];
    EXPECT_FALSE(link.isConnected());

    // Nothing else changed: a good port opens afterwards.
    Pty pty;
    ASSERT_TRUE(pty.ok());
    link.connectPort(pty.path(), "9600");
    ASSERT_TRUE(rec.wait_for(2));
    EXPECT_EQ(rec.events[1], "connected " + pty.path().toStdString() + ", 9600 baud");
}

TEST_F(SerialLinkTest, ConnectWhileConnectedAndDisconnectWhileDisconnectedDoNothing)
{
    Pty first, second;
    ASSERT_TRUE(first.ok() && second.ok());
    host::SerialLink link;
    Recorder rec(link);

    link.disconnectPort(); // closed already
    link.connectPort(first.path(), "9600");
    link.connectPort(second.path(), "4800"); // open already: ignored
    link.connectPort("/dev/ems-test-no-such-device", "4800");
    ASSERT_TRUE(rec.wait_for(1));

    // Still on the first terminal.
    ASSERT_TRUE(first.write(sentence(GGA)));
    ASSERT_TRUE(wait_for_echoes(1));

    link.disconnectPort();
    link.disconnectPort(); // closed already
    link.disconnectPort();
    link.connectPort(second.path(), "4800");
    ASSERT_TRUE(rec.wait_for(3));
    EXPECT_EQ(rec.events, (std::vector<std::string>{"connected " + first.path().toStdString() + ", 9600 baud",
                                                    "disconnected",
                                                    "connected " + second.path().toStdString() + ", 4800 baud"}));
    ASSERT_TRUE(second.write(sentence(RMC)));
    ASSERT_TRUE(wait_for_echoes(2));
    EXPECT_EQ(echoes().back(), RMC);
    QTest::qWait(50); // let any stray signal arrive
    EXPECT_EQ(rec.events.size(), 3u);
}

TEST_F(SerialLinkTest, DeviceGoingAwayClosesThePortWithAnError)
{
    Pty pty;
    ASSERT_TRUE(pty.ok());
    host::SerialLink link;
    Recorder rec(link);
    link.connectPort(pty.path(), "9600");
    ASSERT_TRUE(rec.wait_for(1));
    pty.close_master(); // the slave now reads as hung up
    ASSERT_TRUE(rec.wait_for(3));
    EXPECT_EQ(rec.events[1], "disconnected");
    EXPECT_EQ(rec.events[2], "error");
    EXPECT_FALSE(link.isConnected());
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
