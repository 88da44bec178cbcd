// Cost of presenting a frame: the palette conversion, alone and as the running
// program meets it, against a memcpy of the same RGB32 frame; and the compare
// that lets an unchanged frame skip it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "engine_setup.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "ui/screen.h"

namespace {

// Every index in turn, so every table entry and every position in a step is used.
void fill_test_frame()
{
    for (size_t i = 0; i < ems::FRAME_BYTES; ++i) ems::Framebuffer[i] = uint8_t(i * 7 ^ (i >> 9));
}

// What the program does between two presents, as far as the conversion can
// tell: Qt and the C library run wide vector code that may leave the upper
// register halves in use, and painting the window (about 2 MB of backing
// store) pushes the frame out of the nearer caches.
struct BetweenFrames {
    std::vector<uint8_t> window = std::vector<uint8_t>(2u << 20);
    uint8_t round = 0;
    const bool avx = has_avx();
    void run()
    {
        std::memset(window.data(), ++round, window.size());
        benchmark::ClobberMemory();
#if defined(__x86_64__)
        // Upper halves in use, as library code without a closing vzeroupper leaves them.
        if (avx) asm volatile("vpcmpeqd %%ymm15, %%ymm15, %%ymm15" ::: "xmm15");
#endif
    }
    static bool has_avx()
    {
#if defined(__x86_64__)
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx");
#else
        return false;
#endif
    }
};

template <typename F>
double timed_us(F&& f)
{
    const auto a = std::chrono::steady_clock::now();
    f();
    const auto b = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(b - a).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The busiest engine page as the program shows it: what a real frame holds
// (long runs of one colour, text, bars) rather than the worst case above.
std::vector<uint8_t> engine_frame()
{
    bench::Setup setup(true);
    ems::KeyEvent = 0;
    ems::run_screen();
    return {ems::Framebuffer, ems::Framebuffer + ems::FRAME_BYTES};
}

} // namespace

// The conversion in a clean, warm state, by the path the program takes.
static void BM_PaletteToRgb(benchmark::State& state)
{
    std::vector<uint32_t> out(ems::FRAME_BYTES);
    fill_test_frame();
    for (auto _ : state) {
        ems::palette_to_rgb(ems::Framebuffer, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel(ems::palette_path_name(ems::palette_path()));
}
BENCHMARK(BM_PaletteToRgb);

// The conversion as the program runs it, one benchmark per path: the
// program's between-frame work before every conversion and before every
// reference memcpy of the same frame. Counters: medians in microseconds and
// their ratio (the figure to watch). The label says "in use" on the path the
// program takes here (EMS_PRESENT_PATH forces one). "ratio" is for the worst
// case, a frame without two equal neighbours; "engine_ratio" for a real frame
// of the busiest engine page.
static void present_in_program(benchmark::State& state, ems::PalettePath path)
{
    if (!ems::palette_path_supported(path)) {
        state.SkipWithError("not on this processor");
        return;
    }
    std::vector<uint32_t> out(ems::FRAME_BYTES), rgb(ems::FRAME_BYTES, 0xFF102030u);
    BetweenFrames between;
    const std::vector<uint8_t> engine = engine_frame();
    fill_test_frame();
    std::vector<double> convert, copy, real;
    for (auto _ : state) {
        between.run();
        real.push_back(timed_us([&] { ems::palette_to_rgb_via(path, engine.data(), out.data(), ems::FRAME_BYTES); }));
        benchmark::DoNotOptimize(out.data());
        between.run();
        const double t = timed_us([&] { ems::palette_to_rgb_via(path, ems::Framebuffer, out.data(), ems::FRAME_BYTES); });
        benchmark::DoNotOptimize(out.data());
        state.SetIterationTime(t / 1e6);
        convert.push_back(t);
        between.run();
        copy.push_back(timed_us([&] { std::memcpy(out.data(), rgb.data(), rgb.size() * 4); }));
        benchmark::DoNotOptimize(out.data());
    }
    const double m_convert = median(convert), m_copy = median(copy);
    state.counters["convert_us"] = m_convert;
    state.counters["memcpy_us"] = m_copy;
    state.counters["ratio"] = m_copy > 0 ? m_convert / m_copy : 0;
    state.counters["engine_ratio"] = m_copy > 0 ? median(real) / m_copy : 0;
    if (path == ems::palette_path()) state.SetLabel("in use");
}

[[maybe_unused]] static const bool present_paths_registered = [] {
    for (ems::PalettePath p : {ems::PalettePath::Plain, ems::PalettePath::Avx2, ems::PalettePath::Vbmi})
        benchmark::RegisterBenchmark((std::string("BM_PresentInProgram/") + ems::palette_path_name(p)).c_str(),
                                     present_in_program, p)
            ->UseManualTime()
            ->Iterations(300);
    return true;
}();
// What an unchanged frame costs instead: one compare with the frame shown.
static void BM_UnchangedFrameCompare(benchmark::State& state)
{
    std::vector<uint8_t> shown(ems::Framebuffer, ems::Framebuffer + ems::FRAME_BYTES);
    for (auto _ : state) benchmark::DoNotOptimize(std::memcmp(shown.data(), ems::Framebuffer, ems::FRAME_BYTES));
}
BENCHMARK(BM_UnchangedFrameCompare);
