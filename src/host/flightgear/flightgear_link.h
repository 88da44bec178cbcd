// The FlightGear link: FlightGear's "generic" protocol output
// (assets/flightgear/sorvik-ems.xml) received over UDP on 127.0.0.1. Good
// lines move the simulated sensor inputs the way real sensors would
// (host/flightgear/core/flightgear_drive.h: the raw inputs the firmware converts, never
// its readings), and the aircraft's position goes to the receive handler as
// NMEA RMC, GGA, GSA and GSV sentences once a second. As an NmeaSource it
// takes the receive path only while the selector lets it, like any other
// source. Bad lines are counted with their last reason and change nothing.
//
// FlightGear sends one line per frame, anywhere from ten a second down to one
// every three seconds on a busy PC, so the link is paced by its clock, not by
// lines: a fix of the newest position goes out every second while lines keep
// coming (the newest at most FLIGHTGEAR_LINES_STOPPED_MS old) and stops when
// they stop, after which the unit lets the fix go stale as for any receiver.
// Lines FlightGear sends before its flight model runs (flightgear_startup_line)
// are counted but drive nothing: no reading, no position, no alarm. Of the
// lines that arrive together only the newest is applied, so a flood costs
// one application.
//
// A position is only worth its newest value: a fix waits while the main loop
// has not yet taken the previous one from its slots, and a newer fix takes
// its place. The window offers it again after every firmware pass
// (offer_fix), so scripted passes get the newest position too.
//
// FlightGearPlayer sends a recorded stream over UDP to the link: a capture of
// FlightGear's output (each line its seconds, a tab, the line) at its
// recorded pacing, or plain lines a fixed number per tick of the window's
// 100 ms timer; scripts and tests replay recordings with it.
#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <string_view>

#include "host/flightgear/core/flightgear_drive.h"
#include "host/gps/nmea_source.h"

class QUdpSocket;

namespace host {

constexpr quint16 FLIGHTGEAR_DEFAULT_PORT = 5510;
constexpr qint64 FLIGHTGEAR_TICK_MS = 100; // the window's timer tick, which paces the player and the link
constexpr qint64 FLIGHTGEAR_FIX_INTERVAL_MS = 1000; // a receiver's rate
// Lines count as coming while the newest is at most this old: FlightGear's
// slowest rate, 0.3 lines a second, leaves 3.3 s between lines.
constexpr qint64 FLIGHTGEAR_LINES_STOPPED_MS = 4000;
constexpr int FLIGHTGEAR_DATAGRAMS_PER_TURN = 1000; // read in one event-loop turn, the rest in the next
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
    void set_port(const QString& port_text) { port_text_ = port_text; }
    // Binds 127.0.0.1 at the port (0: any free one): connected_changed(true, "port N") at once,
    // or error_occurred() (bad number, port in use) with the state back at Off.
    // The counts start over.
    void start() override;
    // Closes the port (then connected_changed(false, "")) and drops position
    // sentences not yet fed.
    void stop() override;
    quint16 bound_port() const; // while on, else 0

    // The time the position sentences carry (UTC).
    void set_clock(std::function<UtcStamp()> clock) { clock_ = std::move(clock); }
    // The monotonic time in ms that paces the fixes (the default: since the
    // link was made); the window gives its 100 ms tick count.
    void set_monotonic_clock(std::function<qint64()> clock) { monotonic_ = std::move(clock); }

    // Lines received (good and bad) and bad lines since the start, and why
    // the last bad one was refused.
    quint64 lines_received() const { return lines_; }
    quint64 bad_lines() const { return bad_; }
    // Good lines from before FlightGear's flight model runs, and whether the
    // newest good line was one.
    quint64 startup_lines() const { return startup_; }
    bool waiting_for_flight_model() const { return waiting_for_model_; }
    const QString& last_bad_reason() const { return last_bad_; }

    // Makes a fix of the newest position when one is due (see above) and
    // offers it; the window calls it on every tick.
    void pace();
    // Hands the waiting fix to the receive handler once its slots are free.
    void offer_fix();

signals:
    // A good line's values, on the user-interface thread.
    void sample_received(const host::FlightGearSample& sample);
    // The counts changed.
    void counts_changed();

protected:
    QString status_for(bool on, const QString& what) const override;

private:
    void read_datagrams();
    // Its lines, one by one, counted; the newest good one into newest_.
    void take_datagram(std::string_view text, bool& got_sample);
    void close_socket();
    qint64 now_ms() const;

    QString port_text_;
    QUdpSocket* socket_ = nullptr;
    std::function<UtcStamp()> clock_;
    std::function<qint64()> monotonic_;
    QByteArray waiting_fix_; // the newest position sentences not yet handed over
    quint64 lines_ = 0;
    quint64 bad_ = 0;
    quint64 startup_ = 0;
    bool waiting_for_model_ = false;
    QString last_bad_;
    FlightGearSample newest_;   // the newest flight-model line
    bool have_position_ = false; // newest_ holds one
    qint64 newest_ms_ = 0;      // when it came
    qint64 last_fix_ms_ = 0;    // when the last fix was made
    bool fix_made_ = false;     // since the start
    bool read_queued_ = false;  // a read of the datagrams left over is posted
    int gsv_part_ = 0;          // the half of the sky the next position carries
};

class FlightGearPlayer : public QObject {
    Q_OBJECT
public:
    explicit FlightGearPlayer(QObject* parent = nullptr);
    ~FlightGearPlayer() override;

    // Reads a recorded stream (a regular file; "#" lines and empty lines are
    // skipped) and starts playing it to 127.0.0.1:port from its first line:
    // a capture (every line "SECONDS<tab>LINE") each line when as many
    // ticks have passed, plain lines lines_per_tick on every tick(). False
    // with a message when the file cannot be read, holds no lines, or a
    // capture line has no time.
    bool play(const QString& path, quint16 port, int lines_per_tick, QString& error);
    void stop();
    // Sends the next lines; the end of the stream stops the player.
    void tick();
    bool is_playing() const { return next_ < lines_.size(); }
    qsizetype lines_sent() const { return next_; }
    qsizetype line_count() const { return lines_.size(); }

private:
    QUdpSocket* socket_ = nullptr;
    QList<QByteArray> lines_;
    QList<qint64> times_ms_; // a capture's times, else empty
    qsizetype next_ = 0;
    qint64 ticks_ = 0;       // ticks played
    quint16 port_ = 0;
    int lines_per_tick_ = 1;
};

} // namespace host
