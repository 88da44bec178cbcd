// Fuel area layouts, tank and fuel-pressure highlights, the OAT column and
// lane lamps, the Rotax status and fault pages, and the information page.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "ops/documents.h"
#include "pages/ecu_pages.h"
#include "pages/fuel_page.h"
#include "pages/info_page.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "system/system_state.h"
#include "system/tick.h"

using namespace ems;
using test::count_in;
using test::px;

namespace {

class FuelPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables();
        ecu.vexa_data_valid = 1;
        tick.blink_flag = 1;
        fuel.fuel_flow[0] = 245;
        fuel.fuel_flow[1] = 87;
        fuel.tank_level[0] = 32;
        fuel.tank_level[1] = 18;
        senders.fuel_pressure = 52; // 5.2 psi in tenths
    }
    void TearDown() override { test::reset_firmware(); }

    // Fuel area of one configuration (x 281..479, y 146..271), kept for a composite.
    static constexpr int AW = 199, AH = 126;
    uint8_t areas[4][AH][AW] = {};

    void render_area(int slot, uint8_t config, uint8_t fp)
    {
        clear_screen();
        derived.fuel_config = config;
        settings.fuel_pressure_display = fp;
        fuel_area();
        for (int y = 0; y < AH; ++y) std::memcpy(areas[slot][y], &Framebuffer[(146 + y) * LCD_WIDTH + 281], AW);
    }

    // The four kept areas in the quadrants of one screen, split by grey lines.
    void compose()
    {
        clear_screen();
        for (int s = 0; s < 4; ++s) {
            int ox = (s % 2) * 240 + 20, oy = (s / 2) * 136 + 5;
            for (int y = 0; y < AH; ++y) std::memcpy(&Framebuffer[(oy + y) * LCD_WIDTH + ox], areas[s][y], AW);
        }
        draw_vline(0, 271, 239, COLOUR_GREY);
        draw_hline(0, 479, 135, COLOUR_GREY);
    }
};

// ---- Fuel area ----------------------------------------------------------------------------

TEST_F(FuelPages, TankAtItsLowAlarmIsCautionBelowIsAlarm)
{
    derived.fuel_config = 0;
    settings.fuel_pressure_display = 0;
    fuel.tank_level[0] = uint16_t(settings.tank1_low_alarm); // 10
    fuel_area();
    EXPECT_GT(count_in(415, 189, 479, 216, COLOUR_YELLOW), 0);
    EXPECT_EQ(count_in(415, 189, 479, 216, COLOUR_RED), 0);
    clear_screen();
    fuel.tank_level[0] = 9;
    fuel_area();
    EXPECT_GT(count_in(415, 189, 479, 216, COLOUR_RED), 0);
    clear_screen();
    tick.blink_flag = 0; // the alarm flashes
    fuel_area();
    EXPECT_EQ(count_in(415, 189, 479, 216, COLOUR_RED), 0);
}

TEST_F(FuelPages, OpenSenderFlashesFail)
{
    derived.fuel_config = 0;
    settings.fuel_pressure_display = 0;
    fuel.tank_open[0] = 1;
    fuel_area();
    int lit = count_in(415, 192, 479, 213, COLOUR_RED);
    EXPECT_GT(lit, 0);
    clear_screen();
    tick.blink_flag = 0;
    fuel_area();
    EXPECT_EQ(count_in(415, 185, 479, 216, COLOUR_RED), 0);
    EXPECT_EQ(count_in(415, 185, 479, 216, COLOUR_WHITE), 0); // neither FAIL nor a value
}

TEST_F(FuelPages, LevelOnlyLayoutShowsTankTwoWhenTankOneIsOff)
{
    derived.fuel_config = 2;
    settings.fuel_pressure_display = 0;
    settings.tank1_mode = TANK_OFF;
    settings.tank2_mode = TANK_SENDER;
    fuel.tank_level[0] = 40; // tank 1 would be green and plain
    fuel.tank_level[1] = 5;  // tank 2 below its alarm
    fuel_area();
    EXPECT_GT(count_in(414, 197, 479, 224, COLOUR_RED), 0);
    EXPECT_GT(count_in(290, 203, 300, 217, COLOUR_RED), 0); // bar of a nearly empty tank: red start
}

