// Gauge widgets: the bar's bands and pointer, highlight rules of the RPM and
// thermocouple readouts, the thermocouple bar geometry, hostile settings, and
// reviewed screenshots of the widgets as the engine page places them.
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
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

using namespace ems;
using test::any_in;
using test::px;

namespace {

class Gauges : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables();
        ecu.vexa_data_valid = 1;
        tick.blink_flag = 1;
    }
    void TearDown() override { test::reset_firmware(); }

    // A bar at row 100, 10 rows thick.
    static Bar bar(int16_t x, int16_t w, int64_t min, int64_t max, Limits l, int64_t v)
    {
        return {.x = x,
                .y = 100,
                .width = w,
                .thickness = 10,
                .scale = {.min = min, .max = max, .limits = l},
                .value = v};
    }
    // Low alarm 10, low caution 20, high caution 80, high alarm 90.
    static constexpr Limits L10_90{
        .low_alarm = 10, .low_caution = 20, .high_caution = 80, .high_alarm = 90};
};

// ---- Bar -----------------------------------------------------------------------------

TEST_F(Gauges, BarPointerIsHeldAtBothEnds)
{
    Bar b = bar(100, 100, 0, 100, L10_90, -50);
    bar_gauge(b);
    EXPECT_EQ(px(100, 97), COLOUR_WHITE); // p = x + 2: columns x .. x + 4
    EXPECT_EQ(px(104, 97), COLOUR_WHITE);
    EXPECT_EQ(px(105, 97), COLOUR_BLACK);
    clear_screen();
    b.value = 1000;
    bar_gauge(b);
    EXPECT_EQ(px(204, 97), COLOUR_WHITE); // p = x + w + 2
    EXPECT_EQ(px(200, 113), COLOUR_WHITE);
    EXPECT_EQ(px(199, 97), COLOUR_BLACK);
}

TEST_F(Gauges, BarBandsFollowTheLimits)
{
    // scale 1: offsets 10, 20, 80, 90.
    bar_gauge(bar(100, 100, 0, 100, L10_90, 50));
    EXPECT_EQ(px(105, 105), COLOUR_RED);
    EXPECT_EQ(px(115, 105), COLOUR_YELLOW);
    EXPECT_EQ(px(150 - 10, 105), COLOUR_GREEN);
    EXPECT_EQ(px(185, 105), COLOUR_YELLOW);
    EXPECT_EQ(px(195, 105), COLOUR_RED);
    EXPECT_EQ(px(200, 110), COLOUR_RED);  // the last row and column belong to the bar
    EXPECT_EQ(px(201, 105), COLOUR_BLACK);    // nothing beyond x + w
}

TEST_F(Gauges, HighAlarmAboveTheScaleLeavesNoRedEnd)
{
    Limits l = L10_90;
    l.high_alarm = 300;
    bar_gauge(bar(100, 100, 0, 100, l, 50));
    EXPECT_EQ(px(200, 105), COLOUR_YELLOW);
    EXPECT_EQ(px(201, 105), COLOUR_BLACK);
}

TEST_F(Gauges, LowLimitsBelowTheMinimumAreRaisedToIt)
{
    Limits l = L10_90;
    l.low_alarm = -500;
    l.low_caution = -100;
    bar_gauge(bar(100, 100, 0, 100, l, 50));
    EXPECT_EQ(px(101, 105), COLOUR_GREEN); // red and yellow collapse onto the first column
}

TEST_F(Gauges, LowBarHasThreeBands)
{
    bar_gauge_low(bar(100, 100, 0, 50, {.low_alarm = 10, .low_caution = 20}, 30));
    EXPECT_EQ(px(110, 105), COLOUR_RED);   // offset(10) = 20
    EXPECT_EQ(px(130, 105), COLOUR_YELLOW);
    EXPECT_EQ(px(190, 105), COLOUR_GREEN); // green to the end, no high bands
    EXPECT_EQ(px(200, 105), COLOUR_GREEN);
}

TEST_F(Gauges, DegenerateBarsDrawOnlyThePointer)
{
    for (int32_t max : {50, 10, -100}) { // max = min, max below min
        clear_screen();
        const Bar b = bar(100, 100, 50, max, L10_90, 70);
        bar_gauge(b);
        bar_gauge_low(b);
        EXPECT_FALSE(any_in(100, 100, 200, 110, COLOUR_GREEN)) << max;
        EXPECT_EQ(px(102, 97), COLOUR_WHITE) << max;
    }
    clear_screen();
    bar_gauge(bar(100, 0, 0, 100, L10_90, 70)); // zero width
    EXPECT_FALSE(any_in(90, 90, 210, 115, COLOUR_GREEN));
}

