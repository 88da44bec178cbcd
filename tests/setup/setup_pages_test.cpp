// The EMS setup pages driven key by key: the menu's tiles and bindings, the
// wrap and limits of numbers, the rows each page shows, the unit switches,
// the derivations on leaving, and that whatever the pages produce recalls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alarms/alarm_words.h"
#include "app/power.h"
#include "ops/main_menu.h"
#include "ops/settings_card.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "setup/calibration.h"
#include "setup/setup_pages.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/packed.h"
#include "support/settings_test_support.h"
#include "system/raw_inputs.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

using namespace ems;

namespace {

void pass(uint8_t key = KEY_NONE)
{
    KeyEvent = key;
    ScreenHandler();
}

class SetupPages : public ::testing::Test {
protected:
    void SetUp() override { test::reset_firmware(); }
    void TearDown() override { test::reset_firmware(); }

    // Opens an EMS SETUP tile as the menu does.
    static void open_tile(uint8_t tile)
    {
        ScreenHandler = screen_ems_setup_menu;
        nav.menu_cursor = tile;
        pass(KEY_PUSH);
        pass();
    }
    static VisibleRows shown()
    {
        VisibleRows rows;
        setup_visible_rows(last_setup_page, rows);
        return rows;
    }
    static std::vector<std::string> labels()
    {
        const VisibleRows rows = shown();
        std::vector<std::string> out;
        for (uint8_t i = 0; i < rows.count; ++i) out.emplace_back(last_setup_page.rows[rows.index[i]].label);
        return out;
    }
    // Index among the shown rows of the nth row with this label, -1 if none.
    static int row_of(const std::string& label, int nth = 0)
    {
        const std::vector<std::string> l = labels();
        for (size_t i = 0; i < l.size(); ++i)
            if (l[i] == label && nth-- == 0) return int(i);
        return -1;
    }
    // Turns the cursor onto that row.
    static void go_to(const std::string& label, int nth = 0)
    {
        const int row = row_of(label, nth);
        ASSERT_GE(row, 0) << label << " not shown";
        while (nav.menu_cursor != row) pass(KEY_CW);
    }
    // Push, `turns` clicks one way, push: one edit of the selected row.
    static void edit(int turns, uint8_t key = KEY_CW)
    {
        pass(KEY_PUSH);
        for (int i = 0; i < turns; ++i) pass(key);
        pass(KEY_PUSH);
    }
    static std::string value()
    {
        const VisibleRows rows = shown();
        char text[48];
        setup_row_value(last_setup_page.rows[rows.index[nav.menu_cursor]], text, sizeof text);
        return text;
    }
};

TEST_F(SetupPages, MenuTilesPagesBindingsAndWayBack)
{
    ScreenHandler = screen_ems_setup_menu;
    pass(KEY_CCW);
    EXPECT_EQ(nav.menu_cursor, 13);
    pass(KEY_CW);
    EXPECT_EQ(nav.menu_cursor, 0);
    pass(KEY_SOFT5);
    EXPECT_EQ(nav.menu_cursor, 8) << "page 1 to page 2";
    pass(KEY_SOFT5);
    EXPECT_EQ(nav.menu_cursor, 7) << "page 2 to page 1";

    open_tile(TILE_CHANNEL0 + 3);
    EXPECT_EQ(ScreenHandler, screen_channel_setup);
    EXPECT_EQ(bindings.channel_index, 3);
    EXPECT_EQ(bindings.active_generic_cfg, &settings.generic_cfg[3]);
    EXPECT_EQ(bindings.active_pressure_cfg, &settings.pressure_cfg[3]);
    pass(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_ems_setup_menu);
    EXPECT_EQ(nav.menu_cursor, 9);

    open_tile(TILE_CURRENT);
    EXPECT_EQ(bindings.active_current_cfg, &settings.main_current_cfg);
    pass(KEY_SOFT2);
    EXPECT_EQ(nav.menu_cursor, TILE_CURRENT);
    pass(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_main_menu);
    EXPECT_EQ(nav.menu_cursor, MAIN_TILE_EMS_SETUP);
}

TEST_F(SetupPages, NumbersWrapAtTheirLimitsByTheStep)
{
    settings.volts_display_max = 295;
    open_tile(TILE_VOLTS);
    pass(KEY_SOFT3); // step 1.0 V
    edit(1);
    EXPECT_EQ(PACKED(settings.volts_display_max), 80) << "29.5 V + 1.0 V wraps to 8.0 V";
    edit(1, KEY_CCW);
    EXPECT_EQ(PACKED(settings.volts_display_max), 300);
    EXPECT_EQ(value(), "30.0V");

    // Trims stop at their ends.
    go_to("VOLTS CALIBRATION FACTOR: ");
    calibration.volts_cal_percent = 149;
    edit(3);
    EXPECT_EQ(calibration.volts_cal_percent, 150);

    // EXIT keeps the edits and goes to the run screen.
    pass(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(PACKED(settings.volts_display_max), 300);
}

TEST_F(SetupPages, EgtAndChtShareTwelveInputs)
{
    settings.egt_channels = 8;
    settings.cht_channels = 4;
    open_tile(TILE_EGT);
    edit(1);
    EXPECT_EQ(PACKED(settings.egt_channels), 9);
    EXPECT_EQ(PACKED(settings.cht_channels), 3) << "raising EGT lowers CHT";
    edit(3);
    EXPECT_EQ(PACKED(settings.egt_channels), 12);
    EXPECT_EQ(PACKED(settings.cht_channels), 0);
    edit(1);
    EXPECT_EQ(PACKED(settings.egt_channels), 0) << "12 wraps to 0";
    EXPECT_EQ(labels().size(), 1u) << "no EGT: no other row";

    settings.egt_channels = 9;
    settings.cht_channels = 3;
    open_tile(TILE_CHT);
    edit(1);
    EXPECT_EQ(PACKED(settings.cht_channels), 0) << "CHT wraps at 12 - EGT";

    // The NTC probe reads two analog inputs: at most two CHT channels.
    settings.egt_channels = 2;
    settings.cht_channels = 6;
    pass();
    go_to("PROBE: ");
    edit(3);
    EXPECT_EQ(PACKED(settings.cht_probe), 3);
    EXPECT_EQ(PACKED(settings.cht_channels), 2);
    go_to("CHT CHANNELS: ");
    edit(1);
    EXPECT_EQ(PACKED(settings.cht_channels), 0) << "NTC: 0..2";
}

TEST_F(SetupPages, RpmDisplayOffOnlyWhileRpm2IsOff)
{
    open_tile(TILE_RPM1);
    pass(KEY_PUSH);
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
        pass(KEY_CW);
        seen.push_back(settings.rpm1_display);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0})) << "RPM 2 OFF: PERCENT, OFF, RPM";

    settings.rpm2_display = 0;
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        pass(KEY_CW);
        seen.push_back(settings.rpm1_display);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1})) << "RPM 2 shown: never OFF";
    pass(KEY_CW);
    pass(KEY_CCW);
    EXPECT_EQ(PACKED(settings.rpm1_display), 1) << "back from RPM skips OFF";
}

