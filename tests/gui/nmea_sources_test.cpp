// NMEA from a TCP server: address parsing, the hand-over pacing, a real
// local TCP server, the selector, and the source choice on the
// "GPS (NMEA Protocol)" tab. The log replay is in nmea_replay_test.cpp.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "app/power.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "host/gps/gps_tab.h"
#include "host/gps/nmea_feeder.h"
#include "host/gps/nmea_file_replay.h"
#include "host/gps/nmea_source.h"
#include "host/gps/nmea_source_selector.h"
#include "host/gps/nmea_tcp_source.h"
#include "host/inputs/control_panel.h"
#include "host/window/main_window.h"
#include "host/window/unit_runner.h"
#include "support/nmea_sources_fixture.h"

namespace {

using test::GSV1;
using test::GSV2;
using test::GSV3;
using test::parse_pass;
using NmeaSources = test::NmeaSourcesFixture;
constexpr int WAIT_MS = test::NMEA_WAIT_MS;

// A TCP server on 127.0.0.1 with one client at a time, in plain sockets.
class LocalServer {
public:
    LocalServer()
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(listen_, 1) != 0 || ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        ::fcntl(listen_, F_SETFL, O_NONBLOCK);
        port_ = ntohs(a.sin_port);
    }
    ~LocalServer()
    {
        drop_client();
        if (listen_ >= 0) ::close(listen_);
    }
    quint16 port() const { return port_; }
    QString address() const { return QString("127.0.0.1:%1").arg(port_); }
    // Waits (processing events) for the client to connect.
    bool accept_client()
    {
        return QTest::qWaitFor(
            [&] {
                client_ = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
                return client_ >= 0;
            },
            WAIT_MS);
    }
    bool send(const std::string& bytes)
    {
        return ::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }
    void drop_client()
    {
        if (client_ >= 0) ::close(client_);
        client_ = -1;
    }
    // Bytes the client sent, read without waiting.
    std::string received()
    {
        char buffer[512];
        const ssize_t n = ::recv(client_, buffer, sizeof buffer, MSG_DONTWAIT);
        return n > 0 ? std::string(buffer, size_t(n)) : std::string();
    }

private:
    int listen_ = -1;
    int client_ = -1;
    quint16 port_ = 0;
};

TEST(NmeaSourcesPure, HostAndPort)
{
    QString host, error;
    quint16 port = 0;
    EXPECT_TRUE(host::parse_host_port(" localhost:10110 ", host, port, error));
    EXPECT_EQ(host, "localhost");
    EXPECT_EQ(port, 10110);
    EXPECT_TRUE(host::parse_host_port(":2947", host, port, error));
    EXPECT_EQ(host, "localhost");
    EXPECT_TRUE(host::parse_host_port("[::1]:5000", host, port, error));
    EXPECT_EQ(host, "::1");
    EXPECT_EQ(port, 5000);
    for (const char* bad : {"", "localhost", "host:", "host:0", "host:65536", "host:12x", "::1:5000", "[::1]5000"}) {
        EXPECT_FALSE(host::parse_host_port(bad, host, port, error)) << bad;
        EXPECT_FALSE(error.isEmpty());
    }
}
// Three GSV sentences in one burst all reach the record: the feeder holds each
// back until the main loop has taken the one before.
TEST_F(NmeaSources, FeederKeepsABurstFromOverrunningTheSlots)
{
    host::NmeaFeeder feeder;
    feeder.push(QByteArray::fromStdString(test::nmea_sentence(GSV1) + test::nmea_sentence(GSV2) + test::nmea_sentence(GSV3)));
    EXPECT_GT(feeder.pending(), 0);
    ASSERT_TRUE(passes_until([&] { return feeder.pending() == 0; }));
    parse_pass();
    EXPECT_EQ(ems::gps.gps_sats_in_view, 12);
    EXPECT_EQ(ems::gps.gps_sats[0].prn, 17);
    EXPECT_EQ(ems::gps.gps_sats[4].prn, 30);
    EXPECT_EQ(ems::gps.gps_sats[11].prn, 3);
}