// ---- Readout highlights ------------------------------------------------------------------

TEST_F(Gauges, VoltsValueFlashesRedOnlyWhileBlinkIsOn)
{
    sens.volts_x10 = 160; // above the 15.0 V alarm
    volts_readout({.x = 165, .y = 93, .width = 130, .thickness = 10});
    EXPECT_TRUE(any_in(165, 70, 300, 92, COLOUR_RED));
    clear_screen();
    tick.blink_flag = 0;
    volts_readout({.x = 165, .y = 93, .width = 130, .thickness = 10});
    EXPECT_FALSE(any_in(165, 70, 300, 90, COLOUR_RED));
    clear_screen();
    sens.volts_x10 = 145; // between caution and alarm: steady yellow
    volts_readout({.x = 165, .y = 93, .width = 130, .thickness = 10});
    EXPECT_TRUE(any_in(165, 70, 300, 90, COLOUR_YELLOW));
}

TEST_F(Gauges, RpmAtTheHighAlarmIsNotRedAboveItIs)
{
    settings.rpm1_high_alarm = 5800;
    sens.rpm = 5800; // above the 5500 caution, at the alarm: yellow
    rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
    EXPECT_TRUE(any_in(40, 87, 130, 114, COLOUR_YELLOW));
    EXPECT_FALSE(any_in(40, 87, 130, 114, COLOUR_RED));
    clear_screen();
    sens.rpm = 5801;
    rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
    EXPECT_TRUE(any_in(40, 87, 130, 114, COLOUR_RED));
    clear_screen();
    tick.blink_flag = 0;
    rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
    EXPECT_FALSE(any_in(40, 87, 130, 114, COLOUR_RED));
    EXPECT_FALSE(any_in(40, 87, 130, 114, COLOUR_YELLOW));
}

TEST_F(Gauges, AvoidZoneShowsOrangeButCautionWins)
{
    settings.rpm1_avoid_zone = 1;
    settings.rpm1_avoid_low = 3000;
    settings.rpm1_avoid_high = 3500;
    sens.rpm = 3200;
    rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
    EXPECT_TRUE(any_in(40, 87, 130, 114, COLOUR_ORANGE));
    clear_screen();
    sens.rpm = 3000; // the ends are outside the zone
    rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
    EXPECT_FALSE(any_in(40, 87, 130, 114, COLOUR_ORANGE));
    clear_screen();
    settings.rpm1_avoid_high = 5700;
    sens.rpm = 5600; // inside the zone and above the caution
    rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
    EXPECT_TRUE(any_in(40, 87, 130, 114, COLOUR_YELLOW));
    EXPECT_FALSE(any_in(40, 87, 130, 114, COLOUR_ORANGE));
}

TEST_F(Gauges, PercentDisplayIsHighlightedByRpm)
{
    settings.rpm1_display = 1;
    sens.rpm = 5900;      // alarm
    sens.rpm_percent = 50; // would be harmless as a number
    rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
    EXPECT_TRUE(any_in(40, 87, 130, 114, COLOUR_RED));
}

// ---- Thermocouples ------------------------------------------------------------------------

TEST_F(Gauges, TwelveEgtBarsGeometry)
{
    settings.egt_channels = 12;
    settings.cht_channels = 0;
    settings.egt_scanning = 0;
    ASSERT_EQ(egt_group_width(), 244);
    for (int i = 0; i < 12; ++i) thermo.tc_value[i] = 600;
    egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
    for (int i = 0; i < 12; ++i) {
        int x = 5 + 22 * i;
        EXPECT_EQ(px(x, 225), COLOUR_GREEN) << i;
        EXPECT_EQ(px(x + 17, 225), COLOUR_GREEN) << i;
        EXPECT_EQ(px(x - 1, 225), COLOUR_BLACK) << i;
        EXPECT_EQ(px(x + 18, 225), COLOUR_BLACK) << i;
    }
}

TEST_F(Gauges, EgtAtTheAlarmHasRedBarButYellowValue)
{
    settings.egt_channels = 1;
    settings.cht_channels = 0;
    settings.egt_scanning = 0;
    thermo.tc_value[0] = settings.egt_high_alarm; // 800
    egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
    EXPECT_EQ(px(100, 228), COLOUR_RED);                // the bar
    EXPECT_TRUE(any_in(40, 250, 120, 271, COLOUR_YELLOW)); // the big value
    EXPECT_FALSE(any_in(40, 250, 120, 271, COLOUR_RED));
    clear_screen();
    thermo.tc_value[0] = 801;
    egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
    EXPECT_TRUE(any_in(40, 250, 120, 271, COLOUR_RED));
}

