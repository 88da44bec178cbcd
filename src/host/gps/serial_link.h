// The GPS serial port of the "GPS (NMEA Protocol)" tab. The port lives on a
// worker thread of its own; received bytes go, on that thread, straight to the
// firmware's receive handler. The window asks for connect and disconnect from
// the user-interface thread; the requests are queued to the worker, which
// alone decides (a connect while open does nothing), and the outcome comes
// back to the user-interface thread as the source's state and signals.
// Every hand-over between the two threads is a post_call (posted_call.h),
// so that ThreadSanitizer sees the order Qt's event queue gives them.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThread>
#include <functional>

#include "host/gps/core/port_select.h"
#include "host/gps/nmea_source.h"

class QSerialPort;

namespace host {

class SerialLink : public NmeaSource {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);
    // Closes the port, then stops and joins the worker thread; no signals.
    ~SerialLink() override;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    QString title() const override { return tr("Serial port"); }
    // The two combo-box texts that select port and speed (connect rules of
    // port_select.h), read by the next start().
    void set_port(const QString& port_text, const QString& baud_text);
    // "&Connect": opens the selected port at 8N1, no flow control, DTR and
    // RTS off. Always queued to the worker, which ignores it while a port is
    // open, so that a disconnect followed by a connect works in that order.
    void start() override;
    // "&Disconnect": closes the port if open (then connected_changed(false, ...)).
    void stop() override;
    // set_port and start together.
    void connect_port(const QString& port_text, const QString& baud_text);

protected:
    void customEvent(QEvent* e) override; // the worker's answers (posted_call.h)

private:
    // Worker thread.
    void open_on_worker(const PortChoice& choice);
    void close_on_worker();
    void read_on_worker();
    void on_error_on_worker(int code);
    // Tells the user-interface thread the port's state after a request
    // (request: whether one of its queued requests has been answered).
    void report(bool request, bool open, const QString& what, const QString& error);
    // User-interface thread.
    void queue(std::function<void()> request);

    QThread thread_;
    QObject* worker_ = nullptr;   // context object living on thread_
    QSerialPort* port_ = nullptr; // child of worker_, touched only on thread_
    QString port_name_;           // name of the open port, worker thread only
    QElapsedTimer read_errors_;   // start of the current burst of read errors, worker thread only
    int read_error_count_ = 0;    // read errors in that burst
    PortChoice choice_;           // user-interface thread
    int requests_ = 0;            // queued to the worker and not yet answered, user-interface thread
    bool open_ = false;           // the port's state as last reported, user-interface thread
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

protected:
    void customEvent(QEvent* e) override; // the posted lines (posted_call.h)
};

} // namespace host
