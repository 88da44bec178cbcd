// The sound output of the alarm tone, kept in a library of its own
// (libsorvik-ems-sound.so) that the window loads on the first alarm: the
// sound system and its codecs then cost no memory in a run that never sounds
// an alarm. This header is all the window and the library share.
#pragma once
#include <cstddef>
#include <cstdint>

namespace host {

// Fills count samples of the endless tone from sample number first on.
using ToneSamples = void (*)(int16_t* out, size_t count, uint64_t first);

// A sound output that plays the tone while started.
class ToneOutput {
public:
    virtual ~ToneOutput() = default;
    virtual void start() = 0; // from the tone's first sample
    virtual void stop() = 0;
};

} // namespace host

// The library's one entry point: an output for mono 16-bit samples at rate,
// or null when the PC has no sound output that takes them. The caller owns
// the output and deletes it before unloading the library.
extern "C" host::ToneOutput* ems_open_tone_output(int rate, host::ToneSamples samples);
constexpr const char* EMS_OPEN_TONE_OUTPUT = "ems_open_tone_output";
