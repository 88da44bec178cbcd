// Gauge widgets: the bar's bands and pointer, highlight rules of the RPM and
// thermocouple readouts, the thermocouple bar geometry and hostile settings
// (the screenshots are in gauges_golden_test.cpp).
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

} // namespace