TEST_F(FuelPages, CalculatedTanksAreNotCrossedWhenTheLinkIsLost)
{
    derived.fuel_config = 10;
    settings.fuel_pressure_display = 0;
    settings.tank1_mode = TANK_CALCULATED;
    settings.tank2_mode = TANK_SENDER;
    ecu.vexa_data_valid = 0;
    fuel_area();
    // Tank 1's row (181..194) keeps its bar; tank 2's row carries the diagonal.
    EXPECT_EQ(px(290, 181), COLOUR_BLACK);
    EXPECT_EQ(px(290, 207), COLOUR_RED);

    // Single-tank layouts: the tank row (195..211) is crossed only for a sender.
    for (uint8_t config : {0, 1}) {
        SCOPED_TRACE(int(config));
        derived.fuel_config = config;
        for (uint8_t mode : {TANK_SENDER, TANK_CALCULATED}) {
            settings.tank1_mode = settings.tank2_mode = mode;
            clear_screen();
            fuel_area();
            EXPECT_EQ(px(290, 195) == COLOUR_RED, mode == TANK_SENDER);
        }
    }
}

TEST_F(FuelPages, QuantityAndFlowTexts)
{
    char t[16];
    settings.fuel_unit = 0;
    settings.tank_resolution = 0;
    fuel_quantity_text(t, 32);
    EXPECT_STREQ(t, "32");
    settings.tank_resolution = 1;
    fuel_quantity_text(t, 325);
    EXPECT_STREQ(t, "32.5");
    settings.fuel_unit = 3;
    settings.tank_resolution = 0;
    fuel_quantity_text(t, 87);
    EXPECT_STREQ(t, "8.7");
    settings.fuel_unit = 6;
    fuel_quantity_text(t, 87);
    EXPECT_STREQ(t, "");
}

TEST_F(FuelPages, FuelPressureHighlight)
{
    const auto& c = settings.fuel_pressure_cfg;
    senders.fuel_pressure = int16_t(c.high_alarm + 1);
    fuel_pressure_readout({.x = 320, .y = 227, .width = 80, .thickness = 8}, true);
    EXPECT_GT(count_in(410, 223, 470, 238, COLOUR_RED), 0);
    clear_screen();
    senders.fuel_pressure = int16_t((c.high_caution + c.high_alarm) / 2);
    fuel_pressure_readout({.x = 320, .y = 227, .width = 80, .thickness = 8}, true);
    if (c.high_caution < c.high_alarm) {
        EXPECT_GT(count_in(410, 223, 470, 238, COLOUR_YELLOW), 0);
    }
}

TEST_F(FuelPages, RandomSettingsNeverBreakTheFuelArea)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 400; ++round) {
        auto* bytes = reinterpret_cast<uint8_t*>(&settings);
        for (size_t i = 0; i < sizeof settings; ++i) bytes[i] = uint8_t(rng());
        derived.fuel_config = uint8_t(round % 20);
        fuel.tank_level[0] = uint16_t(rng());
        fuel.tank_level[1] = uint16_t(rng());
        fuel.tank_open[round & 1] = uint8_t(rng() & 1);
        fuel.fuel_flow[0] = uint16_t(rng());
        fuel.fuel_flow[1] = uint16_t(rng());
        senders.fuel_pressure = int16_t(rng());
        sens.oat_disp = int16_t(rng());
        ecu.ignition_state = uint8_t(rng());
        ecu.vexa_data_valid = uint8_t(rng() & 1);
        fuel_area();
        oat_column();
        ul_lane_lamps();
    }
    SUCCEED();
}

TEST_F(FuelPages, GoldenSingleFlowAndTankLayouts)
{
    settings.tank1_mode = TANK_SENDER;
    fuel.tank_level[0] = 17; // caution
    render_area(0, 0, 1);
    fuel.tank_open[1] = 1; // FAIL, blink on
    render_area(1, 1, 0);
    fuel.tank_open[1] = 0;
    settings.tank1_mode = TANK_OFF;
    settings.tank2_mode = TANK_SENDER;
    render_area(2, 2, 1);
    settings.tank1_mode = TANK_CALCULATED;
    render_area(3, 4, 1);
    compose();
    EXPECT_GOLDEN("page_fuel_tanks");
}