TEST_F(SetupPages, PulsesPerRevolutionSetTheScaleOnLeaving)
{
    open_tile(TILE_RPM1);
    go_to("PULSES/REV: ");
    pass(KEY_SOFT3);
    pass(KEY_SOFT3); // step 1.00
    edit(1);
    EXPECT_EQ(PACKED(settings.rpm1_pulses), 700u);
    EXPECT_EQ(value(), "7.00");
    EXPECT_EQ(derived.rpm1_scale, 1558600) << "not before leaving";
    pass(KEY_SOFT2);
    EXPECT_EQ(derived.rpm1_scale, 1335942);
}

TEST_F(SetupPages, UnitSwitchesConvertTheLimits)
{
    open_tile(TILE_CHANNEL0); // oil temperature, 135 °C alarm
    go_to("TEMPERATURE UNIT: ");
    edit(1);
    EXPECT_EQ(PACKED(settings.temp_unit), 1);
    EXPECT_EQ(PACKED(settings.temperature_cfg[0].high_alarm), 275);
    EXPECT_EQ(PACKED(settings.egt_high_alarm), 1472) << "EGT shares the unit";
    EXPECT_EQ(PACKED(settings.egt_display_max), 1562);
    edit(1);
    EXPECT_EQ(PACKED(settings.temperature_cfg[0].high_alarm), 135) << "°F to °C";
    EXPECT_EQ(PACKED(settings.egt_high_alarm), 800);

    // psi 150 is beyond 10.0 bar: clamped to the new maximum.
    settings.pressure_cfg[1].unit = 1;
    settings.pressure_cfg[1].display_max = 150;
    settings.pressure_cfg[1].low_alarm = 15;
    open_tile(TILE_CHANNEL0 + 1);
    go_to("PRESSURE UNIT: ");
    edit(1, KEY_CCW);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].unit), 0);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].display_max), 100);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].low_alarm), 10) << "15 psi is 1.0 bar";

    // MAP "Hg to mb: 41.3 inHg is 1399 mb.
    settings.map_display = 1;
    open_tile(TILE_MAP);
    go_to("MAP UNIT: ");
    edit(1);
    EXPECT_EQ(PACKED(settings.map_unit), 0);
    EXPECT_EQ(PACKED(settings.map_high_alarm), 1399);
    go_to("HIGH ALARM: ", 1);
    edit(1); // one click in mb is 10 mb
    EXPECT_EQ(PACKED(settings.map_high_alarm), 1409);
}

