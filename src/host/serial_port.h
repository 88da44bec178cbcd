// The GPS serial port of the "GPS (NMEA Protocol)" tab. The port lives on a
// worker thread of its own; received bytes go, on that thread, straight to the
// firmware's receive handler (ems::ComPort1RxChar). The window asks for
// connect and disconnect from the user-interface thread; the requests are
// queued to the worker and the outcome comes back as signals.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>

#include "host/core/port_select.h"

class QSerialPort;

namespace host {

class SerialLink : public QObject {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);
    // Closes the port, then stops and joins the worker thread.
    ~SerialLink() override;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // "&Connect": opens the port the two combo-box texts select (connect
    // rules of port_select.h) at 8N1, no flow control, DTR and RTS off. Does
    // nothing while a port is open. Returns at once; the outcome is either
    // connectedChanged(true, ...) or errorOccurred().
    void connectPort(const QString& port_text, const QString& baud_text);
    // "&Disconnect": closes the port if open (then connectedChanged(false, ...)),
    // else does nothing.
    void disconnectPort();
    // Whether a port is open; may lag a queued request by one worker turn.
    bool isConnected() const { return open_.load(std::memory_order_acquire); }

signals:
    // The port opened (what: e.g. "COM1 (/dev/ttyS0), 9600 baud") or closed
    // (what empty), by request or because the device went away.
    void connectedChanged(bool connected, const QString& what);
    // A port could not be opened or failed while open; text for an error box.
    void errorOccurred(const QString& message);

private:
    void open_on_worker(const PortChoice& choice);
    void close_on_worker();
    void read_on_worker();
    void on_error_on_worker(int code);

    QThread thread_;
    QObject* worker_ = nullptr;   // context object living on thread_
    QSerialPort* port_ = nullptr; // child of worker_, touched only on thread_
    QString port_name_;           // name of the open port, worker thread only
    QElapsedTimer read_errors_;   // start of the current burst of read errors, worker thread only
    int read_error_count_ = 0;    // read errors in that burst
    std::atomic<bool> open_{false};
};

// Hands echoed NMEA lines from the serial receive thread to the window.
// post() may be called from any thread; line() is always emitted on the
// thread the sink lives on (the user-interface thread). Keep the sink alive
// until the SerialLink feeding it is destroyed.
class EchoSink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // line: NUL-terminated 8-bit text, read as Latin-1; null is ignored.
    void post(const char* line);

signals:
    void line(const QString& text);
};

} // namespace host
