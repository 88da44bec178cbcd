#include "host/gps/serial_link.h"

#include <QSerialPort>
#include <future>

#include "host/common/posted_call.h"

namespace host {

SerialLink::SerialLink(QObject* parent) : NmeaSource(parent)
{
    thread_.setObjectName(QStringLiteral("serial"));
    worker_ = new CallReceiver;
    port_ = new QSerialPort(worker_);
    QObject::connect(port_, &QSerialPort::readyRead, worker_, [this] { read_on_worker(); });
    QObject::connect(port_, &QSerialPort::errorOccurred, worker_,
                     [this](QSerialPort::SerialPortError e) { on_error_on_worker(e); });
    worker_->moveToThread(&thread_);
    thread_.start();
}

SerialLink::~SerialLink()
{
    std::promise<void> closed;
    post_call(worker_, [this, &closed] {
        if (port_->isOpen()) port_->close();
        delete port_;
        port_ = nullptr;
        closed.set_value();
    });
    closed.get_future().wait();
    thread_.quit();
    thread_.wait();
    delete worker_;
}

void SerialLink::set_port(const QString& port_text, const QString& baud_text)
{
    choice_ = select_port(port_text.toStdString(), baud_text.toStdString());
}

void SerialLink::connect_port(const QString& port_text, const QString& baud_text)
{
    set_port(port_text, baud_text);
    start();
}

void SerialLink::start()
{
    const PortChoice choice = choice_;
    queue([this, choice] { open_on_worker(choice); });
}

void SerialLink::stop()
{
    if (!is_busy()) return;
    queue([this] {
        close_on_worker();
        report(true, false, QString(), QString());
    });
}

void SerialLink::queue(std::function<void()> request)
{
    ++requests_;
    if (!open_) set_state(State::Starting);
    post_call(worker_, std::move(request));
}

void SerialLink::report(bool request, bool open, const QString& what, const QString& error)
{
    post_call(this, [this, request, open, what, error] {
        if (request) --requests_;
        open_ = open;
        set_state(open ? State::On : requests_ > 0 ? State::Starting : State::Off, what);
        if (!error.isEmpty()) emit error_occurred(error);
    });
}

void SerialLink::open_on_worker(const PortChoice& choice)
{
    if (port_->isOpen()) return report(true, true, QString(), QString());
    port_->setPortName(QString::fromStdString(choice.device));
    port_->setBaudRate(choice.baud);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    const QString name = QString::fromStdString(choice.port_name);
    const QString device = QString::fromStdString(choice.device);
    const QString where = name == device ? name : tr("%1 (%2)").arg(name, device);
    if (!port_->open(QIODevice::ReadOnly)) {
        const QString message = tr("Cannot open serial port %1: %2").arg(where, port_->errorString());
        port_->clearError();
        return report(true, false, QString(), message);
    }
    // Modem-control lines may be refused by pseudo-terminals and USB
    // adapters; the port works without them.
    port_->setDataTerminalReady(false);
    port_->setRequestToSend(false);
    port_->clearError();
    read_errors_.invalidate();
    port_name_ = name;
    report(true, true, tr("%1, %2 baud").arg(where).arg(choice.baud), QString());
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
    close_on_worker();
    report(false, false, QString(), tr("Serial port %1 was lost: %2").arg(port_name_, reason));
}

void SerialLink::close_on_worker()
{
    if (port_->isOpen()) port_->close();
}

void SerialLink::customEvent(QEvent* e) { run_posted_call(e); }

void SerialLink::read_on_worker()
{
    uint8_t buffer[4096];
    for (;;) {
        const qint64 n = port_->read(reinterpret_cast<char*>(buffer), sizeof buffer);
        if (n <= 0) return;
        feed_receive_handler(buffer, size_t(n));
    }
}

void EchoSink::customEvent(QEvent* e) { run_posted_call(e); }

void EchoSink::post(const char* text)
{
    if (!text) return;
    QString copy = QString::fromLatin1(text);
    post_call(this, [this, copy] { emit line(copy); });
}

} // namespace host
