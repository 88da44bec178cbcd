#include "host/window/unit_runner.h"

#include <QCoreApplication>
#include <QTimer>

#include "app/power.h"
#include "app/tick.h"
#include "host/window/alarm_sound.h"

namespace host {

namespace {

constexpr int FRAME_INTERVAL_MS = 16; // about 60 frames per second
// Splash and notice passes per frame: about 250 per second, so each phase
// lasts about 10 s. Main-loop passes stay at one per frame, since the
// thermocouple history and the filters count passes.
constexpr int PHASE_PASSES_PER_FRAME = 4;

} // namespace

UnitRunner::UnitRunner(const std::filesystem::path& working_dir, QWidget* window)
    : platform_(working_dir, window)
{
    alarm_sound_ = new AlarmSound(this);

    timer1_ = new QTimer(this);
    timer1_->setSingleShot(true);
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, [this] { deliver_ticks(); });
    tick_clock_.start();
    tick_pacer_.start(tick_clock_.elapsed());
    timer1_->start(int(TICK_MS));

    frame_timer_ = new QTimer(this);
    frame_timer_->setTimerType(Qt::PreciseTimer);
    frame_timer_->setInterval(FRAME_INTERVAL_MS);
    connect(frame_timer_, &QTimer::timeout, this, [this] { frame(); });
}

UnitRunner::~UnitRunner() { stop(); }

void UnitRunner::stop()
{
    frame_timer_->stop();
    timer1_->stop();
}

void UnitRunner::start_frames()
{
    if (!virtual_time_) frame_timer_->start();
}

void UnitRunner::Timer1Timer()
{
    ems::Timer1Timer();
    emit ticked();
}

void UnitRunner::deliver_ticks()
{
    // However late the timer fired, every tick that fell due meanwhile runs.
    for (int n = tick_pacer_.take_due(tick_clock_.elapsed()); n > 0; --n) Timer1Timer();
    if (!virtual_time_) timer1_->start(int(tick_pacer_.wait_ms(tick_clock_.elapsed())));
}

void UnitRunner::frame()
{
    // Only the last pass of a frame is shown; the ones before it only count.
    platform_.hold_presents();
    ems::firmware_pass();
    ++passes_;
    for (int i = 1; i < PHASE_PASSES_PER_FRAME && ems::in_power_on_phase(); ++i) {
        ems::firmware_pass();
        ++passes_;
    }
    platform_.release_presents();
    emit passed();
    alarm_sound_->update();
    if (!ems::firmware_running()) {
        frame_timer_->stop();
        emit settled();
    }
}

void UnitRunner::set_virtual_time(bool on)
{
    virtual_time_ = on;
    if (on) {
        stop();
    } else {
        // Real time takes over from now; the scripted stretch is not made up.
        tick_pacer_.start(tick_clock_.elapsed());
        timer1_->start(int(TICK_MS));
        if (ems::firmware_running()) frame_timer_->start();
    }
}

void UnitRunner::advance_ticks(int n)
{
    for (int i = 0; i < n; ++i) {
        platform_.clock_tick();
        ems::Timer1Timer();
        emit ticked();
    }
    // Sockets, replays and the serial port report through events, whether
    // or not the firmware runs.
    QCoreApplication::processEvents();
}

void UnitRunner::run_passes(int n)
{
    // While the firmware is off the passes do nothing, but the events they
    // would have let through are still processed, one round each.
    for (int i = 0; i < n; ++i) {
        if (ems::firmware_running()) {
            ems::firmware_pass();
            ++passes_;
            emit passed();
        }
        alarm_sound_->update();
        QCoreApplication::processEvents();
    }
    emit settled();
}

} // namespace host