// Without a main loop (instrument off) the feeder stops waiting: everything is
// echoed, the first of a type stays in its slot, the rest are lost as on a
// serial line.
TEST_F(NmeaSources, FeederDoesNotStallWhileTheInstrumentIsOff)
{
    host::NmeaFeeder feeder;
    std::string burst;
    for (int i = 0; i < 10; ++i) burst += test::nmea_sentence(GSV1) + test::nmea_sentence(GSV2);
    feeder.push(QByteArray::fromStdString(burst));
    ASSERT_TRUE(QTest::qWaitFor([&] { return feeder.pending() == 0; }, WAIT_MS));
    EXPECT_EQ(echoes().size(), 20u);
    EXPECT_EQ(std::string(ems::nmea.nmea_gsv), GSV1);
}

TEST_F(NmeaSources, TcpStreamReachesTheRecord)
{
    LocalServer server;
    ASSERT_NE(server.port(), 0);
    host::NmeaTcpSource tcp;
    std::vector<std::string> events;
    QObject::connect(&tcp, &host::NmeaTcpSource::connected_changed, [&](bool on, const QString& what) {
        events.push_back((on ? "on " : "off ") + what.toStdString());
    });
    QObject::connect(&tcp, &host::NmeaTcpSource::error_occurred,
                     [&](const QString& m) { events.push_back("error " + m.toStdString()); });

    tcp.connect_to(server.address());
    EXPECT_TRUE(tcp.is_busy());
    ASSERT_TRUE(server.accept_client());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !events.empty(); }, WAIT_MS));
    EXPECT_EQ(events[0], "on " + server.address().toStdString());
    EXPECT_TRUE(tcp.is_connected());
    tcp.connect_to(server.address()); // already connected: nothing
    EXPECT_EQ(server.received(), ""); // not gpsd: nothing is sent

    // One second's sentences in one write, the last one split across two.
    const std::string rmc = test::nmea_sentence("GPRMC,030719.000,A,3747.0873,S,17518.8938,E,10.0,181.39,311214,,,A");
    const std::string gga = test::nmea_sentence("GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000");
    ASSERT_TRUE(server.send(test::nmea_sentence(GSV1) + test::nmea_sentence(GSV2) + test::nmea_sentence(GSV3) + rmc + gga.substr(0, 20)));
    QTest::qWait(20);
    ASSERT_TRUE(server.send(gga.substr(20)));
    ASSERT_TRUE(passes_until([&] { return ems::gps.gps_altitude_m == 59; }));
    EXPECT_EQ(ems::gps.gps_fix_valid, 1);
    EXPECT_NEAR(ems::gps.gps_latitude, -37.784788, 1e-5);
    EXPECT_EQ(ems::gps.gps_sats[11].prn, 3); // all three GSV made it
    EXPECT_EQ(echoes().size(), 5u);

    // The server goes away: the source reports it and can connect again.
    server.drop_client();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() >= 2; }, WAIT_MS));
    EXPECT_EQ(events[1], "off closed by the server");
    EXPECT_FALSE(tcp.is_busy());
    tcp.connect_to(server.address());
    ASSERT_TRUE(server.accept_client());
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() >= 3; }, WAIT_MS));
    tcp.stop();
    EXPECT_EQ(events.back(), "off ");
    EXPECT_FALSE(tcp.is_busy());
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(NmeaSources, TcpFailuresAreReported)
{
    host::NmeaTcpSource tcp;
    std::vector<std::string> errors;
    QObject::connect(&tcp, &host::NmeaTcpSource::error_occurred,
                     [&](const QString& m) { errors.push_back(m.toStdString()); });
    tcp.connect_to("nonsense");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(tcp.is_busy());

    quint16 closed_port = 0;
    {
        LocalServer gone; // bound, then closed: nobody listens there now
        closed_port = gone.port();
    }
    tcp.connect_to(QString("127.0.0.1:%1").arg(closed_port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return errors.size() == 2; }, WAIT_MS));
    EXPECT_NE(errors[1].find("Cannot connect to the NMEA server 127.0.0.1:"), std::string::npos) << errors[1];
    EXPECT_FALSE(tcp.is_busy());
}

