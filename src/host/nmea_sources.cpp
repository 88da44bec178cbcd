#include "host/nmea_sources.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <utility>

#include "gps/nmea_rx.h"
#include "host/core/file_read.h"

namespace host {

// ---- Host and port, time stamps, replay plan --------------------------------

bool parse_host_port(const QString& text, QString& host, quint16& port, QString& error)
{
    const QString t = text.trimmed();
    qsizetype colon = -1;
    if (t.startsWith('[')) {
        const qsizetype close = t.indexOf(']');
        if (close < 0 || close + 1 >= t.size() || t[close + 1] != ':') {
            error = QObject::tr("Write the address as [IPv6 address]:port, for example [::1]:10110.");
            return false;
        }
        host = t.mid(1, close - 1);
        colon = close + 1;
    } else {
        colon = t.lastIndexOf(':');
        if (colon < 0 || t.indexOf(':') != colon) {
            error = QObject::tr("Write the NMEA server as host:port, for example localhost:10110.");
            return false;
        }
        host = t.left(colon).trimmed();
    }
    bool ok = false;
    const uint value = t.mid(colon + 1).trimmed().toUInt(&ok);
    if (!ok || value < 1 || value > 65535) {
        error = QObject::tr("The port of \"%1\" must be a number from 1 to 65535.").arg(t);
        return false;
    }
    if (host.isEmpty()) host = QStringLiteral("localhost");
    port = quint16(value);
    return true;
}

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

// ---- Feeder -----------------------------------------------------------------

namespace {

// The slot flag a line would fill, or null for sentences that are not handed over.
const std::atomic<uint8_t>* slot_flag(const QByteArray& line)
{
    if (line.size() < 7 || !line.startsWith("$G")) return nullptr;
    // Adapted modern talkers fill the same slots as GP.
    QByteArray body = line.mid(1);
    const char talker = body[1];
    if (talker != 'P' && !(adapt_modern_receivers() && (talker == 'N' || talker == 'L' || talker == 'A')))
        return nullptr;
    body[1] = 'P';
    const ems::NmeaSentence* s = ems::nmea_sentence_of({body.constData(), size_t(body.size())});
    return s ? &(ems::nmea.*s->flag) : nullptr;
}

void feed(const QByteArray& bytes)
{
    feed_receive_handler(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

// Longest run of bytes without a line end that is held for the rest of its line.
constexpr qsizetype PARTIAL_LINE_MAX = 4096;

} // namespace

NmeaFeeder::NmeaFeeder(QObject* parent) : QObject(parent)
{
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    retry_->setInterval(4);
    connect(retry_, &QTimer::timeout, this, [this] { drain(); });
}

void NmeaFeeder::push(const QByteArray& bytes)
{
    pending_.append(bytes);
    if (pending_.size() > NMEA_FEED_MAX) {
        // The firmware cannot keep up: drop the oldest whole lines.
        qsizetype cut = pending_.indexOf('\n', pending_.size() - NMEA_FEED_MAX);
        pending_.remove(0, cut < 0 ? pending_.size() - NMEA_FEED_MAX : cut + 1);
        waiting_.invalidate();
    }
    if (!retry_->isActive()) drain();
}

void NmeaFeeder::clear()
{
    pending_.clear();
    retry_->stop();
    waiting_.invalidate();
}

void NmeaFeeder::drain()
{
    qsizetype fed = 0;
    while (fed < pending_.size()) {
        const qsizetype nl = pending_.indexOf('\n', fed);
        if (nl < 0) {
            // A partial line waits for its end, unless it is no line at all.
            if (pending_.size() - fed > PARTIAL_LINE_MAX) {
                feed(pending_.mid(fed));
                fed = pending_.size();
            }
            break;
        }
        const QByteArray line = pending_.mid(fed, nl + 1 - fed);
        if (const std::atomic<uint8_t>* flag = slot_flag(line)) {
            if (flag->load(std::memory_order_acquire) != 0) {
                if (!gave_up_) {
                    if (!waiting_.isValid()) waiting_.start();
                    if (waiting_.elapsed() < NMEA_SLOT_WAIT_MS) {
                        retry_->start();
                        break;
                    }
                    gave_up_ = true; // nobody takes the slots: the instrument is off
                }
            } else {
                gave_up_ = false;
            }
        }
        waiting_.invalidate();
        feed(line);
        fed = nl + 1;
    }
    pending_.remove(0, fed);
}

// ---- TCP ----------------------------------------------------------------------

NmeaTcpSource::NmeaTcpSource(QObject* parent) : NmeaTcpSource(false, parent) {}

NmeaTcpSource::NmeaTcpSource(bool gpsd_always, QObject* parent) : NmeaSource(parent), gpsd_always_(gpsd_always)
{
    timeout_ = new QTimer(this);
    timeout_->setSingleShot(true);
    timeout_->setInterval(NMEA_CONNECT_TIMEOUT_MS);
    connect(timeout_, &QTimer::timeout, this, [this] {
        const QString where = where_;
        close_socket();
        set_state(State::Off);
        emit errorOccurred(tr("Cannot connect to the NMEA server %1: %2").arg(where, tr("no answer within %1 seconds").arg(NMEA_CONNECT_TIMEOUT_MS / 1000)));
    });
    silence_ = new QTimer(this);
    silence_->setSingleShot(true);
    silence_->setTimerType(Qt::PreciseTimer); // a coarse timer may fire early
    silence_->setInterval(NMEA_SILENCE_MS);
    connect(silence_, &QTimer::timeout, this, [this] {
        silent_ = true;
        set_status(status_for(true, where_));
    });
}

NmeaTcpSource::~NmeaTcpSource()
{
    timeout_->stop();
    silence_->stop();
    close_socket();
}

void NmeaTcpSource::connectTo(const QString& host_port)
{
    setAddress(host_port);
    start();
}

void NmeaTcpSource::start()
{
    if (isBusy()) return;
    QString host, error;
    if (!parse_host_port(address_, host, port_, error)) {
        emit errorOccurred(error);
        return;
    }
    where_ = host.contains(':') ? QStringLiteral("[%1]:%2").arg(host).arg(port_)
                                : QStringLiteral("%1:%2").arg(host).arg(port_);
    // A fresh socket per connection: nothing an older one still reports can
    // reach this one.
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::connected, this, [this] { on_connected(); });
    connect(socket_, &QTcpSocket::readyRead, this, [this] { on_bytes(socket_->readAll()); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this] { on_error(); });
    gpsd_ = gpsd_always_;
    gpsd_stream_ = GpsdStream();
    greeting_.clear();
    greeted_ = false;
    silent_ = false;
    set_state(State::Starting);
    timeout_->start();
    socket_->connectToHost(host, port_, QIODevice::ReadWrite);
}

void NmeaTcpSource::stop()
{
    if (!isBusy()) return;
    timeout_->stop();
    silence_->stop();
    close_socket();
    feeder_.clear();
    set_state(State::Off);
}

void NmeaTcpSource::close_socket()
{
    if (!socket_) return;
    socket_->disconnect(this);
    socket_->abort();
    socket_->deleteLater();
    socket_ = nullptr;
}

void NmeaTcpSource::on_connected()
{
    timeout_->stop();
    if (gpsd_) socket_->write(GPSD_WATCH);
    silence_->start();
    set_state(State::On, where_);
}

void NmeaTcpSource::on_bytes(const QByteArray& bytes)
{
    if (bytes.isEmpty()) return;
    silence_->start();
    silent_ = false;
    QByteArray data = bytes;
    if (!gpsd_ && !greeted_) {
        // The first bytes wait until they tell whether gpsd is greeting: it
        // speaks first, and no NMEA sentence begins like its banner.
        greeting_.append(data);
        const QByteArray banner(GPSD_BANNER);
        if (greeting_.size() < banner.size() && banner.startsWith(greeting_)) return;
        greeted_ = true;
        if (greeting_.startsWith(banner)) {
            gpsd_ = true;
            socket_->write(GPSD_WATCH);
        }
        data = std::exchange(greeting_, QByteArray());
    }
    if (gpsd_) {
        std::string nmea;
        gpsd_stream_.push(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size()), nmea);
        if (!nmea.empty()) feeder_.push(QByteArray::fromStdString(nmea));
    } else {
        feeder_.push(data);
    }
    if (isConnected()) set_status(status_for(true, where_));
}

// Connecting failed, the server closed the connection, or the connection broke.
void NmeaTcpSource::on_error()
{
    timeout_->stop();
    const bool was_on = isConnected();
    const QAbstractSocket::SocketError code = socket_->error();
    const QString reason = socket_->errorString();
    // What arrived before the close still goes to the firmware.
    if (socket_->bytesAvailable() > 0) on_bytes(socket_->readAll());
    silence_->stop();
    close_socket();
    if (!was_on) {
        set_state(State::Off);
        emit errorOccurred(tr("Cannot connect to the NMEA server %1: %2").arg(where_, reason));
    } else if (code == QAbstractSocket::RemoteHostClosedError) {
        set_state(State::Off, tr("closed by the server"));
    } else {
        set_state(State::Off);
        emit errorOccurred(tr("The connection to the NMEA server %1 failed: %2").arg(where_, reason));
    }
}

QString NmeaTcpSource::condition() const
{
    if (gpsd_) {
        if (gpsd_stream_.devices() == 0) return tr(", gpsd has no GPS device");
        if (silent_) return tr(", nothing received for %1 s").arg(NMEA_SILENCE_MS / 1000);
        switch (gpsd_stream_.fix_mode()) {
        case -1: return QString();
        case 2: return tr(", 2D fix");
        case 3: return tr(", 3D fix");
        default: return tr(", gpsd has no fix");
        }
    }
    return silent_ ? tr(", nothing received for %1 s").arg(NMEA_SILENCE_MS / 1000) : QString();
}

QString NmeaTcpSource::status_for(bool on, const QString& what) const
{
    if (!on) return NmeaSource::status_for(on, what);
    return (gpsd_ ? tr("Connected: gpsd %1") : tr("Connected: NMEA server %1")).arg(what) + condition();
}

// ---- UDP --------------------------------------------------------------------

NmeaUdpSource::NmeaUdpSource(QObject* parent) : NmeaSource(parent) {}

NmeaUdpSource::~NmeaUdpSource() { close_socket(); }

void NmeaUdpSource::start()
{
    if (isBusy()) return;
    bool ok = false;
    const uint port = port_text_.trimmed().toUInt(&ok);
    if (!ok || port > 65535) {
        emit errorOccurred(tr("The UDP port must be a number from 1 to 65535, not \"%1\".").arg(port_text_));
        return;
    }
    socket_ = new QUdpSocket(this);
    if (!socket_->bind(QHostAddress::Any, quint16(port))) {
        const QString reason = socket_->errorString();
        close_socket();
        emit errorOccurred(tr("Cannot listen on UDP port %1: %2").arg(port).arg(reason));
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, [this] { read_datagrams(); });
    datagrams_.clear();
    set_state(State::On, tr("port %1").arg(socket_->localPort()));
}

void NmeaUdpSource::stop()
{
    if (!isBusy()) return;
    close_socket();
    feeder_.clear();
    datagrams_.clear();
    set_state(State::Off);
}

quint16 NmeaUdpSource::boundPort() const { return socket_ && isConnected() ? socket_->localPort() : 0; }

void NmeaUdpSource::close_socket()
{
    if (!socket_) return;
    socket_->disconnect(this);
    socket_->close();
    socket_->deleteLater();
    socket_ = nullptr;
}

void NmeaUdpSource::read_datagrams()
{
    std::string lines;
    while (socket_ && socket_->hasPendingDatagrams()) {
        QByteArray datagram(qsizetype(std::max<qint64>(0, socket_->pendingDatagramSize())), '\0');
        const qint64 n = socket_->readDatagram(datagram.data(), datagram.size());
        if (n > 0) datagrams_.push(reinterpret_cast<const uint8_t*>(datagram.constData()), size_t(n), lines);
    }
    if (!lines.empty()) feeder_.push(QByteArray::fromStdString(lines));
}

QString NmeaUdpSource::status_for(bool on, const QString& what) const
{
    return on ? tr("Listening: UDP %1").arg(what) : NmeaSource::status_for(on, what);
}

// ---- Log replay ---------------------------------------------------------------

NmeaFileReplay::NmeaFileReplay(QObject* parent) : NmeaSource(parent)
{
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] { send_due(); });
}

NmeaFileReplay::~NmeaFileReplay() { timer_->stop(); }

void NmeaFileReplay::setFile(const QString& path, double sentences_per_second, bool repeat)
{
    path_ = path;
    rate_ = std::clamp(sentences_per_second, 0.1, 1000.0);
    repeat_ = repeat;
}

bool NmeaFileReplay::start(const QString& path, double sentences_per_second, bool repeat)
{
    if (isBusy()) return false;
    setFile(path, sentences_per_second, repeat);
    start();
    return isRunning();
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
    if (isBusy()) return;
    QString error;
    if (!load(error)) {
        emit errorOccurred(error);
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
    if (!isBusy()) return;
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

void NmeaFileReplay::setPaused(bool paused)
{
    if (!isRunning() || paused == paused_) return;
    catch_up();
    paused_ = paused;
    if (paused)
        timer_->stop();
    else
        send_due();
    emit stateChanged(state());
}

void NmeaFileReplay::setSpeed(double speed)
{
    if (!(speed > 0)) return;
    if (isRunning()) catch_up();
    speed_ = speed;
    if (isRunning() && !paused_) send_due();
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
    if (!isRunning() || paused_) return;
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
