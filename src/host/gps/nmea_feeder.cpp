#include "host/gps/nmea_feeder.h"

#include <QTimer>
#include <atomic>

#include "gps/nmea_rx.h"
#include "host/gps/nmea_source.h"

namespace host {

namespace {

// The slot flag a line would fill, or null for sentences that are not handed over.
const std::atomic<uint8_t>* slot_flag(const QByteArray& line)
{
    if (line.size() < 7 || !line.startsWith("$G")) return nullptr;
    // Adapted modern talkers fill the same slots as GP.
    QByteArray body = line.mid(1);
    const char talker = body[1];
    if (talker != 'P' && !(adapt_modern_receivers() && (talker == 'N' || talker == 'L' || talker == 'A')))
        return nullptr;
    body[1] = 'P';
    const ems::NmeaSentence* s = ems::nmea_sentence_of({body.constData(), size_t(body.size())});
    return s ? &(ems::nmea.*s->flag) : nullptr;
}

void feed(const QByteArray& bytes)
{
    feed_receive_handler(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

// Longest run of bytes without a line end that is held for the rest of its line.
constexpr qsizetype PARTIAL_LINE_MAX = 4096;

} // namespace

NmeaFeeder::NmeaFeeder(QObject* parent) : QObject(parent)
{
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    retry_->setInterval(4);
    connect(retry_, &QTimer::timeout, this, [this] { drain(); });
}

void NmeaFeeder::push(const QByteArray& bytes)
{
    pending_.append(bytes);
    if (pending_.size() > NMEA_FEED_MAX) {
        // The firmware cannot keep up: drop the oldest whole lines.
        qsizetype cut = pending_.indexOf('\n', pending_.size() - NMEA_FEED_MAX);
        pending_.remove(0, cut < 0 ? pending_.size() - NMEA_FEED_MAX : cut + 1);
        waiting_.invalidate();
    }
    if (!retry_->isActive()) drain();
}

void NmeaFeeder::clear()
{
    pending_.clear();
    retry_->stop();
    waiting_.invalidate();
}

void NmeaFeeder::drain()
{
    qsizetype fed = 0;
    while (fed < pending_.size()) {
        const qsizetype nl = pending_.indexOf('\n', fed);
        if (nl < 0) {
            // A partial line waits for its end, unless it is no line at all.
            if (pending_.size() - fed > PARTIAL_LINE_MAX) {
                feed(pending_.mid(fed));
                fed = pending_.size();
            }
            break;
        }
        const QByteArray line = pending_.mid(fed, nl + 1 - fed);
        if (const std::atomic<uint8_t>* flag = slot_flag(line)) {
            if (flag->load(std::memory_order_acquire) != 0) {
                if (!gave_up_) {
                    if (!waiting_.isValid()) waiting_.start();
                    if (waiting_.elapsed() < NMEA_SLOT_WAIT_MS) {
                        retry_->start();
                        break;
                    }
                    gave_up_ = true; // nobody takes the slots: the instrument is off
                }
            } else {
                gave_up_ = false;
            }
        }
        waiting_.invalidate();
        feed(line);
        fed = nl + 1;
    }
    pending_.remove(0, fed);
}

} // namespace host
