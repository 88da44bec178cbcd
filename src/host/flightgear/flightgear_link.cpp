#include "host/flightgear/flightgear_link.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <memory>
#include <utility>

#include "gps/gps_data.h"

#include "host/common/core/file_read.h"

namespace host {

// ---- The link ------------------------------------------------------------------

FlightGearLink::FlightGearLink(QObject* parent) : NmeaSource(parent)
{
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    monotonic_ = [since] { return since->elapsed(); };
}

qint64 FlightGearLink::now_ms() const { return monotonic_(); }

FlightGearLink::~FlightGearLink() { close_socket(); }

void FlightGearLink::start()
{
    if (is_busy()) return;
    bool ok = false;
    const uint port = port_text_.trimmed().toUInt(&ok);
    if (!ok || port > 65535) {
        emit error_occurred(tr("The FlightGear port must be a number from 1 to 65535 (0 takes any free port), not \"%1\".").arg(port_text_));
        return;
    }
    socket_ = new QUdpSocket(this);
    if (!socket_->bind(QHostAddress::LocalHost, quint16(port))) {
        const QString reason = socket_->errorString();
        close_socket();
        emit error_occurred(tr("Cannot listen for FlightGear on UDP port %1: %2").arg(port).arg(reason));
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, [this] { read_datagrams(); });
    lines_ = 0;
    bad_ = 0;
    startup_ = 0;
    waiting_for_model_ = false;
    last_bad_.clear();
    have_position_ = false;
    fix_made_ = false;
    emit counts_changed();
    set_state(State::On, tr("port %1").arg(socket_->localPort()));
}

void FlightGearLink::stop()
{
    if (!is_busy()) return;
    close_socket();
    waiting_fix_.clear();
    set_state(State::Off);
}

quint16 FlightGearLink::bound_port() const { return socket_ && is_connected() ? socket_->localPort() : 0; }

void FlightGearLink::close_socket()
{
    if (!socket_) return;
    socket_->disconnect(this);
    socket_->close();
    socket_->deleteLater();
    socket_ = nullptr;
}

void FlightGearLink::read_datagrams()
{
    read_queued_ = false;
    const quint64 lines_before = lines_;
    bool got_sample = false;
    QByteArray datagram;
    for (int n = 0; socket_ && socket_->hasPendingDatagrams(); ++n) {
        if (n == FLIGHTGEAR_DATAGRAMS_PER_TURN) {
            // A flood: the rest in the next turn, so the window stays live.
            if (!read_queued_) QTimer::singleShot(0, this, [this] { read_datagrams(); });
            read_queued_ = true;
            break;
        }
        datagram.resize(qsizetype(std::max<qint64>(0, socket_->pendingDatagramSize())));
        const qint64 got = socket_->readDatagram(datagram.data(), datagram.size());
        if (got > 0) take_datagram({datagram.constData(), size_t(got)}, got_sample);
    }
    if (got_sample) emit sample_received(newest_);
    pace();
    if (lines_ != lines_before) emit counts_changed();
}

void FlightGearLink::take_datagram(std::string_view text, bool& got_sample)
{
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (line.empty() || line == "\r") continue;
        ++lines_;
        FlightGearSample sample;
        const FlightGearResult result = parse_flightgear_line(line, sample);
        if (result.status != FlightGearParse::Ok) {
            ++bad_;
            last_bad_ = QString::fromStdString(flightgear_reason(result, line));
            continue;
        }
        waiting_for_model_ = flightgear_startup_line(sample);
        if (waiting_for_model_) {
            ++startup_;
            continue;
        }
        newest_ = sample;
        newest_ms_ = now_ms();
        have_position_ = true;
        got_sample = true;
    }
}

void FlightGearLink::pace()
{
    if (!have_position_ || !is_connected()) return;
    const qint64 now = now_ms();
    if (now - newest_ms_ > FLIGHTGEAR_LINES_STOPPED_MS) return;
    if (fix_made_ && now - last_fix_ms_ < FLIGHTGEAR_FIX_INTERVAL_MS) return;
    waiting_fix_ = QByteArray::fromStdString(flightgear_nmea(newest_, clock_ ? clock_() : UtcStamp{}, gsv_part_));
    gsv_part_ ^= 1;
    last_fix_ms_ = now;
    fix_made_ = true;
    offer_fix();
}

