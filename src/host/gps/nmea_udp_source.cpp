#include "host/gps/nmea_udp_source.h"

#include <QUdpSocket>
#include <algorithm>

namespace host {

NmeaUdpSource::NmeaUdpSource(QObject* parent) : NmeaSource(parent) {}

NmeaUdpSource::~NmeaUdpSource() { close_socket(); }

void NmeaUdpSource::start()
{
    if (is_busy()) return;
    bool ok = false;
    const uint port = port_text_.trimmed().toUInt(&ok);
    if (!ok || port > 65535) {
        emit error_occurred(tr("The UDP port must be a number from 1 to 65535, not \"%1\".").arg(port_text_));
        return;
    }
    socket_ = new QUdpSocket(this);
    if (!socket_->bind(QHostAddress::Any, quint16(port))) {
        const QString reason = socket_->errorString();
        close_socket();
        emit error_occurred(tr("Cannot listen on UDP port %1: %2").arg(port).arg(reason));
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, [this] { read_datagrams(); });
    datagrams_.clear();
    set_state(State::On, tr("port %1").arg(socket_->localPort()));
}

void NmeaUdpSource::stop()
{
    if (!is_busy()) return;
    close_socket();
    feeder_.clear();
    datagrams_.clear();
    set_state(State::Off);
}

quint16 NmeaUdpSource::bound_port() const { return socket_ && is_connected() ? socket_->localPort() : 0; }

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

} // namespace host
