// A recording replayed into the instrument: its records move the simulated
// inputs (host/replay/core/flight_replay.h) and its track goes to the receive
// handler as NMEA, so the pages show the flight again. It plays at 1x to 10x
// the recorded pace on the window's 100 ms ticks, or record by record when
// stepped. The sliders it drives are locked while it runs and the user's
// again when it stops, as with the FlightGear link.
//
// The receive handler takes one feeder at a time, and the link drives the
// same sliders: a replay does not start while an NMEA source is connected,
// and stops when one connects. Like the link, a replay takes the sliders
// over from the built-in engine (taking_inputs), and the engine does not
// start while a replay runs.
#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

#include "host/gps/nmea_feeder.h"
#include "host/viewer/core/flight_data.h"

namespace host {

class ControlPanel;
class NmeaSourceSelector;

class InstrumentReplay : public QObject {
    Q_OBJECT
public:
    InstrumentReplay(ControlPanel& controls, NmeaSourceSelector* sources, QObject* parent = nullptr);

    // Reads the recording and shows its first record (a replay running is
    // stopped first). False with a message when the file cannot be read, is
    // not a recording or an NMEA source is connected.
    bool start(const QString& path, QString& error);
    void stop(const QString& why = tr("stopped"));
    // Times the recorded pace, clamped to 1..10; a stepped replay plays on.
    void set_speed(int speed);
    // Holds the paced play and shows the record count records on (the last at most).
    void step(int count);

    bool is_running() const { return running_; }
    bool is_stepped() const { return stepped_; }
    int speed() const { return speed_; }
    size_t row() const { return row_; }
    size_t record_count() const { return data_.seconds.size(); }

    // Every 100 ms tick of the instrument: the paced play moves on.
    void tick();

signals:
    // About to drive the inputs: whatever else drives them lets go first.
    void taking_inputs();
    // Started (what: the file) or stopped (what: why).
    void running_changed(bool running, const QString& what);

private:
    void show(size_t row);

    ControlPanel& controls_;
    NmeaSourceSelector* sources_;
    NmeaFeeder feeder_;
    FlightData data_;
    QString name_;
    QStringList driven_; // the sliders locked
    size_t row_ = 0;
    double played_ms_ = 0; // recorded time played since the first record
    int speed_ = 1;
    int gsv_part_ = 0;
    bool running_ = false;
    bool stepped_ = false;
};

} // namespace host