void FlightGearLink::offer_fix()
{
    if (waiting_fix_.isEmpty() || !is_connected()) return;
    for (const std::atomic<uint8_t>* flag : {&ems::nmea.nmea_rmc_new, &ems::nmea.nmea_gga_new, &ems::nmea.nmea_gsa_new, &ems::nmea.nmea_gsv_new})
        if (flag->load(std::memory_order_acquire) != 0) return;
    const QByteArray fix = std::exchange(waiting_fix_, {});
    feed_receive_handler(reinterpret_cast<const uint8_t*>(fix.constData()), size_t(fix.size()));
}

QString FlightGearLink::status_for(bool on, const QString& what) const
{
    return on ? tr("Listening: FlightGear on UDP %1").arg(what) : NmeaSource::status_for(on, what);
}

// ---- The player ----------------------------------------------------------------

FlightGearPlayer::FlightGearPlayer(QObject* parent) : QObject(parent) {}

FlightGearPlayer::~FlightGearPlayer() = default;

bool FlightGearPlayer::play(const QString& path, quint16 port, int lines_per_tick, QString& error)
{
    std::string contents, system_error;
    switch (read_regular_file(QFile::encodeName(path).toStdString(), FLIGHTGEAR_STREAM_MAX_BYTES, contents, system_error)) {
    case FileRead::Ok: break;
    case FileRead::NotRegular: error = tr("%1 is not a recorded stream (a device, pipe or folder)").arg(path); return false;
    case FileRead::TooLarge: error = tr("%1 is larger than %2 MB").arg(path).arg(FLIGHTGEAR_STREAM_MAX_BYTES >> 20); return false;
    default: error = tr("Cannot read %1: %2").arg(path, QString::fromLocal8Bit(system_error.c_str())); return false;
    }
    QList<QByteArray> lines;
    QList<qint64> times_ms;
    int number = 0;
    for (QByteArray line : QByteArray::fromStdString(contents).split('\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        // A capture: every line carries its time; the first line decides.
        const qsizetype tab = line.indexOf('\t');
        if (lines.isEmpty() ? tab >= 0 : !times_ms.isEmpty()) {
            bool ok = false;
            const double seconds = tab > 0 ? line.left(tab).toDouble(&ok) : 0;
            if (!ok || seconds < 0 || seconds > 1e9) {
                error = tr("%1, line %2: a capture line starts with its time in seconds and a tab").arg(path).arg(number);
                return false;
            }
            times_ms.append(qint64(seconds * 1000 + 0.5));
            line = line.mid(tab + 1).trimmed();
        }
        lines.append(line + '\n');
    }
    if (lines.isEmpty()) {
        error = tr("%1 holds no lines").arg(path);
        return false;
    }
    if (!socket_) socket_ = new QUdpSocket(this);
    lines_ = lines;
    times_ms_ = times_ms;
    next_ = 0;
    ticks_ = 0;
    port_ = port;
    lines_per_tick_ = std::max(1, lines_per_tick);
    return true;
}

void FlightGearPlayer::stop()
{
    lines_.clear();
    times_ms_.clear();
    next_ = 0;
}

void FlightGearPlayer::tick()
{
    if (!is_playing()) return;
    if (times_ms_.isEmpty()) {
        for (int i = 0; i < lines_per_tick_ && is_playing(); ++i, ++next_)
            socket_->writeDatagram(lines_[next_], QHostAddress::LocalHost, port_);
        return;
    }
    // The capture's first line goes with the first tick.
    const qint64 due_ms = times_ms_.front() + ticks_++ * FLIGHTGEAR_TICK_MS;
    for (; is_playing() && times_ms_[next_] <= due_ms; ++next_)
        socket_->writeDatagram(lines_[next_], QHostAddress::LocalHost, port_);
}

} // namespace host
