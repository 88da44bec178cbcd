#include <benchmark/benchmark.h>

#include "gfx/draw.h"
#include "pages/fuel_page.h"
#include "pages/gauges.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "system/raw_inputs.h"

namespace {

// Settings and readings of a busy engine page: twin RPM gauge with compact
// MAP, six readouts, four EGT and two CHT bars, two flows and two tanks.
void busy_engine()
{
    ems::build_trig_tables();
    ems::settings_load_defaults();
    ems::settings.rpm2_display = 0;
    ems::settings.map_display = 1;
    ems::settings.egt_channels = 4;
    ems::settings.cht_channels = 2;
    ems::settings.flow2_on = 1;
    ems::settings.tank2_mode = ems::TANK_SENDER;
    ems::fuel_config_derive();
    ems::ecu.vexa_data_valid = 1;
    ems::sens.rpm = 5200;
    ems::sens.rpm_percent = 87;
    ems::raw.rpm2 = 1150;
    ems::sens.volts_x10 = 138;
    for (int i = 0; i < 6; ++i) ems::thermo.tc_value[i] = int16_t(i < 4 ? 700 + 25 * i : 100 + 8 * i);
}

void engine_widgets()
{
    ems::clear_screen();
    ems::egt_group({.x = 0, .width = ems::egt_group_width(), .bar_height = 77});
    ems::cht_group();
    ems::twin_rpm_gauge(45, 33);
    ems::map_compact({.value = {240, 123}, .label = {185, 110}, .unit = {222, 110}});
    ems::volts_readout({.x = 258, .y = 54, .width = 97, .thickness = 8});
    ems::current_readout({.x = 258, .y = 93, .width = 97, .thickness = 8});
    ems::oat_readout({.x = 258, .y = 131, .width = 97, .thickness = 8});
    ems::aux_readout(0, ems::CHANNEL_TEMPERATURE, {.x = 378, .y = 54, .width = 97, .thickness = 8});
    ems::aux_readout(1, ems::CHANNEL_PRESSURE, {.x = 378, .y = 93, .width = 97, .thickness = 8});
    ems::aux_readout(2, ems::CHANNEL_PRESSURE, {.x = 378, .y = 131, .width = 97, .thickness = 8});
    ems::fuel_area();
}

} // namespace

// One pass worth of engine-page widgets (bars, CLASSIC twin gauge, fuel area).
static void BM_EngineWidgetsClassic(benchmark::State& state)
{
    busy_engine();
    ems::settings.rpm2_style = 0;
    for (auto _ : state) engine_widgets();
}
BENCHMARK(BM_EngineWidgetsClassic);

// The same with the ARCS twin gauge and both history graphs.
static void BM_EngineWidgetsArcsGraph(benchmark::State& state)
{
    busy_engine();
    ems::settings.rpm2_style = 1;
    for (auto _ : state) {
        ems::run.egt_cht_view = ems::VIEW_EGT_GRAPH;
        engine_widgets();
        ems::run.egt_cht_view = ems::VIEW_CHT_GRAPH;
        ems::cht_group();
    }
    ems::run.egt_cht_view = ems::VIEW_BARS;
}
BENCHMARK(BM_EngineWidgetsArcsGraph);
