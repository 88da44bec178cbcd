#include <benchmark/benchmark.h>

#include <vector>

#include "gfx/framebuffer.h"
#include "gfx/palette.h"

// Cost of converting one whole frame through the palette (the core of a present).
static void BM_PaletteToRgb(benchmark::State& state)
{
    std::vector<uint32_t> out(ems::FRAME_BYTES);
    for (size_t i = 0; i < ems::FRAME_BYTES; ++i) ems::Framebuffer[i] = uint8_t(i * 7);
    for (auto _ : state) {
        ems::palette_to_rgb(ems::Framebuffer, out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_PaletteToRgb);