TEST_F(SetupPages, UnitSwitchesConvertUserTablesWithTheirLimits)
{
    tick.alarm_holdoff = 0;
    // Oil temperature on a USER table (display = ADC / 10) reading 140 °C.
    settings.temperature_cfg[0].sender = 5;
    settings.temperature_cfg[0].high_alarm = 131; // 267.8 °F: rounded, not truncated
    settings.temperature_cfg[0].high_alarm_on = 0;
    raw.raw_aux[0] = 1400;
    open_tile(TILE_CHANNEL0);
    go_to("TEMPERATURE UNIT: ");
    edit(1);
    EXPECT_EQ(PACKED(settings.temperature_cfg[0].high_alarm), 268);
    EXPECT_EQ(PACKED(settings.temperature_cfg[0].low_alarm), 158);
    EXPECT_EQ(PACKED(settings.temperature_cfg[0].cal.point[13].display), 284) << "140 °C";
    EXPECT_EQ(PACKED(settings.temperature_cfg[2].cal.point[0].display), 50) << "every temperature record";
    process_sensors();
    EXPECT_EQ(senders.aux_temp[0], 284);
    EXPECT_EQ(alarms.alarm_flags & ALARM_AUX1, 0u) << "no TEMP LOW against a reading still in °C";

    // Oil pressure on a USER table reading 2.0 bar, low alarm 1.5 bar.
    settings.pressure_cfg[1].type = 0;
    settings.pressure_cfg[1].sender = 0;
    raw.raw_aux[1] = 200;
    open_tile(TILE_CHANNEL0 + 1);
    go_to("PRESSURE UNIT: ");
    edit(1);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].low_alarm), 22);
    process_sensors();
    EXPECT_EQ(senders.aux_pressure[1], 29) << "2.0 bar is 29 psi";
    EXPECT_EQ(alarms.alarm_flags & (ALARM_AUX1 << 1), 0u);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].cal.point[15].display), 232) << "16.0 bar";
    edit(1); // psi(0.1): 999 at most
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].cal.point[15].display), 999);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].cal.point[1].display), 290);
}

