// The FlightGear link: FlightGear's "generic" protocol output
// (assets/flightgear/sorvik-ems.xml) received over UDP on 127.0.0.1. Each
// good line moves the simulated sensor inputs the way real sensors would
// (host/core/flightgear_drive.h: the raw inputs the firmware converts, never
// its readings), and once a second the aircraft's position goes to the
// receive handler as NMEA RMC, GGA, GSA and GSV sentences. As an NmeaSource it
// takes the receive path only while the selector lets it, like any other
// source. Bad lines are counted with their last reason and change nothing.
//
// A position is only worth its newest value: a fix waits while the main loop
// has not yet taken the previous one from its slots, and a newer fix takes
// its place. The window offers it again after every firmware pass
// (offer_fix), so scripted passes get the newest position too.
//
// FlightGearPlayer sends a recorded stream (one line per FlightGear line)
// over UDP to the link, one line per tick of the window's 100 ms timer, the
// rate FlightGear sends at; scripts replay examples with it.
#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <string_view>

#include "host/core/flightgear_drive.h"
#include "host/nmea_source.h"

class QUdpSocket;

namespace host {

constexpr quint16 FLIGHTGEAR_DEFAULT_PORT = 5510;
// FlightGear sends ten lines a second; the position goes out with every tenth.
constexpr int FLIGHTGEAR_LINES_PER_FIX = 10;
constexpr qint64 FLIGHTGEAR_STREAM_MAX_BYTES = 16ll << 20; // largest recorded stream played

class FlightGearLink : public NmeaSource {
    Q_OBJECT
public:
    explicit FlightGearLink(QObject* parent = nullptr);
    ~FlightGearLink() override;
    FlightGearLink(const FlightGearLink&) = delete;
    FlightGearLink& operator=(const FlightGearLink&) = delete;

    QString title() const override { return tr("FlightGear link (UDP)"); }
    // The port number as typed, read by the next start().
    void setPort(const QString& port_text) { port_text_ = port_text; }
    // Binds 127.0.0.1 at the port (0: any free one): connectedChanged(true, "port N") at once,
    // or errorOccurred() (bad number, port in use) with the state back at Off.
    // The counts start over.
    void start() override;
    // Closes the port (then connectedChanged(false, "")) and drops position
    // sentences not yet fed.
    void stop() override;
    quint16 boundPort() const; // while on, else 0

    // The time the position sentences carry (UTC).
    void setClock(std::function<UtcStamp()> clock) { clock_ = std::move(clock); }

    // Lines received (good and bad) and bad lines since the start, and why
    // the last bad one was refused.
    quint64 linesReceived() const { return lines_; }
    quint64 badLines() const { return bad_; }
    const QString& lastBadReason() const { return last_bad_; }

    // Hands the waiting fix to the receive handler once its slots are free.
    void offer_fix();

signals:
    // A good line's values, on the user-interface thread.
    void sampleReceived(const host::FlightGearSample& sample);
    // The counts changed.
    void countsChanged();

protected:
    QString status_for(bool on, const QString& what) const override;

private:
    void read_datagrams();
    void take_datagram(std::string_view text); // its lines, one by one
    void close_socket();

    QString port_text_;
    QUdpSocket* socket_ = nullptr;
    std::function<UtcStamp()> clock_;
    QByteArray waiting_fix_; // the newest position sentences not yet handed over
    quint64 lines_ = 0;
    quint64 bad_ = 0;
    QString last_bad_;
    int lines_to_fix_ = 0; // good lines until the next position
    int gsv_part_ = 0;     // the half of the sky the next position carries
};

class FlightGearPlayer : public QObject {
    Q_OBJECT
public:
    explicit FlightGearPlayer(QObject* parent = nullptr);
    ~FlightGearPlayer() override;

    // Reads a recorded stream (a regular file; "#" lines and empty lines are
    // skipped) and starts playing it to 127.0.0.1:port from its first line,
    // lines_per_tick lines on every tick(). False with a message when the
    // file cannot be read or holds no lines.
    bool play(const QString& path, quint16 port, int lines_per_tick, QString& error);
    void stop();
    // Sends the next lines; the end of the stream stops the player.
    void tick();
    bool isPlaying() const { return next_ < lines_.size(); }
    qsizetype linesSent() const { return next_; }
    qsizetype lineCount() const { return lines_.size(); }

private:
    QUdpSocket* socket_ = nullptr;
    QList<QByteArray> lines_;
    qsizetype next_ = 0;
    quint16 port_ = 0;
    int lines_per_tick_ = 1;
};

} // namespace host
