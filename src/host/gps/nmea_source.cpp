#include "host/gps/nmea_source.h"

#include <atomic>
#include <string>

#include "gps/nmea_rx.h"
#include "host/gps/core/nmea_adapt.h"
#include "host/gps/core/nmea_watch.h"

namespace host {

namespace {

std::atomic<bool> adapt_wanted{false};
// Feeding thread only (one source feeds at a time).
NmeaAdapter adapter;
bool adapting = false;

void deliver(const uint8_t* bytes, size_t count)
{
    nmea_watch().observe(bytes, count);
    ems::ComPort1RxChar(bytes, count);
}

} // namespace

void set_adapt_modern_receivers(bool on) { adapt_wanted.store(on, std::memory_order_release); }
bool adapt_modern_receivers() { return adapt_wanted.load(std::memory_order_acquire); }

void feed_receive_handler(const uint8_t* bytes, size_t count)
{
    if (count == 0) return;
    const bool adapt = adapt_modern_receivers();
    if (!adapt && !adapting) {
        deliver(bytes, count);
        return;
    }
    std::string out;
    if (adapt) {
        adapter.push(bytes, count, out);
    } else {
        adapter.flush(out); // switched off: what the adapter held goes first
        out.append(reinterpret_cast<const char*>(bytes), count);
    }
    adapting = adapt;
    if (!out.empty()) deliver(reinterpret_cast<const uint8_t*>(out.data()), out.size());
}

// ---- A source ----------------------------------------------------------------

void NmeaSource::set_state(State state, const QString& what)
{
    const bool was_on = state_ == State::On;
    const bool on = state == State::On;
    const bool changed = state != state_;
    state_ = state;
    if (was_on != on) {
        status_ = status_for(on, what);
        emit connected_changed(on, what);
    }
    if (changed) emit state_changed(state);
}

void NmeaSource::set_status(const QString& status)
{
    if (status == status_) return;
    status_ = status;
    emit state_changed(state_);
}

QString NmeaSource::status_for(bool on, const QString& what) const
{
    if (on) return tr("Connected: %1").arg(what);
    return what.isEmpty() ? tr("Disconnected") : tr("Disconnected (%1)").arg(what);
}

} // namespace host