TEST_F(FuelPages, GoldenFlowLayouts)
{
    settings.flow1_on = 1;
    settings.flow2_on = 1;
    render_area(0, 5, 1);
    render_area(1, 7, 0);
    render_area(2, 7, 1);
    settings.fuel_unit = 1; // gallons
    render_area(3, 8, 1);
    compose();
    EXPECT_GOLDEN("page_fuel_flows");
}

TEST_F(FuelPages, GoldenTwoTankLayoutsAndPressureOnly)
{
    settings.flow1_on = 1;
    settings.flow2_on = 1;
    settings.tank1_mode = TANK_SENDER;
    settings.tank2_mode = TANK_CALCULATED;
    render_area(0, 10, 1);
    settings.flow2_on = 0;
    render_area(1, 11, 0);
    ecu.vexa_data_valid = 0; // flow, tank 1 and pressure crossed; the CALC tank not
    render_area(2, 14, 1);
    ecu.vexa_data_valid = 1;
    render_area(3, 9, 1);
    compose();
    EXPECT_GOLDEN("page_fuel_two_tanks");
}

// ---- Top strip items -------------------------------------------------------------------------

TEST_F(FuelPages, LaneLampColoursFollowTheIgnitionState)
{
    struct Case {
        uint8_t state, upper, lower;
    } cases[] = {{12, COLOUR_GREEN, COLOUR_GREEN}, {4, COLOUR_GREEN, COLOUR_RED}, {8, COLOUR_RED, COLOUR_GREEN}, {0, COLOUR_RED, COLOUR_RED}, {13, COLOUR_RED, COLOUR_RED}};
    for (const Case& c : cases) {
        clear_screen();
        ecu.ignition_state = c.state;
        ul_lane_lamps();
        EXPECT_EQ(px(460, 7), c.upper) << int(c.state);
        EXPECT_EQ(px(455, 7), c.upper) << int(c.state); // the widest span is 11 pixels
        EXPECT_EQ(px(454, 7), COLOUR_BLACK) << int(c.state);
        EXPECT_EQ(px(460, 20), c.lower) << int(c.state);
        EXPECT_EQ(px(460, 2), c.upper) << int(c.state);
        EXPECT_EQ(px(462, 2), COLOUR_BLACK) << int(c.state); // the top span is 3 pixels
    }
}

TEST_F(FuelPages, OatColumnFlashesOutsideTheAlarmLimits)
{
    sens.oat_disp = int16_t(settings.oat_high_alarm + 1);
    oat_column();
    EXPECT_GT(count_in(420, 16, 470, 31, COLOUR_RED), 0);
    clear_screen();
    sens.oat_disp = int16_t(settings.oat_high_alarm);
    oat_column();
    EXPECT_EQ(count_in(420, 16, 470, 31, COLOUR_RED), 0);
}

// ---- Rotax pages ---------------------------------------------------------------------------------

class RotaxPages : public FuelPages {};

TEST_F(RotaxPages, SixteenFaultsMakeTwoPages)
{
    ecu.rotax_data_valid = 1;
    ecu.records.relay.faults[0] = 0xFFu;   // 8 faults of lane A
    ecu.records.relay.faults[3] = 0xFF00u; // 8 of lane B
    page_ecu_faults();
    EXPECT_EQ(run.fault_page_count, 2);
    EXPECT_GT(count_in(50, 236, 400, 246, COLOUR_WHITE), 0); // the 15th row at y = 236
    run.fault_page = 1;
    clear_screen();
    page_ecu_faults();
    EXPECT_GT(count_in(50, 26, 400, 36, COLOUR_WHITE), 0); // the 16th fault is row 0 of page 1
    EXPECT_EQ(count_in(50, 41, 400, 271, COLOUR_WHITE), 0);
}

