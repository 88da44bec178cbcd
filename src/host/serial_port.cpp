#include "host/serial_port.h"

#include <QSerialPort>

#include "gps/nmea_rx.h"

namespace host {

SerialLink::SerialLink(QObject* parent) : QObject(parent)
{
    thread_.setObjectName(QStringLiteral("serial"));
    worker_ = new QObject;
    port_ = new QSerialPort(worker_);
    QObject::connect(port_, &QSerialPort::readyRead, worker_, [this] { read_on_worker(); });
    QObject::connect(port_, &QSerialPort::errorOccurred, worker_,
                     [this](QSerialPort::SerialPortError e) { on_error_on_worker(e); });
    worker_->moveToThread(&thread_);
    thread_.start();
}

SerialLink::~SerialLink()
{
    QMetaObject::invokeMethod(
        worker_, [this] {
            if (port_->isOpen()) port_->close();
            open_.store(false, std::memory_order_release);
            delete port_;
            port_ = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete worker_;
}

void SerialLink::connectPort(const QString& port_text, const QString& baud_text)
{
    PortChoice choice = select_port(port_text.toStdString(), baud_text.toStdString());
    QMetaObject::invokeMethod(worker_, [this, choice] { open_on_worker(choice); }, Qt::QueuedConnection);
}

void SerialLink::disconnectPort()
{
    QMetaObject::invokeMethod(worker_, [this] { close_on_worker(); }, Qt::QueuedConnection);
}

void SerialLink::open_on_worker(const PortChoice& choice)
{
    if (port_->isOpen()) return;
    port_->setPortName(QString::fromStdString(choice.device));
    port_->setBaudRate(choice.baud);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!port_->open(QIODevice::ReadOnly)) {
        const QString name = QString::fromStdString(choice.port_name);
        const QString device = QString::fromStdString(choice.device);
        const QString where = name == device ? name : tr("%1 (%2)").arg(name, device);
        const QString message = tr("Cannot open serial port %1: %2").arg(where, port_->errorString());
        port_->clearError();
        emit errorOccurred(message);
        return;
    }
    // Modem-control lines may be refused by pseudo-terminals and USB
    // adapters; the port works without them.
    port_->setDataTerminalReady(false);
    port_->setRequestToSend(false);
    port_->clearError();
    read_errors_.invalidate();
    port_name_ = QString::fromStdString(choice.port_name);
    open_.store(true, std::memory_order_release);
    const QString device = QString::fromStdString(choice.device);
    const QString where = port_name_ == device ? device : tr("%1 (%2)").arg(port_name_, device);
    emit connectedChanged(true, tr("%1, %2 baud").arg(where).arg(choice.baud));
}

void SerialLink::on_error_on_worker(int code)
{
    // Line errors and modem-control requests that a pseudo-terminal or a USB
    // adapter refuses do not matter. A device that has gone away either says
    // so (resource error) or keeps signalling data that reads as nothing (a
    // hung-up terminal): that would spin the worker, so a burst of such read
    // errors ends the connection too. A single spurious one does not.
    if (!port_->isOpen()) return;
    QString reason;
    if (code == QSerialPort::ResourceError) {
        reason = port_->errorString();
    } else if (code == QSerialPort::ReadError) {
        if (!read_errors_.isValid() || read_errors_.elapsed() > 100) {
            read_errors_.start();
            read_error_count_ = 0;
        }
        if (++read_error_count_ < 8) return;
        reason = tr("the device hung up");
    } else {
        return;
    }
    const QString message = tr("Serial port %1 was lost: %2").arg(port_name_, reason);
    close_on_worker();
    emit errorOccurred(message);
}

void SerialLink::close_on_worker()
{
    if (!port_->isOpen()) return;
    port_->close();
    open_.store(false, std::memory_order_release);
    emit connectedChanged(false, QString());
}

void SerialLink::read_on_worker()
{
    uint8_t buffer[4096];
    for (;;) {
        const qint64 n = port_->read(reinterpret_cast<char*>(buffer), sizeof buffer);
        if (n <= 0) return;
        ems::ComPort1RxChar(buffer, size_t(n));
    }
}

void EchoSink::post(const char* text)
{
    if (!text) return;
    QString copy = QString::fromLatin1(text);
    QMetaObject::invokeMethod(this, [this, copy] { emit line(copy); }, Qt::QueuedConnection);
}

} // namespace host
