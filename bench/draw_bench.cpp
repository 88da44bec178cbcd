// Cost of the drawing primitives and of decoding a full-screen card picture.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/mif.h"
#include "host/card/core/card_folder.h"
#include "system/platform.h"

using namespace ems;

static void BM_FillScreen(benchmark::State& state)
{
    for (auto _ : state) {
        fill_rect(0, 0, 479, 271, 15);
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_FillScreen);

// A fan of 360 lines of radius 130 from the centre, partly off the screen.
static void BM_LineFan(benchmark::State& state)
{
    build_trig_tables();
    for (auto _ : state) {
        for (int a = 0; a < 360; ++a)
            draw_line(240, 136, int16_t(240 + cos_deg(int16_t(a)) * 150),
                      int16_t(136 + sin_deg(int16_t(a)) * 150), uint8_t(a));
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_LineFan);

static void BM_ThickLines(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) draw_thick_line(int16_t(i * 4), 0, int16_t(479 - i * 4), 271, 9);
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_ThickLines);

static void BM_Circles(benchmark::State& state)
{
    for (auto _ : state) {
        for (int r = 1; r <= 130; ++r) draw_circle(240, 136, int16_t(r), uint8_t(r));
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_Circles);

static void BM_Arcs(benchmark::State& state)
{
    build_trig_tables();
    for (auto _ : state) {
        for (int r = 20; r < 120; r += 4) draw_arc(240, 200, int16_t(r), -210, 30, 15);
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_Arcs);

// Two round gauges as an engine page draws them: coloured bands, an outline
// arc and a pointer, each with its mirrored twin.
static void BM_GaugeBands(benchmark::State& state)
{
    build_trig_tables();
    for (auto _ : state) {
        for (int16_t xc : {int16_t(120), int16_t(360)}) {
            draw_radial_band(xc, 140, 10, 70, -210, -90, 252);
            draw_radial_band(xc, 140, 10, 70, -90, -60, 249);
            draw_radial_band(xc, 140, 10, 70, -60, -30, 247);
            draw_arc(xc, 140, 72, -210, -30, 15);
            draw_radial_band_mirrored(xc, 140, 60, 60, -100, -99, 15);
        }
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_GaugeBands);

static void BM_DashedLines(benchmark::State& state)
{
    for (auto _ : state) {
        for (int y = 0; y < 272; y += 4) draw_hline_dashed(0, 479, int16_t(y), 8);
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_DashedLines);

namespace {

// A 480 x 272 picture of short runs and literals, as a dithered photo would code.
std::vector<uint8_t> full_screen_mif()
{
    std::vector<uint8_t> out = {480 & 0xFF, 480 >> 8, 272 & 0xFF, 272 >> 8};
    for (int y = 0; y < 272; ++y) {
        int x = 0;
        while (x < 480) {
            if ((x / 16 + y / 8) % 2) {
                out.push_back(0x80 | 16);
                out.push_back(uint8_t(y));
                x += 16;
            } else {
                out.push_back(16);
                for (int i = 0; i < 16; ++i) out.push_back(uint8_t(x++ ^ y));
            }
        }
    }
    return out;
}

} // namespace

static void BM_LoadFullScreenMif(benchmark::State& state)
{
    const std::filesystem::path dir = host::make_temp_card_dir("mif-bench");
    const auto pic = full_screen_mif();
    if (std::FILE* f = std::fopen((std::filesystem::path(dir) / "SDCARD" / "SPLASH.MIF").c_str(), "wb")) {
        std::fwrite(pic.data(), 1, pic.size(), f);
        std::fclose(f);
    }
    {
        host::CardFolder card(dir);
        set_platform({.card = &card});
        for (auto _ : state) {
            if (!load_mif_file(0, 0, "SDCARD\\SPLASH.MIF")) state.SkipWithError("load failed");
            benchmark::DoNotOptimize(background_buffer);
        }
        set_platform({});
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pic.size()));
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_LoadFullScreenMif);

static void BM_DrawImage50x50(benchmark::State& state)
{
    std::vector<uint8_t> pic = {50, 0, 50, 0};
    for (int y = 0; y < 50; ++y) {
        pic.push_back(0x80 | 20), pic.push_back(0);
        pic.push_back(10);
        for (int i = 0; i < 10; ++i) pic.push_back(15);
        pic.push_back(0x80 | 20), pic.push_back(0);
    }
    for (auto _ : state) {
        draw_image(145, 115, pic.data());
        benchmark::DoNotOptimize(Framebuffer);
    }
}
BENCHMARK(BM_DrawImage50x50);
