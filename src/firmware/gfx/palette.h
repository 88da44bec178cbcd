// The instrument's fixed 256-colour palette, entries 0x00RRGGBB.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace ems {

extern const std::array<uint32_t, 256> Palette;

// Palette indices the screens use by number.
constexpr uint8_t COLOUR_BLACK = 0;
constexpr uint8_t COLOUR_GREY = 8;
constexpr uint8_t COLOUR_WHITE = 15;
constexpr uint8_t COLOUR_ORANGE = 216;
constexpr uint8_t COLOUR_RED = 247;
constexpr uint8_t COLOUR_MAGENTA = 248;
constexpr uint8_t COLOUR_YELLOW = 249;
constexpr uint8_t COLOUR_SILVER = 250;
constexpr uint8_t COLOUR_CYAN = 251;
constexpr uint8_t COLOUR_GREEN = 252;

// Converts a whole frame (FRAME_BYTES indices) into 0xFFRRGGBB pixels for the
// presenter; index 0 and every other black entry give opaque black.
// Runs at the memory limit where the processor has byte permutes, and as a
// plain table loop elsewhere.
void palette_to_rgb(const uint8_t* frame, uint32_t* out);

// The plain table loop for any number of pixels, and whether palette_to_rgb
// takes the wide path on this processor instead (for tests and benchmarks).
void palette_to_rgb_scalar(const uint8_t* frame, uint32_t* out, size_t pixels);
bool palette_wide_conversion();

} // namespace ems