TEST_F(Gauges, HottestTieHighlightsBothNumbersAndGraphTheFirst)
{
    settings.egt_channels = 2;
    settings.cht_channels = 0;
    settings.egt_scanning = 0;
    thermo.tc_value[0] = 700;
    thermo.tc_value[1] = 700;
    egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
    const int16_t w = egt_group_width(); // 245: bars 118 wide
    EXPECT_TRUE(any_in(0, 233, w / 2, 248, COLOUR_MAGENTA));
    EXPECT_TRUE(any_in(w / 2, 233, w, 248, COLOUR_MAGENTA));
    clear_screen();
    run.egt_cht_view = VIEW_EGT_GRAPH;
    egt_group({.x = 0, .width = w, .bar_height = 77});
    EXPECT_TRUE(any_in(20, 233, 40, 248, COLOUR_YELLOW));  // channel 1's box in its colour
    EXPECT_FALSE(any_in(38, 247, 55, 248, COLOUR_GREEN)); // channel 2 only as a number, no box
}

TEST_F(Gauges, ScanIndexOutsideTheGroupShowsItsFirstChannel)
{
    settings.egt_channels = 2;
    settings.egt_scanning = 1;
    tick.egt_scan_index = 200;
    tick.cht_scan_index = 0; // an EGT channel, not a CHT one
    thermo.tc_value[0] = 810;
    egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
    cht_group();
    EXPECT_TRUE(any_in(40, 250, 120, 271, COLOUR_RED));
}

// ---- Hostile settings ------------------------------------------------------------------------

// Every widget with random settings bytes: nothing may write outside the
// frame buffer, divide by zero or convert an out-of-range float (the
// sanitizer build checks this).
TEST_F(Gauges, RandomSettingsNeverBreakTheWidgets)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        auto* bytes = reinterpret_cast<uint8_t*>(&settings);
        for (size_t i = 0; i < sizeof settings; ++i) bytes[i] = uint8_t(rng());
        if (round % 3 == 0) { // equal limits everywhere
            settings.egt_display_max = settings.egt_display_min;
            settings.cht_display_max = settings.cht_display_min;
            settings.rpm1_display_max = settings.rpm1_display_min;
        }
        sens.rpm = int32_t(rng());
        raw.rpm2 = int32_t(rng());
        sens.map_disp = int16_t(rng());
        for (int i = 0; i < 12; ++i) {
            thermo.tc_value[i] = int16_t(rng());
            thermo.tc_delta[i] = int16_t(rng());
            thermo.tc_history[i][round % 250] = int16_t(rng());
            minmax.tc_max[i] = int16_t(rng());
        }
        tick.egt_scan_index = uint8_t(rng());
        tick.cht_scan_index = uint8_t(rng());
        thermo.lean_mode = round & 1;
        thermo.cruise_mode = (round >> 1) & 1;
        run.egt_cht_view = uint8_t(round % 3);
        for (uint8_t v : {uint8_t(0), uint8_t(1)}) {
            ecu.vexa_data_valid = v;
            volts_readout({.x = 15, .y = 65, .width = 130, .thickness = 10});
            oat_readout({.x = 175, .y = 65, .width = 130, .thickness = 10});
            current_readout({.x = 330, .y = 65, .width = 130, .thickness = 10});
            for (uint8_t i = 0; i < 5; ++i)
                aux_readout(i, uint8_t(rng() % 6),
                            {.x = 258, .y = 117, .width = 97, .thickness = 8});
            map_dial({.dial = {.centre = {61, 100}, .radius = 60, .band = 7, .needle_from = 25},
                      .label = {37, 123},
                      .value = {76, 85},
                      .unit = {80, 123}});
            map_compact({.value = {240, 123}, .label = {185, 110}, .unit = {222, 110}});
            rpm_dial({.centre = {180, 100}, .radius = 60, .band = 7, .needle_from = 25});
            twin_rpm_gauge(45, 33);
            mag_check_single();
            mag_check_twin();
            egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
            cht_group();
            tc_bars({.kind = TC_EGT,
                     .egt_width = int16_t(rng()),
                     .first = uint8_t(rng()),
                     .end = uint8_t(rng()),
                     .height = int16_t(rng())});
            tc_delta_bars({.kind = TC_CHT,
                           .egt_width = int16_t(rng()),
                           .first = uint8_t(rng()),
                           .end = uint8_t(rng())});
            tc_graph(uint8_t(rng() & 1), uint8_t(rng()));
        }
    }
    SUCCEED();
}

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
