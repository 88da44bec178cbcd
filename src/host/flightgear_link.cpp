#include "host/flightgear_link.h"

#include <QFile>
#include <QUdpSocket>
#include <algorithm>
#include <utility>

#include "gps/gps_data.h"

#include "host/core/file_read.h"

namespace host {

// ---- The link ------------------------------------------------------------------

FlightGearLink::FlightGearLink(QObject* parent) : NmeaSource(parent) {}

FlightGearLink::~FlightGearLink() { close_socket(); }

void FlightGearLink::start()
{
    if (isBusy()) return;
    bool ok = false;
    const uint port = port_text_.trimmed().toUInt(&ok);
    if (!ok || port > 65535) {
        emit errorOccurred(tr("The FlightGear port must be a number from 1 to 65535 (0 takes any free port), not \"%1\".").arg(port_text_));
        return;
    }
    socket_ = new QUdpSocket(this);
    if (!socket_->bind(QHostAddress::LocalHost, quint16(port))) {
        const QString reason = socket_->errorString();
        close_socket();
        emit errorOccurred(tr("Cannot listen for FlightGear on UDP port %1: %2").arg(port).arg(reason));
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, [this] { read_datagrams(); });
    lines_ = 0;
    bad_ = 0;
    last_bad_.clear();
    lines_to_fix_ = 0;
    emit countsChanged();
    set_state(State::On, tr("port %1").arg(socket_->localPort()));
}

void FlightGearLink::stop()
{
    if (!isBusy()) return;
    close_socket();
    waiting_fix_.clear();
    set_state(State::Off);
}

quint16 FlightGearLink::boundPort() const { return socket_ && isConnected() ? socket_->localPort() : 0; }

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
    QByteArray datagram;
    while (socket_ && socket_->hasPendingDatagrams()) {
        datagram.resize(qsizetype(std::max<qint64>(0, socket_->pendingDatagramSize())));
        const qint64 n = socket_->readDatagram(datagram.data(), datagram.size());
        if (n > 0) take_datagram({datagram.constData(), size_t(n)});
    }
}

void FlightGearLink::take_datagram(std::string_view text)
{
    const quint64 bad_before = bad_;
    bool any = false;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (line.empty() || line == "\r") continue;
        any = true;
        ++lines_;
        FlightGearSample sample;
        const FlightGearResult result = parse_flightgear_line(line, sample);
        if (result.status != FlightGearParse::Ok) {
            ++bad_;
            last_bad_ = QString::fromStdString(flightgear_reason(result, line));
            continue;
        }
        emit sampleReceived(sample);
        if (lines_to_fix_ > 0) {
            --lines_to_fix_;
            continue;
        }
        lines_to_fix_ = FLIGHTGEAR_LINES_PER_FIX - 1;
        // Only while this link holds the receive path.
        if (isConnected()) {
            waiting_fix_ = QByteArray::fromStdString(flightgear_nmea(sample, clock_ ? clock_() : UtcStamp{}, gsv_part_));
            gsv_part_ ^= 1;
        }
    }
    offer_fix();
    if (any || bad_ != bad_before) emit countsChanged();
}

void FlightGearLink::offer_fix()
{
    if (waiting_fix_.isEmpty() || !isConnected()) return;
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
    for (QByteArray line : QByteArray::fromStdString(contents).split('\n')) {
        line = line.trimmed();
        if (!line.isEmpty() && !line.startsWith('#')) lines.append(line + '\n');
    }
    if (lines.isEmpty()) {
        error = tr("%1 holds no lines").arg(path);
        return false;
    }
    if (!socket_) socket_ = new QUdpSocket(this);
    lines_ = lines;
    next_ = 0;
    port_ = port;
    lines_per_tick_ = std::max(1, lines_per_tick);
    return true;
}

void FlightGearPlayer::stop()
{
    lines_.clear();
    next_ = 0;
}

void FlightGearPlayer::tick()
{
    for (int i = 0; i < lines_per_tick_ && isPlaying(); ++i, ++next_)
        socket_->writeDatagram(lines_[next_], QHostAddress::LocalHost, port_);
}

} // namespace host
