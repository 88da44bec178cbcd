// Where the firmware's NMEA comes from. Every source (the serial port as on
// the unit, a TCP client, the replay of a recorded log, and whatever joins
// them) is an NmeaSource: it is configured through its own setters, then
// started and stopped the same way, reports its state and a status line for
// the "GPS (NMEA Protocol)" tab, and hands received bytes to the firmware
// through feed_receive_handler().
//
// The receive handler's framing state belongs to one feeding thread at a
// time, so only one source may be busy (starting or on) at once. That rule
// lives in NmeaSourceSelector (nmea_source_selector.h), which owns the
// sources.
#pragma once
#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace host {

// The one way bytes enter the firmware's receive handler
// (ems::ComPort1RxChar). Called on the feeding source's thread. The bytes
// are adapted first when asked (below) and watched on their way
// (host/gps/core/nmea_watch.h).
void feed_receive_handler(const uint8_t* bytes, size_t count);

// "Adapt modern receivers": GN, GL and GA talkers become GP and bare LF
// line ends become CR LF before the receive handler sees them
// (host/gps/core/nmea_adapt.h). Off by default: the unit reads GP and CR LF only.
// Any thread; takes effect with the next bytes fed.
void set_adapt_modern_receivers(bool on);
bool adapt_modern_receivers();

class NmeaSource : public QObject {
    Q_OBJECT
public:
    // Off: nothing feeds. Starting: asked to start, outcome pending. On: feeding.
    enum class State { Off, Starting, On };
    Q_ENUM(State)

    using QObject::QObject;

    // The entry of the tab's "Source:" list.
    virtual QString title() const = 0;
    // Starts from the configuration set beforehand; returns at once. The
    // outcome is connected_changed(true, ...) or error_occurred() with the
    // state back at Off. Nothing happens while starting or on.
    virtual void start() = 0;
    // Stops feeding and drops what was not fed yet; then
    // connected_changed(false, ...). Nothing happens while off.
    virtual void stop() = 0;

    // UI-thread view of the source.
    State state() const { return state_; }
    bool is_busy() const { return state_ != State::Off; }
    bool is_connected() const { return state_ == State::On; }
    // One line for the tab: "Disconnected", "Connected: ...", "Replaying: ...".
    const QString& status() const { return status_; }

signals:
    // Entered On (what: where from) or left it (what: why, may be empty).
    void connected_changed(bool connected, const QString& what);
    // Any change of state() or status().
    void state_changed(host::NmeaSource::State state);
    // A start failed or a running source failed; text for an error box.
    void error_occurred(const QString& message);

protected:
    // Sets the state on the UI thread; entering or leaving On emits
    // connected_changed with what and sets the status line from status_for.
    void set_state(State state, const QString& what = QString());
    // The status line after entering (on) or leaving On with what.
    virtual QString status_for(bool on, const QString& what) const;
    // A new status line while the state stays (what the source hears changed).
    void set_status(const QString& status);

private:
    State state_ = State::Off;
    QString status_ = tr("Disconnected");
};

} // namespace host
