#include "host/window/core/alarm_tone.h"

#include <cmath>
#include <numbers>

#include "alarms/alarm_words.h"
#include "app/power.h"
#include "pages/run_screen.h"
#include "ui/screen.h"

namespace host {

namespace {

constexpr double TONE_HZ = 2000.0;
constexpr uint64_t HALF_PERIOD = ALARM_TONE_RATE / 4; // samples on, then as many off
constexpr double AMPLITUDE = 0.4 * 32767;

} // namespace

bool alarm_tone_wanted(bool muted)
{
    if (muted || !ems::firmware_running() || ems::ScreenHandler != ems::run_screen) return false;
    const ems::AlarmState& a = ems::alarms;
    return (a.alarm_shown & a.alarm_flags & ~a.alarm_acked) != 0;
}

void alarm_tone_samples(int16_t* out, size_t count, uint64_t first)
{
    for (size_t i = 0; i < count; ++i) {
        const uint64_t n = first + i;
        const bool on = (n / HALF_PERIOD) % 2 == 0;
        const double phase = 2 * std::numbers::pi * TONE_HZ * double(n) / ALARM_TONE_RATE;
        out[i] = on ? int16_t(std::lround(AMPLITUDE * std::sin(phase))) : 0;
    }
}

} // namespace host
