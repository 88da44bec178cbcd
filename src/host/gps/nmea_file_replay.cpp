#include "host/gps/nmea_file_replay.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>

#include "host/common/core/file_read.h"

namespace host {

double nmea_time_of_day(const QByteArray& line)
{
    // "$ttRMC," or "$ttGGA," then hhmmss with an optional fraction.
    if (line.size() < 13 || line[0] != '$') return -1;
    const QByteArray type = line.mid(3, 4);
    if (type != "RMC," && type != "GGA,") return -1;
    const char* p = line.constData() + 7;
    const char* end = line.constData() + line.size();
    int digits[6];
    for (int i = 0; i < 6; ++i) {
        if (p + i >= end || p[i] < '0' || p[i] > '9') return -1;
        digits[i] = p[i] - '0';
    }
    const int hh = digits[0] * 10 + digits[1];
    const int mm = digits[2] * 10 + digits[3];
    const int ss = digits[4] * 10 + digits[5];
    if (hh > 23 || mm > 59 || ss > 60) return -1;
    double seconds = hh * 3600.0 + mm * 60.0 + ss;
    p += 6;
    if (p < end && *p == '.') {
        double scale = 0.1;
        for (++p; p < end && *p >= '0' && *p <= '9'; ++p, scale /= 10) seconds += (*p - '0') * scale;
    }
    return seconds;
}

std::vector<ReplayStep> plan_replay(const QByteArray& contents, double sentences_per_second, bool& timed)
{
    std::vector<ReplayStep> steps;
    std::vector<double> stamps;
    bool in_header = true;
    qsizetype start = 0;
    while (start < contents.size()) {
        qsizetype end = contents.indexOf('\n', start);
        if (end < 0) end = contents.size();
        QByteArray line = contents.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) continue;
        if (in_header && line.startsWith('#')) continue;
        in_header = false;
        stamps.push_back(nmea_time_of_day(line));
        line.append("\r\n");
        steps.push_back({line, 0});
    }

    double first = -1;
    bool two_times = false;
    for (double s : stamps) {
        if (s < 0) continue;
        if (first < 0)
            first = s;
        else if (s != first)
            two_times = true;
    }
    timed = two_times;
    if (!timed) {
        const double rate = std::clamp(sentences_per_second, 0.1, 1000.0);
        for (size_t i = 1; i < steps.size(); ++i) steps[i].delay_ms = int(1000.0 / rate + 0.5);
        return steps;
    }
    double current = -1;
    for (size_t i = 0; i < steps.size(); ++i) {
        const double s = stamps[i];
        if (s < 0) continue;
        if (current >= 0 && s != current) {
            double d = s - current;
            if (d < -43200)
                d += 86400; // past midnight
            else if (d < 0)
                d = 0; // out of order: no pause
            steps[i].delay_ms = int(std::min(d * 1000.0, double(NMEA_LOG_MAX_GAP_MS)) + 0.5);
        }
        current = s;
    }
    return steps;
}

NmeaFileReplay::NmeaFileReplay(QObject* parent) : NmeaSource(parent)
{
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] { send_due(); });
}

NmeaFileReplay::~NmeaFileReplay() { timer_->stop(); }

void NmeaFileReplay::set_file(const QString& path, double sentences_per_second, bool repeat)
{
    path_ = path;
    rate_ = std::clamp(sentences_per_second, 0.1, 1000.0);
    repeat_ = repeat;
}

bool NmeaFileReplay::start(const QString& path, double sentences_per_second, bool repeat)
{
    if (is_busy()) return false;
    set_file(path, sentences_per_second, repeat);
    start();
    return is_running();
}

