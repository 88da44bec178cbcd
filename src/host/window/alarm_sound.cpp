#include "host/window/alarm_sound.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QSettings>

#include "host/window/core/alarm_tone.h"

namespace host {

namespace {

constexpr const char* MUTE_KEY = "view/mute_alarm";

// The endless tone as a sequential device the sound output pulls from.
class ToneDevice : public QIODevice {
public:
    ToneDevice() { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 16; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        const size_t count = size_t(max) / sizeof(int16_t);
        alarm_tone_samples(reinterpret_cast<int16_t*>(data), count, next_);
        next_ += count;
        return qint64(count * sizeof(int16_t));
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    uint64_t next_ = 0;
};

} // namespace

AlarmSound::AlarmSound(QObject* parent) : QObject(parent), muted_(QSettings().value(MUTE_KEY, false).toBool()) {}

AlarmSound::~AlarmSound() { stop_output(); }

void AlarmSound::update()
{
    const bool wanted = alarm_tone_wanted(muted_);
    if (wanted == requested_) return;
    requested_ = wanted;
    if (wanted) start_output();
    else stop_output();
}

void AlarmSound::set_muted(bool on)
{
    muted_ = on;
    QSettings().setValue(MUTE_KEY, on);
    update();
}

void AlarmSound::start_output()
{
    if (no_output_) return;
    if (!sink_) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        QAudioFormat format;
        format.setSampleRate(ALARM_TONE_RATE);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (device.isNull() || !device.isFormatSupported(format)) {
            no_output_ = true;
            return;
        }
        sink_ = std::make_unique<QAudioSink>(device, format);
    }
    tone_ = std::make_unique<ToneDevice>();
    sink_->start(tone_.get());
}

void AlarmSound::stop_output()
{
    if (sink_) sink_->stop();
    tone_.reset();
}

} // namespace host