TEST_F(SetupPages, TankQuantitiesFollowTheLitreResolutionAndTheFuelUnit)
{
    // Tank 1 calculated at 30 of 45 L after 5 L used on flow sender 1.
    settings.tank1_mode = TANK_CALCULATED;
    fuel_config_derive();
    const uint32_t k = k_unit(settings.k_factor1);
    fuel_hobbs.fuel.tank1_contents = 30 * k;
    fuel_hobbs.fuel.fuel_used1 = 5 * k;
    sens.flow_window = FLOW_WINDOW_TICKS;
    raw.flow_pulses[0] = 70; // 36.0 L/h
    process_fuel_flow();
    const uint16_t range = fuel.fuel_range;
    ASSERT_EQ(fuel.tank_level[0], 30);
    ASSERT_EQ(range, 41) << "50 miles an hour for 30 L at 36 L/h";

    open_tile(TILE_FUEL);
    go_to("TANK 1 SETUP");
    pass(KEY_PUSH);
    pass();
    go_to("TANK LITRE RESOLUTION: ");
    edit(1); // 0.1L
    EXPECT_EQ(PACKED(settings.tank1_size), 450);
    EXPECT_EQ(PACKED(settings.tank1_low_alarm), 100);
    EXPECT_EQ(PACKED(settings.tank1_low_caution), 200);
    EXPECT_EQ(PACKED(settings.tank2_size), 450) << "both tanks share the unit";
    process_fuel_flow();
    EXPECT_EQ(fuel.tank_level[0], 300);
    EXPECT_EQ(fuel.fuel_used[0], 50u);
    EXPECT_EQ(fuel.fuel_range, range);

    // To gallons: the litre resolution row goes, the quantities convert.
    pass(KEY_SOFT2);
    pass();
    go_to("UNIT: ");
    edit(1); // GAL/SM
    EXPECT_EQ(PACKED(settings.tank1_size), 119) << "11.9 G";
    EXPECT_EQ(PACKED(settings.tank1_low_alarm), 26);
    process_fuel_flow();
    EXPECT_EQ(fuel.tank_level[0], 79) << "30 L is 7.9 G";
    EXPECT_EQ(fuel.fuel_used[0], 13u);
    go_to("TANK 1 SETUP");
    pass(KEY_PUSH);
    pass();
    EXPECT_EQ(row_of("TANK LITRE RESOLUTION: "), -1);

    // Back to litres in tenths; a size beyond 99.9 L is held there.
    settings.tank2_size = 999;
    pass(KEY_SOFT2);
    pass();
    go_to("UNIT: ");
    edit(1, KEY_CCW);
    EXPECT_EQ(PACKED(settings.tank1_size), 450);
    EXPECT_EQ(PACKED(settings.tank2_size), 999);
    process_fuel_flow();
    EXPECT_EQ(fuel.tank_level[0], 300);
}

TEST_F(SetupPages, ChannelRowsFollowSenderModeAndEngineComputer)
{
    open_tile(TILE_CHANNEL0 + 1); // oil pressure, RESISTIVE VDO
    EXPECT_EQ(labels(), (std::vector<std::string>{
                            "OIL PRESSURE DISPLAY: ", "TYPE: ", "SENDER: ", "MODEL: ", "LABEL: ",
                            "PRESSURE UNIT: ", "DISPLAY MAX: ", "DISPLAY MIN: ", "HIGH ALARM: ",
                            "HIGH ALARM: ", "HIGH CAUTION: ", "LOW CAUTION: ", "LOW ALARM: ", "LOW ALARM: "}));
    go_to("SENDER: ");
    edit(1); // USER
    EXPECT_EQ(row_of("MODEL: "), -1);
    EXPECT_EQ(row_of("CALIBRATE SENDER"), 3);
    EXPECT_EQ(row_of("LABEL: "), 4);

    // VOLTAGE "0.5-4.5V", then back to a type with two senders: USER.
    settings.pressure_cfg[1].type = 1;
    settings.pressure_cfg[1].sender = 2;
    pass();
    EXPECT_EQ(row_of("PRESSURE @ 4.5V: "), 4);
    settings.pressure_cfg[1].type = 2;
    pass();
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].sender), 0);

    settings.ecu_type = 2; // UL POWER supplies oil pressure
    pass();
    EXPECT_EQ(row_of("TYPE: "), -1);
    EXPECT_EQ(row_of("LABEL: "), 1);

    // The display row switches channel 1 between OFF and PRESSURE only.
    nav.menu_cursor = 0;
    edit(1);
    EXPECT_EQ(PACKED(settings.channel_mode[1]), CHANNEL_OFF);
    EXPECT_EQ(labels().size(), 1u);
    edit(1);
    EXPECT_EQ(PACKED(settings.channel_mode[1]), CHANNEL_PRESSURE);

    // Analog channels: a mode list; NTC CHT probes take them over.
    settings.channel_mode[3] = CHANNEL_CURRENT;
    open_tile(TILE_CHANNEL0 + 3);
    EXPECT_EQ(row_of("ZERO CURRENT SENSOR"), 9);
    settings.cht_probe = 3;
    pass();
    EXPECT_EQ(labels().size(), 0u);
    settings.cht_probe = 0;
    settings.ecu_type = 1; // ROTAX: channel 2 is the coolant, without a mode row
    open_tile(TILE_CHANNEL0 + 2);
    EXPECT_STREQ(last_setup_page.name, "COOLANT TEMP");
    EXPECT_EQ(row_of("MODE: "), -1);
    EXPECT_EQ(row_of("TEMPERATURE UNIT: "), 2) << "a temperature input whatever its stored mode";
}

