#include "host/gps/nmea_tcp_source.h"

#include <QTcpSocket>
#include <QTimer>
#include <utility>

namespace host {

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
        emit error_occurred(tr("Cannot connect to the NMEA server %1: %2").arg(where, tr("no answer within %1 seconds").arg(NMEA_CONNECT_TIMEOUT_MS / 1000)));
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

void NmeaTcpSource::connect_to(const QString& host_port)
{
    set_address(host_port);
    start();
}

void NmeaTcpSource::start()
{
    if (is_busy()) return;
    QString host, error;
    if (!parse_host_port(address_, host, port_, error)) {
        emit error_occurred(error);
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
    if (!is_busy()) return;
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
    if (is_connected()) set_status(status_for(true, where_));
}

// Connecting failed, the server closed the connection, or the connection broke.
void NmeaTcpSource::on_error()
{
    timeout_->stop();
    const bool was_on = is_connected();
    const QAbstractSocket::SocketError code = socket_->error();
    const QString reason = socket_->errorString();
    // What arrived before the close still goes to the firmware.
    if (socket_->bytesAvailable() > 0) on_bytes(socket_->readAll());
    silence_->stop();
    close_socket();
    if (!was_on) {
        set_state(State::Off);
        emit error_occurred(tr("Cannot connect to the NMEA server %1: %2").arg(where_, reason));
    } else if (code == QAbstractSocket::RemoteHostClosedError) {
        set_state(State::Off, tr("closed by the server"));
    } else {
        set_state(State::Off);
        emit error_occurred(tr("The connection to the NMEA server %1 failed: %2").arg(where_, reason));
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

} // namespace host
