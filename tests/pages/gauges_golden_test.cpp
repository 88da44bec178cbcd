// Reviewed screenshots of the gauge widgets as the engine page places them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "gauges_fixture.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

using namespace ems;
using test::any_in;
using test::px;

namespace {
using Gauges = test::GaugesFixture;

// ---- Screenshots -------------------------------------------------------------------------------

// The engine page's frame around the widgets: separators and area lines.
void frame_lines()
{
    draw_hline(0, 479, 31, COLOUR_SILVER);
    draw_hline(0, 479, 145, COLOUR_SILVER);
    draw_vline(146, 271, 280, COLOUR_SILVER);
}

void readout_values()
{
    sens.volts_x10 = 138;
    sens.oat_disp = 21;
    sens.current_x10 = 125;
    sens.current_a = 12;
    settings.channel_mode[1] = CHANNEL_PRESSURE;
    senders.aux_pressure[1] = 45;
    settings.channel_mode[0] = CHANNEL_TEMPERATURE;
    senders.aux_temp[0] = 92;
}

void tc_values()
{
    const int16_t egt[4] = {712, 745, 803, 690};
    const int16_t cht[2] = {98, 112};
    settings.egt_channels = 4;
    settings.cht_channels = 2;
    for (int i = 0; i < 4; ++i) {
        thermo.tc_value[i] = egt[i];
        minmax.tc_max[i] = int16_t(egt[i] + 25);
    }
    for (int i = 0; i < 2; ++i) {
        thermo.tc_value[4 + i] = cht[i];
        minmax.tc_max[4 + i] = int16_t(cht[i] + 6);
    }
    settings.egt_scanning = 0;
    settings.cht_scanning = 0;
}

void tc_area()
{
    egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
    cht_group();
    draw_text(260, 258, "\xB0" "C", 8, ALIGN_LEFT, COLOUR_SILVER);
}

TEST_F(Gauges, GoldenTwinClassicWithReadouts)
{
    settings.rpm2_display = 0;
    settings.rpm2_style = 0;
    settings.map_display = 1;
    sens.rpm = 5200;
    sens.rpm_percent = 87;
    raw.rpm2 = 1150; // caution
    raw.rpm2_percent = 115;
    sens.map_disp = 300;
    readout_values();
    frame_lines();
    draw_vline(32, 144, 251, COLOUR_SILVER);
    twin_rpm_gauge(45, 33);
    draw_vline(110, 144, 181, COLOUR_SILVER);
    draw_hline(181, 251, 110, COLOUR_SILVER);
    map_compact({.value = {240, 123}, .label = {185, 110}, .unit = {222, 110}});
    volts_readout({.x = 258, .y = 65, .width = 97, .thickness = 8});
    current_readout({.x = 258, .y = 117, .width = 97, .thickness = 8});
    oat_readout({.x = 378, .y = 65, .width = 97, .thickness = 8});
    aux_readout(1, CHANNEL_PRESSURE, {.x = 378, .y = 117, .width = 97, .thickness = 8});
    EXPECT_GOLDEN("gauge_twin_classic");
}

TEST_F(Gauges, GoldenTwinArcsSwappedAndCrossed)
{
    settings.rpm2_display = 0;
    settings.rpm2_style = 1;
    settings.rpm2_position = 1;
    settings.rpm1_avoid_zone = 1;
    sens.rpm = 3200;
    raw.rpm2 = 750;
    ecu.vexa_data_valid = 0;
    frame_lines();
    draw_vline(32, 144, 251, COLOUR_SILVER);
    twin_rpm_gauge(45, 33);
    readout_values();
    volts_readout({.x = 300, .y = 65, .width = 130, .thickness = 10});
    aux_readout(0, CHANNEL_TEMPERATURE, {.x = 300, .y = 117, .width = 130, .thickness = 10});
    EXPECT_GOLDEN("gauge_twin_arcs");
}

TEST_F(Gauges, GoldenDialsAndBars)
{
    settings.map_display = 1;
    settings.map_unit = 0;
    settings.map_display_max = 1100;
    settings.map_display_min = 300;
    settings.map_low_alarm = 350;
    settings.map_low_caution = 400;
    settings.map_high_caution = 950;
    settings.map_high_alarm = 1050;
    sens.map_disp = 1000;
    settings.rpm1_avoid_zone = 1;
    sens.rpm = 2450;
    readout_values();
    tc_values();
    frame_lines();
    map_dial({.dial = {.centre = {61, 100}, .radius = 60, .band = 7, .needle_from = 25},
              .label = {37, 123},
              .value = {76, 85},
              .unit = {80, 123}});
    rpm_dial({.centre = {180, 100}, .radius = 60, .band = 7, .needle_from = 25});
    rpm1_readout({.value = {200, 85}, .label = {200, 129}, .align = ALIGN_CENTRE});
    draw_vline(32, 144, 249, COLOUR_SILVER);
    volts_readout({.x = 258, .y = 65, .width = 97, .thickness = 8});
    oat_readout({.x = 258, .y = 117, .width = 97, .thickness = 8});
    current_readout({.x = 378, .y = 65, .width = 97, .thickness = 8});
    aux_readout(0, CHANNEL_TEMPERATURE, {.x = 378, .y = 117, .width = 97, .thickness = 8});
    tc_area();
    EXPECT_GOLDEN("gauge_dials_bars");
}

TEST_F(Gauges, GoldenMagnetoCheckTwin)
{
    settings.rpm2_display = 0;
    sens.rpm = 3880;
    raw.rpm2 = 940;
    gauges.mag_check_rpm1 = 4000;
    gauges.mag_check_rpm2 = 950;
    ecu.vexa_data_valid = 0; // both rows crossed
    frame_lines();
    draw_vline(32, 144, 251, COLOUR_SILVER);
    mag_check_twin();
    EXPECT_GOLDEN("gauge_mag_check_twin");
}

TEST_F(Gauges, GoldenMagnetoCheckBesideTheMapDial)
{
    settings.map_display = 1;
    sens.map_disp = 305;
    sens.rpm = 3910;
    gauges.mag_check_rpm1 = 4020;
    frame_lines();
    map_dial({.dial = {.centre = {61, 100}, .radius = 60, .band = 7, .needle_from = 25},
              .label = {37, 123},
              .value = {76, 85},
              .unit = {80, 123}});
    mag_check_single();
    draw_vline(32, 144, 249, COLOUR_SILVER);
    EXPECT_GOLDEN("gauge_mag_check_single");
}

TEST_F(Gauges, GoldenLeanMode)
{
    tc_values();
    thermo.lean_mode = 1;
    tick.blink_flag = 0;
    thermo.tc_peak_order[1] = 1;
    thermo.tc_delta[1] = -12;
    thermo.tc_peak_order[3] = 2;
    thermo.tc_delta[3] = -4;
    frame_lines();
    tc_area();
    EXPECT_GOLDEN("gauge_lean_mode");
}

TEST_F(Gauges, GoldenCruiseMode)
{
    tc_values();
    thermo.cruise_mode = 1;
    tick.blink_flag = 0;
    const int16_t delta[6] = {60, -95, 150, 0, 30, -45};
    for (int i = 0; i < 6; ++i) thermo.tc_delta[i] = delta[i];
    frame_lines();
    tc_area();
    EXPECT_GOLDEN("gauge_cruise_mode");
}

// Histories rising from cold with a per-channel spread.
void graph_history(int first, int count, int16_t base, int16_t span)
{
    for (int k = 0; k < count; ++k)
        for (int s = 0; s < TC_HISTORY; ++s)
            thermo.tc_history[first + k][s] =
                int16_t(base + span * s / TC_HISTORY + (k * 13) % 40 + (s / 25 % 2) * 5 * k);
}

TEST_F(Gauges, GoldenEgtGraph)
{
    tc_values();
    settings.egt_channels = 6;
    settings.cht_channels = 0;
    for (int i = 0; i < 6; ++i) thermo.tc_value[i] = int16_t(700 + 20 * i);
    graph_history(0, 6, 420, 360);
    run.egt_cht_view = VIEW_EGT_GRAPH;
    frame_lines();
    tc_area();
    EXPECT_GOLDEN("gauge_egt_graph");
}

TEST_F(Gauges, GoldenChtGraphScanning)
{
    tc_values();
    settings.cht_scanning = 1;
    tick.cht_scan_index = 5; // the second CHT
    graph_history(4, 2, 20, 110);
    run.egt_cht_view = VIEW_CHT_GRAPH;
    frame_lines();
    tc_area();
    EXPECT_GOLDEN("gauge_cht_graph");
}

} // namespace
