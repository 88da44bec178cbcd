#include "host/replay/instrument_replay.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "host/common/core/file_read.h"
#include "host/flightgear/flightgear_controls.h"
#include "host/gps/nmea_source_selector.h"
#include "host/replay/core/flight_replay.h"

namespace host {

namespace {

constexpr double TICK_MS = 100;

bool read_recording(const QString& path, FlightData& data, QString& error)
{
    std::string contents, why;
    switch (read_regular_file(QFile::encodeName(path).toStdString(), FLIGHT_DATA_MAX_BYTES, contents, why)) {
    case FileRead::Ok: break;
    case FileRead::NotRegular: error = QObject::tr("%1 is not a recording (a device, pipe or folder)").arg(path); return false;
    case FileRead::TooLarge:
        error = QObject::tr("%1 is larger than %2 MB").arg(path).arg(FLIGHT_DATA_MAX_BYTES >> 20);
        return false;
    default: error = QObject::tr("Cannot read %1: %2").arg(path, QString::fromLocal8Bit(why.c_str())); return false;
    }
    FlightData read;
    std::string reason;
    if (!read_flight_data(contents, read, reason) || !replay_usable(read, reason)) {
        error = QObject::tr("Cannot replay %1: %2").arg(path, QString::fromStdString(reason));
        return false;
    }
    data = std::move(read);
    return true;
}

} // namespace

InstrumentReplay::InstrumentReplay(ControlPanel& controls, NmeaSourceSelector* sources, QObject* parent)
    : QObject(parent), controls_(controls), sources_(sources)
{
    connect(sources_, &NmeaSourceSelector::changed, this, [this] {
        if (running_ && sources_->busy()) stop(tr("an NMEA source was connected"));
    });
}

bool InstrumentReplay::start(const QString& path, QString& error)
{
    if (sources_->busy()) {
        error = tr("Disconnect the NMEA source (%1) before replaying a recording into the instrument.")
                    .arg(sources_->busy()->title());
        return false;
    }
    FlightData data;
    if (!read_recording(path, data, error)) return false;
    if (running_) stop();
    emit taking_inputs();
    data_ = std::move(data);
    name_ = QFileInfo(path).fileName();
    played_ms_ = 0;
    stepped_ = false;
    running_ = true;
    show(0);
    emit running_changed(true, name_);
    return true;
}

void InstrumentReplay::stop(const QString& why)
{
    if (!running_) return;
    running_ = false;
    feeder_.clear();
    release_sliders(controls_, driven_);
    data_ = {};
    emit running_changed(false, why);
}

void InstrumentReplay::set_speed(int speed)
{
    speed_ = std::clamp(speed, REPLAY_SPEED_MIN, REPLAY_SPEED_MAX);
    if (!running_ || !stepped_) return;
    // Paced play goes on from the record shown.
    stepped_ = false;
    played_ms_ = (data_.seconds[row_] - data_.seconds.front()) * 1000;
}

void InstrumentReplay::step(int count)
{
    if (!running_) return;
    stepped_ = true;
    show(std::min(row_ + size_t(std::max(count, 0)), record_count() - 1));
}

void InstrumentReplay::tick()
{
    if (!running_ || stepped_) return;
    const size_t last = record_count() - 1;
    if (row_ == last) {
        stop(tr("end of the recording"));
        return;
    }
    played_ms_ += TICK_MS * speed_;
    const size_t due = replay_row_at(data_, played_ms_ / 1000);
    if (due != row_) show(due);
}

void InstrumentReplay::show(size_t row)
{
    row_ = row;
    drive_sliders(controls_, replay_inputs(data_, row), driven_);
    const std::string fix = replay_nmea(data_, row, gsv_part_);
    if (fix.empty() || sources_->busy()) return;
    gsv_part_ ^= 1;
    feeder_.push(QByteArray::fromStdString(fix));
}

} // namespace host
