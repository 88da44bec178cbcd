// Cost of the per-pass work: the sensor processing of a full main-loop pass,
// and one run-screen pass for the default engine page and the busiest layout.
#include <benchmark/benchmark.h>
#include <filesystem>

#include "app/power.h"
#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "host/card/core/card_folder.h"
#include "ops/data_recording.h"
#include "ops/flight_log.h"
#include "pages/run_screen.h"
#include "sensors/ecu_data.h"
#include "settings/settings.h"
#include "system/platform.h"
#include "system/raw_inputs.h"
#include "system/tick.h"
#include "ui/screen.h"

namespace {

// Every slider somewhere in its range, as a running engine would show.
void running_engine_inputs()
{
    using ems::raw;
    raw.raw_volts = 1600;
    raw.raw_current = 2300;
    raw.raw_oat = 1800;
    raw.raw_map = 1200;
    raw.rpm_period = 600;
    raw.raw_cjc = 2300;
    for (int i = 0; i < 12; ++i) raw.tc_input[i] = int16_t(i < 6 ? 680 + 10 * i : 160 + 5 * i);
    for (int i = 0; i < 4; ++i) raw.raw_aux[i] = uint16_t(900 + 300 * i);
    raw.raw_fuel_level[0] = 1500;
    raw.raw_fuel_level[1] = 1700;
    raw.raw_fuel_pressure = 1400;
    raw.flow_pulses[0] = 3000;
    raw.flow_pulses[1] = 2800;
    raw.rpm2 = 1100;
    ems::tick.alarm_holdoff = 0;
}

// The busiest engine page: both RPM instruments with MAP, twelve
// thermocouples, current and OAT readouts, two flows, two tanks, fuel pressure.
void busiest_settings()
{
    using ems::settings;
    settings.rpm2_display = 0;
    settings.map_display = 1;
    settings.egt_channels = 6;
    settings.cht_channels = 6;
    settings.current_display = 1;
    settings.oat_display = 1;
    settings.flow2_on = 1;
    settings.tank2_mode = ems::TANK_SENDER;
    settings.fuel_pressure_display = 1;
    ems::fuel_config_derive();
}

// The host's boxes as a running engine has them: VEXA on, the card mounted.
struct RunningBoxes final : ems::HostInputs {
    bool check_box(ems::CheckBox b) override
    {
        return b == ems::CheckBox::VexaOnOff || b == ems::CheckBox::SdCardMounted;
    }
};

struct Setup {
    explicit Setup(bool busiest)
    {
        ems::set_platform({.inputs = &boxes});
        ems::build_trig_tables();
        ems::calibration_load_defaults();
        ems::settings_load_defaults();
        if (busiest) busiest_settings();
        running_engine_inputs();
        for (int i = 0; i < 100; ++i) ems::process_sensors(); // filters settle
        ems::run.run_page = 0;
    }
    ~Setup() { ems::set_platform({}); }
    RunningBoxes boxes;
};

} // namespace

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