bool NmeaFileReplay::load(QString& error)
{
    std::string contents, system_error;
    switch (read_regular_file(QFile::encodeName(path_).toStdString(), NMEA_LOG_MAX_BYTES, contents, system_error)) {
    case FileRead::Ok:
        break;
    case FileRead::CannotOpen:
        error = tr("Cannot open the NMEA log %1: %2").arg(path_, QString::fromLocal8Bit(system_error.c_str()));
        return false;
    case FileRead::NotRegular:
        error = tr("%1 is not a log file (it is a device, a pipe or a folder). A serial receiver is "
                   "chosen as \"Serial port\" in \"Source:\"; replay takes a recorded file.").arg(path_);
        return false;
    case FileRead::TooLarge:
        error = tr("The NMEA log %1 is larger than %2 MB.").arg(path_).arg(NMEA_LOG_MAX_BYTES >> 20);
        return false;
    case FileRead::ReadError:
        error = tr("Cannot read the NMEA log %1: %2").arg(path_, QString::fromLocal8Bit(system_error.c_str()));
        return false;
    }
    steps_ = plan_replay(QByteArray::fromStdString(contents), rate_, timed_);
    if (steps_.empty()) {
        error = tr("The file %1 holds no NMEA lines.").arg(path_);
        return false;
    }
    log_length_ms_ = 0;
    for (const ReplayStep& step : steps_) log_length_ms_ += step.delay_ms;
    return true;
}

void NmeaFileReplay::start()
{
    if (is_busy()) return;
    QString error;
    if (!load(error)) {
        emit error_occurred(error);
        return;
    }
    next_ = 0;
    clock_.start();
    play_ms_ = 0;
    due_ms_ = 0;
    log_elapsed_ms_ = 0;
    paused_ = false;
    const QString name = QFileInfo(path_).fileName();
    set_state(State::On, timed_ ? tr("%1, paced by its time stamps").arg(name)
                                : tr("%1, %2 sentences/s").arg(name).arg(rate_));
    send_due();
}

void NmeaFileReplay::stop()
{
    if (!is_busy()) return;
    feeder_.clear();
    finish(tr("stopped"));
}

void NmeaFileReplay::finish(const QString& why)
{
    timer_->stop();
    steps_.clear();
    next_ = 0;
    paused_ = false;
    set_state(State::Off, why);
}

void NmeaFileReplay::catch_up()
{
    const qint64 wall = clock_.restart();
    if (!paused_) play_ms_ += double(wall) * speed_;
}

void NmeaFileReplay::set_paused(bool paused)
{
    if (!is_running() || paused == paused_) return;
    catch_up();
    paused_ = paused;
    if (paused)
        timer_->stop();
    else
        send_due();
    emit state_changed(state());
}

void NmeaFileReplay::set_speed(double speed)
{
    if (!(speed > 0)) return;
    if (is_running()) catch_up();
    speed_ = speed;
    if (is_running() && !paused_) send_due();
}

QString NmeaFileReplay::status_for(bool on, const QString& what) const
{
    return on ? tr("Replaying: %1").arg(what) : NmeaSource::status_for(on, what);
}

// Sends every step that is due (the feeder spreads them over the main loop's
// passes), then waits for the next one. due_ms_ is when steps_[next_] is due,
// in replay time (play_ms_).
void NmeaFileReplay::send_due()
{
    if (!is_running() || paused_) return;
    if (next_ == steps_.size()) {
        // The last line is out; the replay ends once the feeder has passed it on.
        if (feeder_.pending() == 0)
            finish(tr("end of the log"));
        else
            timer_->start(10);
        return;
    }
    const double scale = time_scale_ > 0 ? time_scale_ : 0;
    catch_up();
    while (due_ms_ <= play_ms_) {
        feeder_.push(steps_[next_].line);
        log_elapsed_ms_ += steps_[next_].delay_ms;
        if (++next_ == steps_.size()) {
            if (!repeat_) {
                send_due();
                return;
            }
            next_ = 0;
            log_elapsed_ms_ = 0;
            due_ms_ += 1000.0 * scale + steps_[0].delay_ms * scale; // a second's pause before starting over
            break;
        }
        due_ms_ += steps_[next_].delay_ms * scale;
    }
    catch_up();
    const double wait = (due_ms_ - play_ms_) / speed_;
    timer_->start(wait <= 0 ? 0 : int(wait + 0.5));
}

} // namespace host

