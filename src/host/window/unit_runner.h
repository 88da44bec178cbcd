// UnitRunner: drives the firmware from the Qt event loop as the unit's
// processor would run it: the 100 ms timer held to the wall clock
// (core/tick_pacer.h), and one main-loop pass per display frame, or four
// splash or notice passes of which only the last is shown. Scenarios stop
// the clock and advance ticks and passes when told. It owns the platform the
// firmware reads and shows through, and the alarm tone asked after every pass.
#pragma once
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <filesystem>

#include "host/window/core/tick_pacer.h"
#include "host/window/window_platform.h"

class QTimer;
class QWidget;

namespace host {

class AlarmSound;

class UnitRunner : public QObject {
    Q_OBJECT
public:
    // working_dir holds the SDCARD folder; message boxes open over window.
    UnitRunner(const std::filesystem::path& working_dir, QWidget* window);
    ~UnitRunner() override;

    WindowPlatform& platform() { return platform_; }
    AlarmSound* alarm_sound() const { return alarm_sound_; }

    // Starts the frames after a power-on; scripted time runs them itself.
    void start_frames();
    void stop();

    // Scenario mode: the 100 ms timer and the passes advance only when told.
    void set_virtual_time(bool on);
    bool virtual_time() const { return virtual_time_; }
    void advance_ticks(int n); // n timer ticks (100 ms each)
    void run_passes(int n);    // n firmware passes (none while it is off), each with a round of events
    // From now on the firmware reads this as the PC's UTC; it advances with the ticks.
    void set_clock(const QDateTime& t) { platform_.set_clock(t); }

    // Shows the frame buffer on Panel1, as the firmware's present does.
    void present() { platform_.present(); }
    int presented_frames() const { return platform_.presented_frames(); }
    long long passes() const { return passes_; } // firmware passes run, for the pass rate

signals:
    // Every tick of the 100 ms timer, real or scripted.
    void ticked();
    // After the firmware passes of a frame, or each scripted pass.
    void passed();
    // The firmware stopped during a frame, or a scripted run of passes ended.
    void settled();

private:
    void Timer1Timer();   // one 100 ms tick
    void deliver_ticks(); // the ticks due by the wall clock, then waits for the next
    void frame();

    WindowPlatform platform_;
    AlarmSound* alarm_sound_ = nullptr;
    QTimer* timer1_ = nullptr; // wakes the window when the next tick is due
    QElapsedTimer tick_clock_; // monotonic: decides how many ticks are due
    TickPacer tick_pacer_;
    QTimer* frame_timer_ = nullptr;
    long long passes_ = 0;
    bool virtual_time_ = false;
};

} // namespace host
