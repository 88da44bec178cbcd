// The alarm tone on the PC's default sound output. The window tells it after
// every pass whether the tone is wanted (alarm_tone.h); the output is opened
// on the first request, and a PC without a sound output stays silent without
// a message. Muting is the View menu's "Mute Alarm", remembered between runs.
#pragma once
#include <QObject>
#include <memory>

class QAudioSink;
class QIODevice;

namespace host {

class AlarmSound : public QObject {
    Q_OBJECT
public:
    explicit AlarmSound(QObject* parent = nullptr);
    ~AlarmSound() override;

    // After a pass: sounds or silences the tone as the firmware's state asks.
    void update();
    // Whether the tone is asked for now (whether or not a sound output exists).
    bool requested() const { return requested_; }

    bool muted() const { return muted_; }
    void set_muted(bool on); // also remembered in the application's settings

private:
    void start_output();
    void stop_output();

    bool requested_ = false;
    bool muted_ = false;
    bool no_output_ = false; // the PC has no sound output: stay silent
    std::unique_ptr<QIODevice> tone_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace host
