// NMEA over TCP: a connection to a server that streams NMEA 0183 (flight
// simulators, GPS daemons, network multiplexers). It lives on the
// user-interface thread (a non-blocking QTcpSocket the event loop reports
// on) and feeds the firmware through an NmeaFeeder; the selector
// (nmea_source_selector.h) keeps it from feeding while another source does.
#pragma once
#include <QByteArray>
#include <QString>

#include "host/gps/core/gpsd_stream.h"
#include "host/gps/nmea_feeder.h"
#include "host/gps/nmea_source.h"

class QTcpSocket;
class QTimer;

namespace host {

constexpr int NMEA_SILENCE_MS = 5000;           // a connection that read nothing for this long says so
constexpr char GPSD_ADDRESS[] = "localhost:2947"; // where gpsd listens unless told otherwise
constexpr int NMEA_CONNECT_TIMEOUT_MS = 5000;   // longest wait for a TCP server to answer

// "host:port", "[ipv6]:port" or ":port" (localhost); port 1..65535. On
// failure returns false and a message for the user in error.
bool parse_host_port(const QString& text, QString& host, quint16& port, QString& error);

// A TCP client that streams NMEA from a server into the firmware. A server
// that greets with gpsd's banner is gpsd, on any port: it is asked for its
// NMEA, which is then read as the unit reads it (GpsdStream), and the status
// says whether gpsd has a device and a fix. A connection that has read
// nothing for NMEA_SILENCE_MS says so too.
class NmeaTcpSource : public NmeaSource {
    Q_OBJECT
public:
    explicit NmeaTcpSource(QObject* parent = nullptr);
    // Closes the connection without signals.
    ~NmeaTcpSource() override;
    NmeaTcpSource(const NmeaTcpSource&) = delete;
    NmeaTcpSource& operator=(const NmeaTcpSource&) = delete;

    QString title() const override { return tr("TCP (host:port)"); }
    // The server as "host:port", read by the next start().
    void set_address(const QString& host_port) { address_ = host_port; }
    // Connects; returns at once. A bad address is reported at once (state
    // stays Off); otherwise the outcome is connected_changed(true, "host:port")
    // or error_occurred().
    void start() override;
    // Closes the connection (then connected_changed(false, "")) and drops
    // sentences not yet fed.
    void stop() override;
    // set_address and start together.
    void connect_to(const QString& host_port);
    // The connection is to gpsd (known from its banner, or asked for).
    bool is_gpsd() const { return gpsd_; }

protected:
    // The gpsd source: every connection is taken as gpsd from the start.
    explicit NmeaTcpSource(bool gpsd_always, QObject* parent);
    QString status_for(bool on, const QString& what) const override;

private:
    void on_connected();
    void on_error();
    void on_bytes(const QByteArray& bytes);
    void close_socket();
    QString condition() const; // what the status adds while connected

    NmeaFeeder feeder_;
    QString address_;
    QString where_;                // "host:port" of the current connection
    quint16 port_ = 0;
    QTcpSocket* socket_ = nullptr; // the current connection, or null
    QTimer* timeout_ = nullptr;    // gives up on a server that does not answer
    QTimer* silence_ = nullptr;    // runs out when nothing has been read for a while
    bool silent_ = false;
    const bool gpsd_always_ = false;
    bool gpsd_ = false;            // this connection speaks gpsd
    QByteArray greeting_;          // the first bytes, held until they show whether gpsd is greeting
    bool greeted_ = false;         // the greeting has been looked at
    GpsdStream gpsd_stream_;
};

// gpsd (at GPSD_ADDRESS unless told otherwise) as a source of its own:
// choosing it is all it takes, whatever receiver gpsd serves.
class NmeaGpsdSource : public NmeaTcpSource {
    Q_OBJECT
public:
    explicit NmeaGpsdSource(QObject* parent = nullptr) : NmeaTcpSource(true, parent) {}
    QString title() const override { return tr("gpsd (host:port)"); }
};

} // namespace host
