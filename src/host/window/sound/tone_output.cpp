// The alarm tone's sound output on Qt Multimedia (see tone_output.h).
#include "host/window/sound/tone_output.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <memory>

namespace {

// The endless tone as a sequential device the sound output pulls from.
class ToneDevice : public QIODevice {
public:
    explicit ToneDevice(host::ToneSamples samples) : samples_(samples) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 16; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        const size_t count = size_t(max) / sizeof(int16_t);
        samples_(reinterpret_cast<int16_t*>(data), count, next_);
        next_ += count;
        return qint64(count * sizeof(int16_t));
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    host::ToneSamples samples_;
    uint64_t next_ = 0;
};

class SinkOutput : public host::ToneOutput {
public:
    SinkOutput(const QAudioDevice& device, const QAudioFormat& format, host::ToneSamples samples)
        : sink_(device, format), samples_(samples)
    {
    }
    ~SinkOutput() override { stop(); }
    void start() override
    {
        tone_ = std::make_unique<ToneDevice>(samples_);
        sink_.start(tone_.get());
    }
    void stop() override
    {
        sink_.stop();
        tone_.reset();
    }

private:
    QAudioSink sink_;
    host::ToneSamples samples_;
    std::unique_ptr<ToneDevice> tone_;
};

} // namespace

extern "C" Q_DECL_EXPORT host::ToneOutput* ems_open_tone_output(int rate, host::ToneSamples samples)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) return nullptr;
    return new SinkOutput(device, format, samples);
}
