// The audible alarm of the simulator: whether the tone should sound, and the
// tone itself as 16-bit samples. The window asks after every pass and starts
// or stops its sound output on a change; nothing here touches a sound card.
#pragma once
#include <cstddef>
#include <cstdint>

namespace host {

// True while the firmware runs and the run screen's last frame showed an
// alarm box the pilot has not acknowledged, unless the tone is muted. An
// acknowledged alarm, a box that has gone and a power-off all silence it.
bool alarm_tone_wanted(bool muted);

constexpr int ALARM_TONE_RATE = 22050; // samples per second, mono

// Fills `count` samples of the endless tone, starting at sample number
// `first`: a 2 kHz beep, a quarter second on and a quarter second off.
void alarm_tone_samples(int16_t* out, size_t count, uint64_t first);

} // namespace host