// The source's state and status line through connect, a server closing
// (what it sent last still arrives), connecting again, and a stop while the
// connection is still being made (nothing of it may come back afterwards).
TEST_F(NmeaSources, TcpStateThroughAQtServer)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QString address = QString("127.0.0.1:%1").arg(server.serverPort());
    host::NmeaTcpSource tcp;
    int changes = 0;
    QObject::connect(&tcp, &host::NmeaSource::state_changed, [&] { ++changes; });
    auto accept = [&] {
        return QTest::qWaitFor([&] { return server.hasPendingConnections(); }, WAIT_MS) ? server.nextPendingConnection()
                                                                                        : nullptr;
    };

    tcp.connect_to(address);
    EXPECT_EQ(tcp.state(), host::NmeaSource::State::Starting);
    QTcpSocket* peer = accept();
    ASSERT_TRUE(peer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tcp.is_connected(); }, WAIT_MS));
    EXPECT_EQ(tcp.status(), "Connected: NMEA server " + address);

    peer->write(test::nmea_sentence("GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1").c_str());
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tcp.is_busy(); }, WAIT_MS));
    EXPECT_EQ(tcp.status(), "Disconnected (closed by the server)");
    ASSERT_TRUE(passes_until([&] { return ems::gps.gps_fix_type == 3; }));

    tcp.connect_to(address);
    ASSERT_TRUE(accept());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tcp.is_connected(); }, WAIT_MS));
    tcp.stop();
    EXPECT_EQ(tcp.state(), host::NmeaSource::State::Off);
    EXPECT_EQ(tcp.status(), "Disconnected");
    EXPECT_EQ(changes, 6); // starting, on, off; twice

    tcp.connect_to(address);
    tcp.stop();
    ASSERT_TRUE(accept());
    QTest::qWait(50);
    EXPECT_EQ(tcp.state(), host::NmeaSource::State::Off);
    EXPECT_EQ(changes, 8);
}

// A server that stays silent is reported after 5 s; one that greets as gpsd
// does is asked for NMEA and read as gpsd on any port, here one that has no
// receiver.
TEST_F(NmeaSources, TcpSaysWhenNothingArrivesAndRecognisesGpsd)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const QString address = QString("127.0.0.1:%1").arg(server.serverPort());
    host::NmeaTcpSource tcp;
    tcp.connect_to(address);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, WAIT_MS));
    QTcpSocket* peer = server.nextPendingConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tcp.is_connected(); }, WAIT_MS));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tcp.status().endsWith("nothing received for 5 s"); },
                                host::NMEA_SILENCE_MS + 1000));
    EXPECT_EQ(tcp.status(), "Connected: NMEA server " + address + ", nothing received for 5 s");

    peer->write("{\"class\":\"VERSION\",\"release\":\"3.22\"}\r\n{\"class\":\"DEVICES\",\"devices\":[]}\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return tcp.is_gpsd() && peer->bytesAvailable() > 0; }, WAIT_MS));
    EXPECT_EQ(peer->readAll().toStdString(), host::GPSD_WATCH);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tcp.status().contains("no GPS device"); }, WAIT_MS));
    EXPECT_EQ(tcp.status(), "Connected: gpsd " + address + ", gpsd has no GPS device");
    tcp.stop();
}

