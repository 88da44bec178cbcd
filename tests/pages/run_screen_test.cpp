// The run screen: page keys and enabled pages, the page-change reset, the
// EGT/CHT view key, rotary keys on the faults and information pages, quick
// menus, the readout grid, the top strip and fuel-computer texts, and
// goldens of the engine page in its layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "alarms/alarm_words.h"
#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "gps/gps_data.h"
#include "ops/documents.h"
#include "ops/flight_log.h"
#include "ops/quick_menus.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "system/clock.h"
#include "system/raw_inputs.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen.h"

using namespace ems;
using test::shows_text;

namespace {

class RunScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables();
        ScreenHandler = run_screen;
    }
    void press(uint8_t key)
    {
        KeyEvent = key;
        run_screen();
        EXPECT_EQ(KeyEvent, KEY_NONE);
    }
    // A plausible running engine with every link alive.
    void running_engine()
    {
        ecu.vexa_data_valid = 1;
        sens.volts_x10 = 138;
        sens.oat_disp = 18;
        sens.rpm = 2450;
        sens.rpm_percent = 45;
        raw.rpm2 = 610;
        raw.rpm2_percent = 41;
        sens.map_disp = 245;
        sens.current_x10 = 125;
        sens.current_a = 12;
        const int16_t tc[12] = {652, 671, 118, 124, 640, 660, 110, 115, 120, 122, 119, 121};
        for (int i = 0; i < 12; ++i) {
            thermo.tc_value[i] = tc[i];
            minmax.tc_max[i] = int16_t(tc[i] + 12);
        }
        senders.aux_temp[0] = 92;
        senders.aux_pressure[1] = 42;
        senders.aux_pressure[2] = 30;
        senders.aux_generic[3] = 55;
        senders.aux_current[2] = 4;
        senders.fuel_pressure = 38;
        fuel.fuel_flow[0] = 185;
        fuel.fuel_flow[1] = 120;
        fuel.tank_level[0] = 62;
        fuel.tank_level[1] = 40;
        fuel.fuel_time_left = 201;
        fuel.fuel_range = 310;
        clk.clock_utc = {12, 34, 9, 7, 12, 2026};
        clk.clock_local = {12, 34, 11, 7, 12, 2026};
        fuel_hobbs.hobbs.hobbs_hours = 1234;
        fuel_hobbs.hobbs.hobbs_minutes = 18; // 1234.3 h
        fuel_hobbs.hobbs.maint_hours = 46;
        fuel_hobbs.hobbs.maint_minutes = 10;
        tick.pilot_timer = 754;
        flight.flight_time = 5580;
    }
};

// ---- Pages and keys -----------------------------------------------------------

TEST_F(RunScreen, WithoutEcuAndGpsOnlyEngineAndInformationPages)
{
    settings.ecu_type = ECU_NONE;
    settings.gps_source = 0;
    press(KEY_SOFT5);
    EXPECT_EQ(run.run_page, PAGE_INFO);
    press(KEY_SOFT5);
    EXPECT_EQ(run.run_page, PAGE_ENGINE);
    press(KEY_SOFT1);
    EXPECT_EQ(run.run_page, PAGE_INFO);
    press(KEY_SOFT1);
    EXPECT_EQ(run.run_page, PAGE_ENGINE);
}

TEST_F(RunScreen, AllPagesInBothDirections)
{
    settings.ecu_type = ECU_ROTAX_912IS;
    settings.gps_source = 1;
    for (uint8_t expected : {1, 2, 3, 4, 0}) {
        press(KEY_SOFT5);
        EXPECT_EQ(run.run_page, expected);
    }
    for (uint8_t expected : {4, 3, 2, 1, 0}) {
        press(KEY_SOFT1);
        EXPECT_EQ(run.run_page, expected);
    }
    settings.gps_source = 0;
    run.run_page = PAGE_ECU_FAULTS;
    press(KEY_SOFT5);
    EXPECT_EQ(run.run_page, PAGE_INFO);
    press(KEY_SOFT1);
    EXPECT_EQ(run.run_page, PAGE_ECU_FAULTS);
}

TEST_F(RunScreen, PageChangeResetsModesScanningAndFaultPages)
{
    settings.gps_source = 1;
    settings.egt_channels = 4;
    thermo.lean_mode = 1;
    tick.egt_scan_index = 3;
    tick.cht_scan_index = 9;
    run.fault_page = 2;
    press(KEY_SOFT5); // to the GPS page
    EXPECT_EQ(thermo.lean_mode, 0);
    EXPECT_EQ(tick.egt_scan_index, 0);
    EXPECT_EQ(tick.cht_scan_index, 4);
    EXPECT_EQ(run.fault_page, 0);
    EXPECT_EQ(run.fault_page_count, 0);
    // Arriving on the engine page keeps the cruise mode.
    thermo.cruise_mode = 1;
    press(KEY_SOFT1);
    EXPECT_EQ(run.run_page, PAGE_ENGINE);
    EXPECT_EQ(thermo.cruise_mode, 1);
}

