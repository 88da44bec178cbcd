// Cost of the per-pass work: the sensor processing of a full main-loop pass,
// and one run-screen pass for the default engine page and the busiest layout.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/power.h"
#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "host/card/core/card_folder.h"
#include "ops/data_recording.h"
#include "ops/flight_log.h"
#include "engine_setup.h"
#include "ops/quick_menus.h"
#include "pages/run_screen.h"
#include "settings/settings.h"
#include "system/platform.h"
#include "system/tick.h"
#include "ui/screen.h"

using bench::Setup;

static void BM_SensorPass(benchmark::State& state)
{
    Setup setup(state.range(0) != 0);
    for (auto _ : state) ems::process_sensors();
}
BENCHMARK(BM_SensorPass)->Arg(0)->Arg(1)->ArgName("busiest");

static void BM_RunScreenPass(benchmark::State& state)
{
    Setup setup(state.range(0) != 0);
    for (auto _ : state) {
        ems::KeyEvent = 0;
        ems::run_screen();
        benchmark::DoNotOptimize(ems::Framebuffer);
    }
}
BENCHMARK(BM_RunScreenPass)->Arg(0)->Arg(1)->ArgName("busiest");

// A whole main-loop pass on the run screen: sensors, the page, the clock, the
// NMEA slots, and the present call (which this platform ignores; the
// present benchmarks measure the panel's side).
static void BM_FirmwarePass(benchmark::State& state)
{
    Setup setup(state.range(0) != 0);
    ems::ScreenHandler = ems::run_screen;
    for (auto _ : state) {
        ems::KeyEvent = 0;
        ems::main_loop_pass();
        benchmark::DoNotOptimize(ems::Framebuffer);
    }
    ems::ScreenHandler = nullptr;
}
BENCHMARK(BM_FirmwarePass)->Arg(0)->Arg(1)->ArgName("busiest");

// The same pass during a flight at the window's rate, 60 passes to 10 ticks
// a second (a record every 60th pass, the buffer handed to the card's writer
// thread every 300th), recording off and on: recording must cost a pass
// nothing measurable.
static void BM_FirmwarePassInFlight(benchmark::State& state)
{
    Setup setup(true);
    const std::filesystem::path dir = host::make_temp_card_dir("ems-bench-rec");
    {
        host::CardFolder card(dir);
        ems::set_platform({.card = &card, .inputs = &setup.boxes});
        ems::ScreenHandler = ems::run_screen;
        ems::settings.data_recording = uint8_t(state.range(0));
        ems::flight.flight_in_progress = 1;
        unsigned pass = 0;
        for (auto _ : state) {
            if (++pass % 6 == 0) ++ems::tick.ticks;
            ems::KeyEvent = 0;
            ems::main_loop_pass();
            benchmark::DoNotOptimize(ems::Framebuffer);
        }
        ems::data_recording_close();
        ems::flight.flight_in_progress = 0;
        ems::ScreenHandler = nullptr;
        ems::set_platform({.inputs = &setup.boxes});
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_FirmwarePassInFlight)->Arg(0)->Arg(1)->ArgName("recording");

// One second of a receiver with a three-dimensional fix: the four sentences
// the instrument reads, framed as they arrive on the line.
static std::string receiver_second()
{
    std::string out;
    for (const char* body : {"GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
                             "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
                             "GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1",
                             "GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45"}) {
        uint8_t sum = 0;
        for (const char* c = body; *c != '\0'; ++c) sum ^= uint8_t(*c);
        char tail[8];
        std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
        out += '$';
        out += body;
        out += tail;
    }
    return out;
}

// The busiest pass the instrument runs: every channel on the engine page, the
// quick menu open over it, recording during a flight, and a GPS fix whose
// sentences arrive once a second; at the window's rate of 60 passes to 10
// ticks a second.
static void BM_BusiestPass(benchmark::State& state)
{
    Setup setup(true);
    ems::settings.gps_source = 1;
    const std::string second = receiver_second();
    const std::filesystem::path dir = host::make_temp_card_dir("ems-bench-busiest");
    {
        host::CardFolder card(dir);
        ems::set_platform({.card = &card, .inputs = &setup.boxes});
        ems::ScreenHandler = ems::run_screen;
        ems::settings.data_recording = 1;
        ems::flight.flight_in_progress = 1;
        // The rotary push opens the quick menu, once an alarm box that takes
        // the first push has been acknowledged.
        ems::quick = ems::QuickMenuState{};
        for (int push = 0; push < 16 && ems::quick.quick_menu_handler == nullptr; ++push) {
            ems::KeyEvent = 6;
            ems::main_loop_pass();
        }
        // The fix from the first pass on.
        ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(second.data()), second.size());
        ems::main_loop_pass();
        unsigned pass = 0;
        for (auto _ : state) {
            if (++pass % 6 == 0) ++ems::tick.ticks;
            if (pass % 60 == 0)
                ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(second.data()), second.size());
            ems::tick.quick_menu_countdown = 10;
            ems::KeyEvent = 0;
            ems::main_loop_pass();
            benchmark::DoNotOptimize(ems::Framebuffer);
        }
        state.counters["fix"] = ems::gps.gps_fix_valid;
        state.counters["menu"] = ems::quick.quick_menu_handler != nullptr && ems::tick.quick_menu_countdown != 0;
        ems::data_recording_close();
        ems::flight.flight_in_progress = 0;
        ems::tick.quick_menu_countdown = 0;
        ems::ScreenHandler = nullptr;
        ems::set_platform({.inputs = &setup.boxes});
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_BusiestPass);

// One record line of the busiest layout.
static void BM_RecordingRecord(benchmark::State& state)
{
    Setup setup(true);
    char line[ems::RECORDING_LINE_MAX];
    uint32_t t = 0;
    for (auto _ : state) {
        ems::recording_record(line, sizeof line, 1796644680u + t, t);
        ++t;
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_RecordingRecord);

// A splash pass: the window runs four of them per frame and shows the last.
static void BM_SplashPass(benchmark::State& state)
{
    Setup setup(false);
    ems::power_on();
    for (auto _ : state) {
        ems::sys.phase_passes = 0;
        ems::firmware_pass();
        benchmark::DoNotOptimize(ems::Framebuffer);
    }
    ems::sys.phase = ems::PowerPhase::Off;
}
BENCHMARK(BM_SplashPass);
