#include <benchmark/benchmark.h>

#include "gfx/draw.h"
#include "gfx/text.h"

// A full screen of text: 16 lines of font 8 across the whole width, each line
// left-, right- or centre-aligned in turn (the latter two measure first).
static void BM_FullScreenText(benchmark::State& state)
{
    const char* line = "EGT 1450\xB0" "C CHT 385\xB0" "C OIL 78 PSI FUEL 24.5 L/H 13.8V";
    for (auto _ : state) {
        ems::clear_screen();
        for (int i = 0; i < 16; ++i) {
            const uint8_t align = uint8_t(1 + i % 3);
            const int16_t x = align == ems::ALIGN_LEFT ? 0 : align == ems::ALIGN_RIGHT ? 479 : 240;
            ems::draw_text(x, int16_t(i * 17), line, 8, align, 15);
        }
        benchmark::DoNotOptimize(ems::text_end_x);
    }
}
BENCHMARK(BM_FullScreenText);

// The largest font: six lines of big digits.
static void BM_LargeDigits(benchmark::State& state)
{
    for (auto _ : state) {
        ems::clear_screen();
        for (int i = 0; i < 6; ++i) ems::draw_text(0, int16_t(i * 45), "2450 5480 13.8 97", 20, ems::ALIGN_LEFT, 252);
        benchmark::DoNotOptimize(ems::text_end_x);
    }
}
BENCHMARK(BM_LargeDigits);
