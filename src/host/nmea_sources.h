// NMEA sources beside the serial port: a TCP connection to a server that
// streams NMEA 0183 (flight simulators, GPS daemons, network multiplexers)
// and the replay of a recorded NMEA log at its real rate.
//
// Threads. Both live on the user-interface thread and feed the firmware's
// receive handler from there, through an NmeaFeeder: the TCP source is a
// QTcpSocket (non-blocking; the event loop reports its data), the replay is
// driven by a QTimer. The selector (nmea_source.h) keeps them from feeding
// while the serial port's worker does.
//
// Hand-over pacing. A serial line delivers a receiver's sentences spread
// over the second, so the main loop takes each from its slot before the next
// of the same type arrives. A network read or a log line burst delivers a
// whole second's sentences at once, and the slots would drop all but the
// first GSV of a group. The feeder therefore holds back a sentence of a type
// that has a slot (ems::NMEA_SENTENCES) while that slot is still full, for at
// most NMEA_SLOT_WAIT_MS; when the main loop is not running (the instrument is
// off) it stops waiting until it sees a slot taken again.
#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <vector>

#include "host/core/gpsd_stream.h"
#include "host/core/nmea_adapt.h"
#include "host/nmea_source.h"

class QTcpSocket;
class QTimer;
class QUdpSocket;

namespace host {

constexpr int NMEA_SLOT_WAIT_MS = 100;          // longest hold-back of one sentence
constexpr qsizetype NMEA_FEED_MAX = 256 * 1024; // bytes waiting in a feeder; older lines are dropped beyond
constexpr qint64 NMEA_LOG_MAX_BYTES = 64ll << 20; // largest log file replayed (a regular file only)
constexpr int NMEA_LOG_MAX_GAP_MS = 10000;      // longest pause taken from a log's time stamps
constexpr int NMEA_SILENCE_MS = 5000;           // a connection that read nothing for this long says so
constexpr char GPSD_ADDRESS[] = "localhost:2947"; // where gpsd listens unless told otherwise
constexpr int NMEA_CONNECT_TIMEOUT_MS = 5000;   // longest wait for a TCP server to answer

// "host:port", "[ipv6]:port" or ":port" (localhost); port 1..65535. On
// failure returns false and a message for the user in error.
bool parse_host_port(const QString& text, QString& host, quint16& port, QString& error);

// Seconds since midnight of the time field of an RMC or GGA sentence of any
// talker ("$GPRMC,hhmmss.ss,..."), or -1 when the line has none.
double nmea_time_of_day(const QByteArray& line);

// One line of a replay: the bytes to send (ending in CR LF) and the pause
// before sending them.
struct ReplayStep {
    QByteArray line;
    int delay_ms = 0;
};

// Splits a log into replay steps: leading "#" comment lines and empty lines
// are skipped, every line is sent with CR LF (logs stored with LF only
// work), other bytes pass unchanged. When the log has at least two different
// RMC/GGA time stamps the pauses follow them (a sentence with a new time
// stamp waits for the difference; midnight wraps; a step back in time or a
// line without a stamp does not wait; pauses are capped at
// NMEA_LOG_MAX_GAP_MS) and timed is set; otherwise lines follow each other at
// sentences_per_second (clamped to 0.1..1000).
std::vector<ReplayStep> plan_replay(const QByteArray& contents, double sentences_per_second, bool& timed);

// Feeds bytes to ems::ComPort1RxChar on the thread it lives on (the
// user-interface thread), whole lines at a time, holding back sentences whose
// slot is still full (see above). A partial last line waits for its end.
class NmeaFeeder : public QObject {
    Q_OBJECT
public:
    explicit NmeaFeeder(QObject* parent = nullptr);
    void push(const QByteArray& bytes);
    void clear();                                   // drops everything not yet fed
    qsizetype pending() const { return pending_.size(); }

private:
    void drain();

