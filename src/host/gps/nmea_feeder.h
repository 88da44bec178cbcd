// Feeding the firmware's receive handler from the user-interface thread.
//
// Hand-over pacing. A serial line delivers a receiver's sentences spread
// over the second, so the main loop takes each from its slot before the next
// of the same type arrives. A network read or a log line burst delivers a
// whole second's sentences at once, and the slots would drop all but the
// first GSV of a group. The feeder therefore holds back a sentence of a type
// that has a slot (ems::NMEA_SENTENCES) while that slot is still full, for at
// most NMEA_SLOT_WAIT_MS; when the main loop is not running (the instrument is
// off) it stops waiting until it sees a slot taken again.
#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

class QTimer;

namespace host {

constexpr int NMEA_SLOT_WAIT_MS = 100;          // longest hold-back of one sentence
constexpr qsizetype NMEA_FEED_MAX = 256 * 1024; // bytes waiting in a feeder; older lines are dropped beyond

// Feeds bytes to ems::ComPort1RxChar on the thread it lives on (the
// user-interface thread), whole lines at a time, holding back sentences whose
// slot is still full (see above). A partial last line waits for its end.
class NmeaFeeder : public QObject {
    Q_OBJECT
public:
    explicit NmeaFeeder(QObject* parent = nullptr);
    void push(const QByteArray& bytes);
    void clear();                                   // drops everything not yet fed
    qsizetype pending() const { return pending_.size(); }

private:
    void drain();

    QByteArray pending_;
    QTimer* retry_ = nullptr;
    QElapsedTimer waiting_; // valid while a sentence is held back
    bool gave_up_ = false;  // the slots are not being taken: no more waiting
};

} // namespace host