// The selector lets one source be busy at a time: the choice is locked while
// one is, and starting another is refused even when the busy one was started
// behind its back.
TEST_F(NmeaSources, SelectorKeepsOneSourceBusy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("slow.nmea");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 3; ++i) f.write(test::nmea_sentence("GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1").c_str());
    }
    host::NmeaSourceSelector sources;
    auto* tcp = new host::NmeaTcpSource;
    auto* replay = new host::NmeaFileReplay;
    EXPECT_EQ(sources.add(std::unique_ptr<host::NmeaSource>(tcp)), 0);
    EXPECT_EQ(sources.add(std::unique_ptr<host::NmeaSource>(replay)), 1);
    int changes = 0;
    QObject::connect(&sources, &host::NmeaSourceSelector::changed, [&] { ++changes; });

    EXPECT_FALSE(sources.choose(2));
    ASSERT_TRUE(sources.choose(1));
    replay->set_file(path, 0.1, false); // one sentence now, the next in ten seconds
    ASSERT_TRUE(sources.start());
    EXPECT_EQ(sources.busy(), replay);
    EXPECT_FALSE(sources.choose(0));
    EXPECT_EQ(sources.chosen(), 1);
    sources.stop();
    EXPECT_EQ(sources.busy(), nullptr);
    EXPECT_EQ(changes, 3); // chosen, on, off

    ASSERT_TRUE(sources.choose(0));
    tcp->set_address("127.0.0.1:1");
    EXPECT_TRUE(replay->start(path, 0.1, false)); // not through the selector
    EXPECT_FALSE(sources.start());
    EXPECT_FALSE(tcp->is_busy());
    sources.stop();
    EXPECT_FALSE(replay->is_busy());
}

// A log with a comment header and LF line ends, three seconds long by its time
// stamps, replayed at a hundredth of real time.// The tab: the source is chosen beside the serial controls, the buttons act on
// it, and the choice is locked while a source is on.
TEST(NmeaSourcesTab, ChoosingAndConnectingASource)
{
    test::reset_firmware();
    test::reset_nmea_link();
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("SDCARD");
    auto window = std::make_unique<host::TfrmMain>(dir.path());
    window->runner()->set_virtual_time(true);
    window->show();

    QComboBox* source = window->inputs()->combo("GPS (NMEA Protocol)/Source:");
    ASSERT_TRUE(source);
    ASSERT_EQ(source->count(), 6); // serial, TCP, replay, UDP, FlightGear, gpsd
    EXPECT_EQ(source->currentText(), "Serial port");
    QComboBox* port = window->inputs()->combo("GPS (NMEA Protocol)/Com Port:");
    auto* server_edit = window->findChild<QLineEdit*>("NmeaServer");
    ASSERT_TRUE(server_edit);
    EXPECT_TRUE(port->isEnabled());
    EXPECT_FALSE(server_edit->isEnabled());

    LocalServer server;
    window->inputs()->setCurrentIndex(1); // the GPS tab
    EXPECT_TRUE(port->isVisible());
    EXPECT_FALSE(server_edit->isVisible());
    source->setCurrentIndex(1);
    EXPECT_FALSE(port->isEnabled());
    EXPECT_TRUE(server_edit->isEnabled());
    // Only the chosen source's inputs show.
    EXPECT_FALSE(port->isVisible());
    EXPECT_TRUE(server_edit->isVisible());
    server_edit->setText(server.address());
    QTest::mouseClick(window->inputs()->button("&Connect"), Qt::LeftButton);
    ASSERT_TRUE(server.accept_client());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->gps()->nmea_tcp()->is_connected(); }, WAIT_MS));
    EXPECT_FALSE(source->isEnabled());
    ASSERT_TRUE(server.send(test::nmea_sentence("GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->gps()->memo()->toPlainText().contains("GPGSA,A,3"); }, WAIT_MS));

    QTest::mouseClick(window->inputs()->button("&Disconnect"), Qt::LeftButton);
    EXPECT_FALSE(window->gps()->nmea_tcp()->is_busy());
    EXPECT_TRUE(source->isEnabled());
    window.reset();
}

} // namespace