TEST_F(RunScreen, Key2CyclesTheEgtChtViewOnTheEnginePageOnly)
{
    struct Case {
        uint8_t egt, cht;
        std::vector<uint8_t> views;
    };
    const Case cases[] = {
        {2, 2, {1, 2, 0}},
        {0, 0, {0, 0}},
        {0, 3, {2, 0, 2}},
        {4, 0, {1, 0, 1}},
    };
    for (const Case& c : cases) {
        settings.egt_channels = c.egt;
        settings.cht_channels = c.cht;
        run.egt_cht_view = 0;
        for (uint8_t v : c.views) {
            press(KEY_SOFT2);
            EXPECT_EQ(run.egt_cht_view, v) << int(c.egt) << "/" << int(c.cht);
        }
    }
    run.egt_cht_view = 0;
    run.run_page = PAGE_INFO;
    press(KEY_SOFT2);
    EXPECT_EQ(run.egt_cht_view, 0);
    press(KEY_SOFT3);
    press(KEY_SOFT4);
    EXPECT_EQ(run.run_page, PAGE_INFO);
}

TEST_F(RunScreen, RotaryStepsFaultPagesWithWrap)
{
    settings.ecu_type = ECU_ROTAX_912IS;
    run.run_page = PAGE_ECU_FAULTS;
    press(KEY_CW); // no faults: one page
    EXPECT_EQ(run.fault_page, 0);
    press(KEY_CCW);
    EXPECT_EQ(run.fault_page, 0);
    ecu.records.relay.faults[0] = 0xFFFF; // 16 faults: two pages
    ecu.records.relay.faults[1] = 0;
    press(KEY_CW);
    EXPECT_EQ(run.fault_page, 1);
    press(KEY_CW);
    EXPECT_EQ(run.fault_page, 0);
    press(KEY_CCW);
    EXPECT_EQ(run.fault_page, 1);
}

TEST_F(RunScreen, RotaryMovesTheChecklistCursorWithinItsLines)
{
    run.run_page = PAGE_INFO;
    press(KEY_CW); // nothing loaded: stays on line 0
    EXPECT_EQ(docs.checklist_cursor, 0);
    docs.checklist_line_count = 3;
    for (uint8_t expected : {1, 2, 2}) {
        press(KEY_CW);
        EXPECT_EQ(docs.checklist_cursor, expected);
    }
    for (uint8_t expected : {1, 0, 0}) {
        press(KEY_CCW);
        EXPECT_EQ(docs.checklist_cursor, expected);
    }
    run.run_page = PAGE_ENGINE;
    press(KEY_CW);
    EXPECT_EQ(docs.checklist_cursor, 0);
}

TEST_F(RunScreen, QuickMenusOpenWithExitSelected)
{
    // Defaults: flow 1, EGT and CHT, tank 1 sender, RPM 1 shown, manual flight detect.
    press(KEY_PUSH);
    EXPECT_EQ(quick.quick_menu_count, 11);
    EXPECT_EQ(nav.menu_cursor, 10);
    EXPECT_EQ(tick.quick_menu_countdown, 10);
    EXPECT_EQ(quick.quick_menu_handler, &popup_quick_menu);
    // The open menu takes the keys: the page does not change.
    press(KEY_SOFT5);
    EXPECT_EQ(run.run_page, PAGE_ENGINE);
    press(KEY_PUSH); // EXIT
    EXPECT_EQ(tick.quick_menu_countdown, 0);

    settings.gps_source = 1;
    run.run_page = PAGE_GPS;
    press(KEY_PUSH);
    EXPECT_EQ(quick.quick_menu_count, 3);
    EXPECT_EQ(nav.menu_cursor, 2);
    EXPECT_EQ(quick.quick_menu_handler, &popup_short_menu);
    tick.quick_menu_countdown = 0;

    run.run_page = PAGE_INFO;
    press(KEY_PUSH);
    EXPECT_EQ(quick.quick_menu_count, 5);
    EXPECT_EQ(quick.quick_menu_handler, &popup_documents_menu);
}

