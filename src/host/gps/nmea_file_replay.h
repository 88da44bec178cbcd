// The replay of a recorded NMEA log at its real rate, driven by a QTimer on
// the user-interface thread and fed through an NmeaFeeder.
#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <vector>

#include "host/gps/nmea_feeder.h"
#include "host/gps/nmea_source.h"

class QTimer;

namespace host {

constexpr qint64 NMEA_LOG_MAX_BYTES = 64ll << 20; // largest log file replayed (a regular file only)
constexpr int NMEA_LOG_MAX_GAP_MS = 10000;      // longest pause taken from a log's time stamps

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

// Replays a recorded NMEA log into the firmware at its real rate.
class NmeaFileReplay : public NmeaSource {
    Q_OBJECT
public:
    explicit NmeaFileReplay(QObject* parent = nullptr);
    ~NmeaFileReplay() override;

    QString title() const override { return tr("Log file replay"); }
    // The log, the pace of a log without time stamps (plan_replay) and
    // whether to start over one second after the last line; read by start().
    void set_file(const QString& path, double sentences_per_second, bool repeat);
    // Reads and plans the file and starts sending (connected_changed(true,
    // how it is paced)). error_occurred() when the file cannot be read, is too
    // large or holds no lines; nothing while a replay runs.
    void start() override;
    // Stops (then connected_changed(false, "stopped")) and drops lines not
    // yet fed.
    void stop() override;
    // set_file and start together; false when the replay did not start.
    bool start(const QString& path, double sentences_per_second, bool repeat);
    // From start until the last line has gone to the receive handler (then
    // connected_changed(false, "end of the log")), or until stop().
    bool is_running() const { return is_connected(); }
    bool is_timed() const { return timed_; }
    // Multiplies every pause (1 = real time); tests shorten the replay with it.
    void set_time_scale(double scale) { time_scale_ = scale; }

    // Pause holds the replay where it is (lines already handed to the feeder
    // still go out); resume goes on from there. Both keep it running.
    void set_paused(bool paused);
    bool is_paused() const { return paused_; }
    // Replay speed, a multiple of the log's own pace (REPLAY_SPEEDS); may
    // change while it runs.
    void set_speed(double speed);
    double speed() const { return speed_; }
    // Lines sent of the log's lines, and the log time they span, in ms.
    size_t lines_sent() const { return next_; }
    size_t line_count() const { return steps_.size(); }
    qint64 log_elapsed_ms() const { return log_elapsed_ms_; }
    qint64 log_length_ms() const { return log_length_ms_; }

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
