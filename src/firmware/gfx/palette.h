// The instrument's fixed 256-colour palette, entries 0x00RRGGBB.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace ems {

extern const std::array<uint32_t, 256> Palette;

// The palette entries the screens draw with, by name. Drawing code names its
// colours here and nowhere else; olive to dark grey only tint the
// thermocouple history traces.
enum Colour : uint8_t {
    COLOUR_BLACK = 0,
    COLOUR_OLIVE = 3,
    COLOUR_NAVY = 4,
    COLOUR_PURPLE = 5,
    COLOUR_TEAL = 6,
    COLOUR_DARK_GREY = 7,
    COLOUR_GREY = 8,
    COLOUR_WHITE = 15,
    COLOUR_ORANGE = 216,
    COLOUR_BLUE = 246,
    COLOUR_RED = 247,
    COLOUR_MAGENTA = 248,
    COLOUR_YELLOW = 249,
    COLOUR_SILVER = 250,
    COLOUR_CYAN = 251,
    COLOUR_GREEN = 252,
    COLOUR_DARK_GREEN = 254,
};

// The ways a frame can be converted: the plain table loop, 32 pixels a step
// with AVX2, 64 a step with AVX-512 byte permutes (VBMI).
enum class PalettePath : uint8_t { Plain, Avx2, Vbmi };

// Converts a whole frame (FRAME_BYTES indices) into 0xFFRRGGBB pixels for the
// presenter; index 0 and every other black entry give opaque black. Takes
// palette_path(): the widest path this processor has, chosen once, or the
// one the environment variable EMS_PRESENT_PATH names ("plain", "avx2",
// "vbmi") when the processor has it.
void palette_to_rgb(const uint8_t* frame, uint32_t* out);
PalettePath palette_path();

// One path for any number of pixels (the plain loop where the processor lacks
// the one asked for), its name, and whether the processor has it: for tests
// and benchmarks.
void palette_to_rgb_via(PalettePath path, const uint8_t* frame, uint32_t* out, size_t pixels);
const char* palette_path_name(PalettePath path);
bool palette_path_supported(PalettePath path);

} // namespace ems