TEST_F(RunScreen, EngineQuickMenuCountFollowsTheConfiguration)
{
    settings.flow1_on = 0;
    settings.flow2_on = 0;
    settings.egt_channels = 0;
    settings.cht_channels = 0;
    settings.flight_detect = 1;
    settings.rpm1_display = 2;
    derived.fuel_config = 2;
    settings.tank1_mode = TANK_CALCULATED;
    EXPECT_EQ(engine_quick_menu_count(), 5);
    derived.fuel_config = 0; // cruise speed and refill
    EXPECT_EQ(engine_quick_menu_count(), 7);
    derived.fuel_config = 11;
    settings.tank1_mode = TANK_SENDER;
    settings.tank2_mode = TANK_SENDER;
    EXPECT_EQ(engine_quick_menu_count(), 6); // cruise speed only
    settings.tank2_mode = TANK_CALCULATED;
    EXPECT_EQ(engine_quick_menu_count(), 7);
}

// ---- Readout grid -------------------------------------------------------------

TEST_F(RunScreen, ReadoutListAndOatMove)
{
    uint8_t list[7];
    bool moved = true;
    // Defaults: volts, OAT and all four analog channels.
    EXPECT_EQ(engine_readouts(list, moved), 6);
    EXPECT_FALSE(moved);
    EXPECT_EQ(list[1], READOUT_OAT);
    settings.current_display = 1;
    EXPECT_EQ(engine_readouts(list, moved), 6);
    EXPECT_TRUE(moved);
    const uint8_t expected[6] = {READOUT_VOLTS, READOUT_CURRENT, READOUT_AUX0, READOUT_AUX0 + 1,
                                 READOUT_AUX0 + 2, READOUT_AUX0 + 3};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(list[k], expected[k]);
    // NTC cylinder-head probes take channel 2, and channel 3 unless there is one CHT.
    settings.cht_probe = CHT_PROBE_NTC;
    settings.cht_channels = 2;
    EXPECT_EQ(engine_readouts(list, moved), 5);
    EXPECT_FALSE(moved);
    settings.cht_channels = 1;
    EXPECT_EQ(engine_readouts(list, moved), 6);
    EXPECT_EQ(list[5], READOUT_AUX0 + 3);
}

// ---- Texts ----------------------------------------------------------------------

TEST_F(RunScreen, HobbsFormatsAndFuelComputerPlaceholders)
{
    settings.ecu_type = ECU_ROTAX_912IS;
    fuel_hobbs.hobbs.hobbs_hours = 12;
    fuel_hobbs.hobbs.hobbs_minutes = 59;
    fuel.fuel_time_left = FUEL_NOT_AVAILABLE;
    fuel.fuel_range = FUEL_NOT_AVAILABLE;
    ASSERT_LT(derived.fuel_config, 2);
    page_engine();
    EXPECT_TRUE(shows_text(310, 0, "12.9", ALIGN_LEFT, COLOUR_WHITE, 310, 365));
    EXPECT_TRUE(shows_text(403, 243, "-:--", ALIGN_LEFT, COLOUR_WHITE, 403, 479));
    EXPECT_TRUE(shows_text(450, 258, "-", ALIGN_RIGHT, COLOUR_WHITE, 420, 450));
    settings.hobbs_format = 1;
    fuel.fuel_time_left = 125;
    page_engine();
    EXPECT_TRUE(shows_text(310, 0, "12:59", ALIGN_LEFT, COLOUR_WHITE, 310, 365));
    EXPECT_TRUE(shows_text(403, 243, "2:05", ALIGN_LEFT, COLOUR_WHITE, 403, 479));
}

TEST_F(RunScreen, GroundSpeedIsMagentaFromGpsAndWhiteFromCruiseSpeed)
{
    ASSERT_LT(derived.fuel_config, 2);
    gps.gps_speed = 87;
    gps.gps_fix_valid = 1;
    page_engine();
    EXPECT_TRUE(shows_text(335, 258, "87", ALIGN_RIGHT, COLOUR_MAGENTA, 312, 335));
    gps.gps_fix_valid = 0;
    page_engine();
    EXPECT_TRUE(shows_text(335, 258, "50", ALIGN_RIGHT, COLOUR_WHITE, 312, 335));

    // The ground speed is in speed_unit; the cruising speed in the fuel unit's
    // speed, as CRUISING SPEED enters it (LITRE/NM: knots).
    settings.fuel_unit = 2;
    settings.speed_unit = 0;
    page_engine();
    EXPECT_TRUE(shows_text(370, 258, "kts", ALIGN_RIGHT, COLOUR_SILVER, 340, 370));
    gps.gps_fix_valid = 1;
    page_engine();
    EXPECT_TRUE(shows_text(370, 258, "mph", ALIGN_RIGHT, COLOUR_SILVER, 340, 370));
}