TEST_F(RotaxPages, NoFaultsIsOnePageAndAStaleFaultPageIsPulledBack)
{
    ecu.rotax_data_valid = 1;
    run.fault_page = 3;
    page_ecu_faults();
    EXPECT_EQ(run.fault_page_count, 1);
    EXPECT_EQ(run.fault_page, 0);
    ecu.records.relay.faults[1] = 0x3;
    run.fault_page = 5; // left from a longer list
    page_ecu_faults();
    EXPECT_EQ(run.fault_page, 0);
    EXPECT_GT(count_in(50, 26, 400, 36, COLOUR_WHITE), 0);
}

TEST_F(RotaxPages, GoldenStatusCrossedOut)
{
    ecu.records.relay.lanes_present = 1;
    ecu.records.relay.engine_hours = 123.456f;
    ecu.records.relay.ecu_hours = 130.5f;
    ecu.records.relay.ambient_pressure = 1013;
    ecu.records.relay.status = 0x5;
    page_ecu_status();
    EXPECT_GOLDEN("page_ecu_status");
}

TEST_F(RotaxPages, GoldenFaultPages)
{
    ecu.rotax_data_valid = 1;
    ecu.records.relay.faults[0] = 0x000F0F0Fu; // 12
    ecu.records.relay.faults[2] = 0x00000C01u; // 3
    ecu.records.relay.faults[3] = 0x80000000u; // 1: 16 in all
    page_ecu_faults();
    EXPECT_GOLDEN("page_ecu_faults_0");
    run.fault_page = 1;
    page_ecu_faults();
    EXPECT_GOLDEN("page_ecu_faults_1");
}

// ---- Information page ------------------------------------------------------------------------------

class InfoPage : public FuelPages {
protected:
    void load_checklist(int lines)
    {
        sys.sd_card_present = 1;
        sys.sd_card_mounted = 1;
        docs.doc_shown = 2;
        docs.checklist_line_count = uint8_t(lines);
        for (int i = 0; i < lines; ++i)
            std::snprintf(docs.checklist_lines[i], CHECKLIST_LINE_BYTES, "%02d %s", i + 1,
                          i % 3 == 0 ? "FUEL SELECTOR ........ BOTH" : i % 3 == 1 ? "MIXTURE ........ RICH"
                                                                                 : "MAGNETOS ........ CHECK");
    }
};

TEST_F(InfoPage, CursorFifteenOfTwentyShowsFromLineThree)
{
    load_checklist(20);
    docs.checklist_cursor = 15;
    page_info();
    EXPECT_GT(count_in(0, 240, 470, 255, COLOUR_RED), 0); // line 15 at y = 20 (15 - 3)
    EXPECT_EQ(count_in(0, 0, 470, 235, COLOUR_RED), 0);
}

TEST_F(InfoPage, PlaceholderWithoutCardOrDocument)
{
    load_checklist(5);
    sys.sd_card_mounted = 0;
    page_info();
    EXPECT_GT(count_in(100, 90, 380, 115, COLOUR_WHITE), 0); // "INFORMATION"
    EXPECT_EQ(count_in(0, 0, 479, 80, COLOUR_WHITE), 0);     // no checklist line
    sys.sd_card_mounted = 1;
    docs.doc_shown = 7; // unknown document kind: an empty page
    page_info();
    EXPECT_EQ(count_in(0, 0, 479, 271, COLOUR_WHITE), 0);
}

TEST_F(InfoPage, LongLinesStopBeforeTheRightEdge)
{
    load_checklist(1);
    std::memset(docs.checklist_lines[0], 'W', CHECKLIST_LINE_BYTES); // no terminator at all
    page_info();
    EXPECT_EQ(count_in(476, 0, 479, 20, COLOUR_RED), 0); // the last letter starts before x = 460
    EXPECT_GT(count_in(0, 0, 100, 20, COLOUR_RED), 0);
}

TEST_F(InfoPage, GoldenChecklist)
{
    load_checklist(20);
    docs.checklist_cursor = 15;
    page_info();
    EXPECT_GOLDEN("page_info_checklist");
}

} // namespace