    QByteArray pending_;
    QTimer* retry_ = nullptr;
    QElapsedTimer waiting_; // valid while a sentence is held back
    bool gave_up_ = false;  // the slots are not being taken: no more waiting
};

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
    void setAddress(const QString& host_port) { address_ = host_port; }
    // Connects; returns at once. A bad address is reported at once (state
    // stays Off); otherwise the outcome is connectedChanged(true, "host:port")
    // or errorOccurred().
    void start() override;
    // Closes the connection (then connectedChanged(false, "")) and drops
    // sentences not yet fed.
    void stop() override;
    // setAddress and start together.
    void connectTo(const QString& host_port);
    // The connection is to gpsd (known from its banner, or asked for).
    bool isGpsd() const { return gpsd_; }

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

// Listens for NMEA datagrams on a UDP port (flight simulators send their
// NMEA output so) and feeds their sentences into the firmware; datagrams from
// any sender are taken (host/core/nmea_adapt.h reassembles them).
class NmeaUdpSource : public NmeaSource {
    Q_OBJECT
public:
    explicit NmeaUdpSource(QObject* parent = nullptr);
    ~NmeaUdpSource() override;
    NmeaUdpSource(const NmeaUdpSource&) = delete;
    NmeaUdpSource& operator=(const NmeaUdpSource&) = delete;

    QString title() const override { return tr("UDP (listen on port)"); }
    // The port number as typed, read by the next start().
    void setPort(const QString& port_text) { port_text_ = port_text; }
    // Binds the port: connectedChanged(true, "port N") at once, or
    // errorOccurred() (bad number, port in use) with the state back at Off.
    void start() override;
    // Closes the port (then connectedChanged(false, "")) and drops sentences
    // not yet fed.
    void stop() override;
    // The bound port while on (useful when 0 was asked), else 0.
    quint16 boundPort() const;

protected:
    QString status_for(bool on, const QString& what) const override;

private:
    void read_datagrams();
    void close_socket();

    NmeaFeeder feeder_;
    NmeaDatagrams datagrams_;
    QString port_text_;
    QUdpSocket* socket_ = nullptr;
};

// Replays a recorded NMEA log into the firmware at its real rate.
class NmeaFileReplay : public NmeaSource {
    Q_OBJECT
public:
    explicit NmeaFileReplay(QObject* parent = nullptr);
    ~NmeaFileReplay() override;

    QString title() const override { return tr("Log file replay"); }
    // The log, the pace of a log without time stamps (plan_replay) and
    // whether to start over one second after the last line; read by start().
    void setFile(const QString& path, double sentences_per_second, bool repeat);
    // Reads and plans the file and starts sending (connectedChanged(true,
    // how it is paced)). errorOccurred() when the file cannot be read, is too
    // large or holds no lines; nothing while a replay runs.
    void start() override;
    // Stops (then connectedChanged(false, "stopped")) and drops lines not
    // yet fed.
    void stop() override;
    // setFile and start together; false when the replay did not start.
    bool start(const QString& path, double sentences_per_second, bool repeat);
    // From start until the last line has gone to the receive handler (then
    // connectedChanged(false, "end of the log")), or until stop().
    bool isRunning() const { return isConnected(); }
    bool isTimed() const { return timed_; }
    // Multiplies every pause (1 = real time); tests shorten the replay with it.
    void setTimeScale(double scale) { time_scale_ = scale; }

    // Pause holds the replay where it is (lines already handed to the feeder
    // still go out); resume goes on from there. Both keep it running.
    void setPaused(bool paused);
    bool isPaused() const { return paused_; }
    // Replay speed, a multiple of the log's own pace (REPLAY_SPEEDS); may
    // change while it runs.
    void setSpeed(double speed);
    double speed() const { return speed_; }
    // Lines sent of the log's lines, and the log time they span, in ms.
    size_t linesSent() const { return next_; }
    size_t lineCount() const { return steps_.size(); }
    qint64 logElapsedMs() const { return log_elapsed_ms_; }
    qint64 logLengthMs() const { return log_length_ms_; }

protected:
    QString status_for(bool on, const QString& what) const override;

private:
    bool load(QString& error);
    void send_due();
    void finish(const QString& why);
    void catch_up(); // moves play_ms_ on by the time played since the last call

    NmeaFeeder feeder_;
    QString path_;
    double rate_ = 5;
    bool repeat_ = false;
    QTimer* timer_ = nullptr;
    QElapsedTimer clock_;     // wall time since play_ms_ was last brought up to date
    double play_ms_ = 0;      // replay time played: wall time times the speed, pauses left out
    double due_ms_ = 0;       // the replay time steps_[next_] is due at
    std::vector<ReplayStep> steps_;
    size_t next_ = 0;
    bool timed_ = false;
    double time_scale_ = 1.0;
    double speed_ = 1.0;
    bool paused_ = false;
    qint64 log_elapsed_ms_ = 0; // log time of the lines sent in this round
    qint64 log_length_ms_ = 0;  // log time from the first line to the last
};

// The speeds offered for a replay.
constexpr double REPLAY_SPEEDS[] = {1, 2, 5, 10};

} // namespace host