TEST_F(RunScreen, FlightTimeColonBlinksDuringAFlight)
{
    settings.ecu_type = ECU_ROTAX_912IS;
    flight.flight_time = 3 * 3600 + 7 * 60;
    tick.blink_flag = 1;
    page_engine();
    EXPECT_TRUE(shows_text(40, 0, "3:07", ALIGN_LEFT, COLOUR_WHITE, 40, 120));
    flight.flight_in_progress = 1;
    page_engine();
    EXPECT_TRUE(shows_text(40, 0, "3 07", ALIGN_LEFT, COLOUR_WHITE, 40, 120));
    tick.blink_flag = 0;
    page_engine();
    EXPECT_TRUE(shows_text(40, 0, "3:07", ALIGN_LEFT, COLOUR_WHITE, 40, 120));
}

TEST_F(RunScreen, MaintenanceDueBlinksOnRed)
{
    fuel_hobbs.hobbs.maint_hours = 0;
    fuel_hobbs.hobbs.maint_minutes = 0;
    auto red_under_maint = [] {
        int n = 0;
        for (int y = 16; y <= 29; ++y)
            for (int x = 430; x < 480; ++x) n += Framebuffer[y * LCD_WIDTH + x] == COLOUR_RED;
        return n;
    };
    tick.blink_flag = 0;
    page_engine();
    EXPECT_EQ(red_under_maint(), 0);
    tick.blink_flag = 1;
    page_engine();
    EXPECT_GT(red_under_maint(), 20);
}

TEST_F(RunScreen, UlPowerRowWithoutOatStartsOver)
{
    settings.ecu_type = ECU_UL_POWER;
    ecu.ul_data_valid = 1;
    tick.engine_rotate_ticks = 7;
    page_engine();
    EXPECT_EQ(tick.engine_rotate_ticks, 0);
}

// ---- Goldens --------------------------------------------------------------------

TEST_F(RunScreen, GoldenDefaultEnginePage)
{
    running_engine();
    run_screen();
    EXPECT_GOLDEN("run_engine_default");
}

TEST_F(RunScreen, GoldenRpmMapVariants)
{
    running_engine();
    struct Variant {
        const char* name;
        uint8_t rpm1, rpm2, map;
    };
    const Variant variants[] = {
        {"run_twin_rpm", 0, 0, 0},
        {"run_twin_rpm_map", 0, 1, 1},
        {"run_map_and_rpm_dials", 0, 2, 1},
        {"run_map_dial_only", 2, 2, 1},
        {"run_no_rpm_map", 2, 2, 0},
    };
    for (const Variant& v : variants) {
        settings.rpm1_display = v.rpm1;
        settings.rpm2_display = v.rpm2;
        settings.map_display = v.map;
        run_screen();
        EXPECT_GOLDEN(v.name);
    }
}

TEST_F(RunScreen, GoldenGridStates)
{
    running_engine();
    // T readouts: volts, then OAT, then channels 0.. as needed; 7 moves OAT.
    auto set_readouts = [](int t) {
        settings.current_display = t == 7;
        settings.oat_display = t >= 2;
        for (int i = 0; i < 4; ++i) settings.channel_mode[i] = t - 3 >= i ? (i == 0 ? 2 : i == 3 ? 4 : 1) : 0;
    };
    struct Grid {
        const char* tag;
        uint8_t rpm1, map;
        std::vector<int> counts;
    };
    const Grid grids[] = {
        {"g0", 2, 0, {1, 2, 3, 4, 5, 7}},
        {"g1", 0, 0, {1, 2, 4, 7}},
        {"g2", 0, 1, {1, 2, 4, 7}},
    };
    for (const Grid& g : grids) {
        settings.rpm1_display = g.rpm1;
        settings.map_display = g.map;
        for (int t : g.counts) {
            set_readouts(t);
            run_screen();
            const std::string name = std::string("run_grid_") + g.tag + "_t" + (t == 7 ? "6_oat_moved" : std::to_string(t));
            EXPECT_GOLDEN(name);
        }
    }
}

TEST_F(RunScreen, GoldenEngineComputerTopStrips)
{
    running_engine();
    settings.current_display = 1; // OAT moves to the top strip
    settings.ecu_type = ECU_ROTAX_912IS; // input 3 reads the coolant temperature
    senders.aux_temp[2] = 85;
    ecu.records.relay.throttle = 64;
    run_screen();
    EXPECT_GOLDEN("run_top_rotax");

    settings.ecu_type = ECU_UL_POWER;
    ecu.ul_data_valid = 1;
    ecu.ignition_state = 4;
    ecu.ecu_temp = 41;
    run_screen();
    EXPECT_GOLDEN("run_top_ul_power");

    ecu.ul_data_valid = 0;
    run_screen();
    EXPECT_GOLDEN("run_top_ul_comms_error");
}

} // namespace
