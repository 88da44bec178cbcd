// The receive handler's framing state belongs to one feeding thread at a
// time, so only one NMEA source may be busy (starting or on) at once. The
// selector keeps that rule; the GPS tab only lays out the sources' inputs and
// asks it.
#pragma once
#include <QObject>
#include <memory>
#include <vector>

#include "host/gps/nmea_source.h"

namespace host {

// Owns the sources and keeps one of them busy at a time. The chosen source
// can change only while none is busy; start() acts on the chosen one and
// stop() on the busy one.
class NmeaSourceSelector : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Destroys the sources in reverse order; each closes without signals.
    ~NmeaSourceSelector() override;

    // Takes ownership; returns the source's index. The first added is chosen.
    int add(std::unique_ptr<NmeaSource> source);
    int count() const { return int(sources_.size()); }
    NmeaSource* source(int index) const;
    int chosen() const { return chosen_; }
    // The busy source, or null.
    NmeaSource* busy() const;

    // False (nothing changes) while a source is busy or for a bad index.
    bool choose(int index);
    // Starts the chosen source. False while another source is busy.
    bool start();
    // Stops the busy source, if any.
    void stop();

signals:
    // The choice, or a source's state or status, changed.
    void changed();
    // A source reported an error.
    void error_occurred(const QString& message);

private:
    std::vector<std::unique_ptr<NmeaSource>> sources_;
    int chosen_ = 0;
};

} // namespace host
