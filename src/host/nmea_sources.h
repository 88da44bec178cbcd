// NMEA sources beside the serial port: a TCP connection to a server that
// streams NMEA 0183 (flight simulators, GPS daemons, network multiplexers)
// and the replay of a recorded NMEA log at its real rate.
//
// Threads. Both sources feed the firmware's receive handler
// ems::ComPort1RxChar on the user-interface thread, through an NmeaFeeder.
// The TCP source resolves, connects and reads on a worker thread of its own
// (std::thread, blocking only there) and hands each received chunk to the
// user-interface thread by a queued call; the replay is driven by a QTimer on
// the user-interface thread. The receive handler's framing state belongs to
// one feeding thread at a time: the "GPS (NMEA Protocol)" tab lets only one
// source (serial port, TCP or replay) be connected at once, and starts
// another only after the previous one has reported itself disconnected.
//
// Hand-over pacing. A serial line delivers a receiver's sentences spread
// over the second, so the main loop takes each from its slot before the next
// of the same type arrives. A network read or a log line burst delivers a
// whole second's sentences at once, and the slots would drop all but the
// first GSV of a group. The feeder therefore holds back a GPRMC, GPGGA, GPGSA
// or GPGSV sentence while that type's slot is still full, for at most
// NMEA_SLOT_WAIT_MS; when the main loop is not running (the instrument is
// off) it stops waiting until it sees a slot taken again.
#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <thread>
#include <vector>

class QTimer;

namespace host {

constexpr int NMEA_SLOT_WAIT_MS = 100;          // longest hold-back of one sentence
constexpr qsizetype NMEA_FEED_MAX = 256 * 1024; // bytes waiting in a feeder; older lines are dropped beyond
constexpr qint64 NMEA_LOG_MAX_BYTES = 64ll << 20; // largest log file replayed
constexpr int NMEA_LOG_MAX_GAP_MS = 10000;      // longest pause taken from a log's time stamps
constexpr quint16 GPSD_PORT = 2947;             // gpsd: asked for NMEA after connecting

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

// A TCP client that streams NMEA from a server into the firmware.
class NmeaTcpSource : public QObject {
    Q_OBJECT
public:
    explicit NmeaTcpSource(QObject* parent = nullptr);
    // Stops the worker thread (closing the connection) without signals.
    ~NmeaTcpSource() override;
    NmeaTcpSource(const NmeaTcpSource&) = delete;
    NmeaTcpSource& operator=(const NmeaTcpSource&) = delete;

    // Connects to "host:port" on the worker; returns at once. The outcome is
    // connectedChanged(true, ...) or errorOccurred(). Does nothing while
    // connecting or connected. On port 2947 (gpsd) it asks for NMEA output.
    void connectTo(const QString& host_port);
    // Closes the connection (then connectedChanged(false, ...)) and drops
    // sentences not yet fed; nothing when idle.
    void disconnectSource();
    bool isConnected() const { return connected_; }
    bool isBusy() const { return connected_ || worker_.joinable(); } // connecting or connected

signals:
    // Connected (what: "host:port") or closed (what: why, may be empty).
    void connectedChanged(bool connected, const QString& what);
    // The server could not be reached or the connection failed; text for an error box.
    void errorOccurred(const QString& message);

private:
    void run(QString host, quint16 port, unsigned generation);
    void stop_worker();
    void post_state(unsigned generation, bool connected, const QString& what, const QString& error);

    NmeaFeeder feeder_;
    std::thread worker_;
    std::atomic<bool> stop_{false};
    int wake_[2] = {-1, -1}; // pipe that interrupts the worker's waits
    unsigned generation_ = 0; // events of an older connection are ignored
    bool connected_ = false;
};

// Replays a recorded NMEA log into the firmware at its real rate.
class NmeaFileReplay : public QObject {
    Q_OBJECT
public:
    explicit NmeaFileReplay(QObject* parent = nullptr);
    ~NmeaFileReplay() override;

    // Reads and plans the file (plan_replay) and starts sending. False, with
    // errorOccurred(), when the file cannot be read, is too large or holds no
    // lines; false without a signal while a replay runs. repeat: start over
    // one second after the last line.
    bool start(const QString& path, double sentences_per_second, bool repeat);
    // Stops (then connectedChanged(false, ...)) and drops lines not yet fed;
    // nothing when idle.
    void stop();
    // From start until the last line has gone to the receive handler (then
    // connectedChanged(false, "end of the log")), or until stop().
    bool isRunning() const { return running_; }
    bool isTimed() const { return timed_; }
    // Multiplies every pause (1 = real time); tests shorten the replay with it.
    void setTimeScale(double scale) { time_scale_ = scale; }

signals:
    // Started (what describes the pacing) or stopped (what: why).
    void connectedChanged(bool connected, const QString& what);
    void errorOccurred(const QString& message);

private:
    void send_due();
    void finish(const QString& why);

    NmeaFeeder feeder_;
    QTimer* timer_ = nullptr;
    QElapsedTimer clock_;
    double due_ms_ = 0;       // when steps_[next_] is due, ms since clock_ started
    std::vector<ReplayStep> steps_;
    size_t next_ = 0;
    bool running_ = false;
    bool repeat_ = false;
    bool timed_ = false;
    double time_scale_ = 1.0;
};

} // namespace host