TEST_F(SetupPages, LinksOpenTheirScreensAndComeBackToTheirRow)
{
    settings.channel_mode[3] = CHANNEL_GENERIC;
    settings.generic_cfg[3].cal.point[1].adc = 1234;
    open_tile(TILE_CHANNEL0 + 3);
    go_to("CALIBRATE SENDER");
    const uint8_t row = nav.menu_cursor;
    pass(KEY_PUSH);
    EXPECT_EQ(ScreenHandler, screen_sender_calibration);
    EXPECT_EQ(return_screen, screen_channel_setup);
    EXPECT_EQ(cal_screens.cal_kind, CAL_GENERIC);
    EXPECT_EQ(PACKED(cal_screens.cal_work.point[1].adc), 1234);
    EXPECT_EQ(cal_screens.caller_row, row);
    EXPECT_EQ(nav.menu_cursor, 0);

    // FUEL PRESSURE SETUP: EXIT brings the fuel computer up to date with
    // what was changed on FUEL SETUP; BACK lands on its link row whatever
    // rows are hidden above it.
    open_tile(TILE_FUEL);
    go_to("FLOW 2: ");
    edit(1);
    go_to("FUEL PRESSURE SETUP");
    pass(KEY_PUSH);
    EXPECT_EQ(ScreenHandler, screen_fuel_pressure_setup);
    EXPECT_EQ(derived.fuel_config, 0) << "one flow sender, tank 1";
    pass(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(derived.fuel_config, 9) << "two flows in DUAL mode with one tank";

    open_tile(TILE_FUEL);
    go_to("FLOW 1: ");
    edit(1); // its K-FACTOR row goes
    go_to("FUEL PRESSURE SETUP");
    const uint8_t link = nav.menu_cursor;
    pass(KEY_PUSH);
    pass(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_fuel_setup);
    EXPECT_EQ(nav.menu_cursor, link);
}

// Every row of every page stepped both ways, several clicks at every step:
// each block the pages leave passes the recall check, and a saved file
// recalls into the same block.
TEST_F(SetupPages, WhateverThePagesProduceRecalls)
{
    test::FakePlatform card;
    sys.sd_card_mounted = 1;
    const ScreenFn pages[] = {screen_volts_setup, screen_oat_setup, screen_egt_setup, screen_cht_setup,
                              screen_map_setup, screen_rpm1_setup, screen_rpm2_setup, screen_fuel_setup,
                              screen_fuel_pressure_setup, screen_current_setup, screen_ecu_setup,
                              screen_gps_setup};
    auto walk = [&](ScreenFn page) {
        for (uint8_t key : {KEY_CW, KEY_CCW}) {
            ScreenHandler = page;
            enter_list(0);
            pass();
            for (uint8_t r = 0; r < shown().count && ScreenHandler == page; ++r) {
                nav.menu_cursor = r;
                pass();
                const SetupRow& row = last_setup_page.rows[shown().index[r]];
                if (row.kind == RowKind::Action) continue;
                pass(KEY_SOFT3);
                pass(KEY_PUSH);
                for (int click = 0; click < 7 && row.kind != RowKind::Text; ++click) {
                    pass(key);
                    ASSERT_STREQ(settings_validate(settings), nullptr) << row.label;
                }
                pass(KEY_PUSH);
            }
        }
    };
    for (ScreenFn page : pages) walk(page);
    for (uint8_t ch = 0; ch < 4; ++ch)
        for (uint8_t mode = 0; mode <= CHANNEL_GENERIC; ++mode) {
            if (ch >= 2) settings.channel_mode[ch] = mode;
            bindings.channel_index = ch;
            walk(screen_channel_setup);
        }

    ASSERT_TRUE(settings_save_to_card());
    const std::vector<uint8_t> saved = test::block_bytes(settings);
    settings_load_defaults();
    ASSERT_TRUE(settings_recall_from_card());
    std::vector<uint8_t> recalled = test::block_bytes(settings);
    EXPECT_EQ(recalled, saved);
}

} // namespace
