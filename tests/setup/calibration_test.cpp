// The calibration screens driven key by key: a sender table is stored only
// by BACK with a usable slope and dropped by EXIT, current sensors are zeroed from the live
// reading, tank tables are captured from the level sender or typed, and a
// table that is not strictly monotonic brings SLOPE ERROR.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "gfx/draw.h"
#include "pages/run_screen.h"
#include "settings/settings.h"
#include "setup/calibration.h"
#include "setup/setup_pages.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/packed.h"
#include "system/raw_inputs.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen.h"

using namespace ems;

namespace {

class Calibration : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables(); // the arc of the rotary symbol, whatever ran before
        bindings.channel_index = 1;
        bindings.active_pressure_cfg = &settings.pressure_cfg[1];
        bindings.active_temperature_cfg = &settings.temperature_cfg[1];
        bindings.active_current_cfg = &settings.current_cfg[1];
        bindings.active_generic_cfg = &settings.generic_cfg[1];
    }

    // One main-loop pass of the active screen with `key` pending.
    static void press(uint8_t key)
    {
        KeyEvent = key;
        ScreenHandler();
        EXPECT_EQ(KeyEvent, KEY_NONE);
    }
    static void press(std::initializer_list<uint8_t> keys)
    {
        for (uint8_t key : keys) press(key);
    }
    static void turn(uint8_t key, int clicks)
    {
        for (int i = 0; i < clicks; ++i) press(key);
    }

    // Opens CALIBRATE SENDER of `kind` from the channel page's row `row`.
    static void open_sender(uint8_t kind, uint8_t row = 3)
    {
        ScreenHandler = screen_channel_setup;
        nav.menu_cursor = row;
        open_sender_calibration(kind, screen_channel_setup);
    }
    // Sets ADC point k (0-based) of the working table: select its row, edit, turn.
    static void type_adc(uint8_t k, int clicks_up)
    {
        nav.menu_cursor = uint8_t(2 * k + 2);
        press(KEY_PUSH);
        turn(clicks_up > 0 ? KEY_CW : KEY_CCW, clicks_up > 0 ? clicks_up : -clicks_up);
        press(KEY_PUSH);
    }

    static void set_tank1(std::initializer_list<uint16_t> values)
    {
        int k = 0;
        for (uint16_t v : values) settings.tank1_cal[k++] = v;
    }
};

// ---- Calibrate sender ---------------------------------------------------------------

TEST_F(Calibration, SenderTableIsEditedInACopyAndStoredByBack)
{
    settings.pressure_cfg[1].unit = 0; // bar: display values in tenths
    open_sender(CAL_PRESSURE, 3);
    EXPECT_EQ(ScreenHandler, screen_sender_calibration);
    EXPECT_EQ(nav.menu_cursor, 0);

    press(KEY_CW);                      // DISPLAY 1
    press(KEY_SOFT3);                   // step 1.0
    press({KEY_PUSH, KEY_CW, KEY_CW, KEY_PUSH}); // 1.0 -> 3.0
    EXPECT_EQ(PACKED(cal_screens.cal_work.point[0].display), 30);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].cal.point[0].display), 10) << "stored before leaving";
    press(KEY_CCW);                     // POINTS
    press({KEY_PUSH, KEY_CCW, KEY_PUSH}); // 16 -> 15 points
    EXPECT_EQ(PACKED(cal_screens.cal_work.count), 15);

    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_channel_setup);
    EXPECT_EQ(nav.menu_cursor, 3) << "back on the row that opened the screen";
    const SenderCalibrationTable stored = settings.pressure_cfg[1].cal;
    EXPECT_EQ(PACKED(stored.count), 15);
    EXPECT_EQ(PACKED(stored.point[0].display), 30);
    EXPECT_EQ(PACKED(stored.point[14].adc), 1500);
    EXPECT_EQ(PACKED(stored.point[15].adc), 0) << "a slot past the points in use is stored empty";
    EXPECT_EQ(PACKED(settings.pressure_cfg[0].cal.point[0].display), 10) << "only the bound record";
    EXPECT_EQ(settings_validate(settings), nullptr);
}

TEST_F(Calibration, SenderTableLeftByExitIsDropped)
{
    open_sender(CAL_GENERIC, 1);
    type_adc(1, -5); // generic default: 0 at ADC 0, 100 at ADC 4095 -> 4090
    press(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(PACKED(settings.generic_cfg[1].cal.point[1].adc), 4095);

    // A table BACK refuses still lets the pilot out, leaving the stored one.
    open_sender(CAL_GENERIC, 1);
    type_adc(0, -1); // 0 wraps to 4095: 4095, 4095
    press(KEY_SOFT2);
    ASSERT_EQ(ScreenHandler, screen_slope_error);
    press({KEY_PUSH, KEY_SOFT1});
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(PACKED(settings.generic_cfg[1].cal.point[0].adc), 0);
}

TEST_F(Calibration, PointsWrapBetweenTwoAndSixteenAndValuesWithinTheirRange)
{
    open_sender(CAL_TEMPERATURE, 2);
    press({KEY_PUSH, KEY_CW});
    EXPECT_EQ(PACKED(cal_screens.cal_work.count), 2) << "16 -> 2";
    press(KEY_CCW);
    EXPECT_EQ(PACKED(cal_screens.cal_work.count), 16) << "2 -> 16";
    press(KEY_PUSH);

    // ADC 1 is 100; down by 100 reaches 0, the next step wraps to 4095 and
    // a step of 100 from there goes round to 0, never past the converter range.
    nav.menu_cursor = 2;
    press({KEY_SOFT3, KEY_SOFT3, KEY_PUSH, KEY_CCW});
    EXPECT_EQ(PACKED(cal_screens.cal_work.point[0].adc), 0);
    press(KEY_CCW);
    EXPECT_EQ(PACKED(cal_screens.cal_work.point[0].adc), 4095);
    press(KEY_CW);
    EXPECT_EQ(PACKED(cal_screens.cal_work.point[0].adc), 0);
    press(KEY_PUSH);

    // Temperature display rows step by 1 or 10 only: a step of 100 carried
    // over from an ADC row falls back to 1.
    press(KEY_CCW); // DISPLAY 1 (10)
    EXPECT_EQ(nav.menu_cursor, 1);
    ScreenHandler();
    EXPECT_EQ(nav.edit_step, 1);
    press({KEY_PUSH, KEY_CCW, KEY_CCW, KEY_CCW, KEY_CCW, KEY_CCW, KEY_CCW, KEY_CCW, KEY_CCW, KEY_CCW,
           KEY_CCW, KEY_CCW});
    EXPECT_EQ(PACKED(cal_screens.cal_work.point[0].display), 999) << "below 0 wraps to 999";

    // A recalled table of 21 points is kept whole when POINTS is not touched.
    SenderCalibrationTable wide{};
    wide.count = 21;
    for (int k = 0; k < 21; ++k) wide.point[k] = CalPoint{int16_t(k), int16_t(100 * k)};
    settings.generic_cfg[1].cal = wide;
    open_sender(CAL_GENERIC, 1);
    press(KEY_SOFT2);
    EXPECT_EQ(PACKED(settings.generic_cfg[1].cal.count), 21);
    EXPECT_EQ(PACKED(settings.generic_cfg[1].cal.point[20].adc), 2000);
}

TEST_F(Calibration, SlopeErrorRefusesEqualOrOutOfOrderAdcPoints)
{
    settings.pressure_cfg[1].cal.count = 3;
    open_sender(CAL_PRESSURE, 3);
    type_adc(1, 100); // 100, 300, 300: equal neighbours
    ASSERT_EQ(PACKED(cal_screens.cal_work.point[1].adc), 300);
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_slope_error);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].cal.point[1].adc), 200) << "nothing stored";
    press(KEY_PUSH);
    EXPECT_EQ(ScreenHandler, screen_sender_calibration) << "back to correct the table";
    EXPECT_EQ(PACKED(cal_screens.cal_work.point[1].adc), 300) << "the typed table is kept";

    type_adc(1, 150); // 100, 450, 300: out of order
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_slope_error);
    press(KEY_SOFT5);

    type_adc(2, 600); // 100, 450, 900
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_channel_setup) << "rising table accepted";
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].cal.point[1].adc), 450);

    // A falling table (a sender whose reading drops as the value rises) is as good.
    open_sender(CAL_PRESSURE, 3);
    cal_screens.cal_work.point[0].adc = 3000;
    cal_screens.cal_work.point[1].adc = 2000;
    cal_screens.cal_work.point[2].adc = 1000;
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_channel_setup);
    EXPECT_EQ(PACKED(settings.pressure_cfg[1].cal.point[2].adc), 1000);
}

TEST_F(Calibration, FuelPressureSenderLayout)
{
    settings.fuel_pressure_cfg.unit = 0;
    bindings.active_pressure_cfg = &settings.fuel_pressure_cfg;
    raw.raw_fuel_pressure = 1234;
    ScreenHandler = screen_fuel_pressure_setup;
    nav.menu_cursor = 3;
    open_sender_calibration(CAL_PRESSURE, screen_fuel_pressure_setup);
    press(KEY_CW);
    turn(KEY_CW, 12); // row 13: the list has scrolled
    press(KEY_NONE);
    EXPECT_EQ(nav.menu_scroll, 4);
    EXPECT_GOLDEN("calibrate_sender");
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_fuel_pressure_setup);
}

// ---- Zero current ----------------------------------------------------------------------

TEST_F(Calibration, ZeroingTakesTheLiveReadingOnYesOnly)
{
    raw.raw_aux[1] = 2048;
    ScreenHandler = screen_channel_setup;
    nav.menu_cursor = 8; // the zero row moved up (a hidden row above it)
    open_zero_current(false);
    press(KEY_NONE);
    EXPECT_GOLDEN("zero_current");
    press(KEY_PUSH); // NO
    EXPECT_EQ(ScreenHandler, screen_channel_setup);
    EXPECT_EQ(nav.menu_cursor, 8);
    EXPECT_EQ(calibration.current_zero[1], 32768u);

    raw.raw_aux[1] = 2100;
    open_zero_current(false);
    press({KEY_CW, KEY_PUSH});
    EXPECT_EQ(calibration.current_zero[1], 2100u * 16);
    EXPECT_EQ(calibration.current_zero[0], 32768u);
    EXPECT_EQ(ScreenHandler, screen_done);
    press(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, screen_channel_setup);
    EXPECT_EQ(nav.menu_cursor, 8);

    // The main sensor; a full-scale input (4096) is the converter's 4095,
    // whose zero still fits its 16-bit field.
    raw.raw_current = 4096;
    ScreenHandler = screen_current_setup;
    nav.menu_cursor = 9;
    open_zero_current(true);
    press({KEY_CCW, KEY_PUSH});
    EXPECT_EQ(calibration.main_current_zero, 4095u * 16);
    press(KEY_PUSH);
    EXPECT_EQ(ScreenHandler, screen_current_setup);
    EXPECT_EQ(nav.menu_cursor, 9);
}

// ---- Tanks -------------------------------------------------------------------------------

TEST_F(Calibration, TankCaptureFromTheLevelSender)
{
    ScreenHandler = screen_fuel_setup;
    nav.menu_cursor = 4;
    open_tank_setup(0);
    press({KEY_NONE});
    EXPECT_GOLDEN("tank_setup");
    turn(KEY_CW, 6); // CALIBRATE TANK
    press(KEY_PUSH);
    ASSERT_EQ(ScreenHandler, screen_tank_calibrate);
    EXPECT_EQ(cal_screens.tank_cal_manual, 0);

    // Empty tank reads high, full tank low: a falling table.
    const uint16_t readings[6] = {3100, 2500, 2000, 1500, 1100, 400};
    for (int k = 0; k < 6; ++k) {
        raw.raw_fuel_level[0] = readings[k];
        press(KEY_CW);
        press(KEY_PUSH);
        EXPECT_EQ(PACKED(settings.tank1_cal[k]), readings[k]);
    }
    press(KEY_NONE);
    EXPECT_GOLDEN("tank_calibrate");
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_tank_setup);
    EXPECT_EQ(nav.menu_cursor, 6);
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_fuel_setup);
    EXPECT_EQ(nav.menu_cursor, 4) << "the FUEL SETUP row that opened the page";
    EXPECT_EQ(settings_validate(settings), nullptr);
}

TEST_F(Calibration, TankManualEntryAndTheSlopeCheck)
{
    cal_screens.cal_tank = 1;
    ScreenHandler = screen_tank_calibrate;
    press({KEY_PUSH, KEY_CW, KEY_PUSH}); // MODE: MANUAL
    EXPECT_EQ(cal_screens.tank_cal_manual, 1);

    // Default table 809, 680, 520, 427, 356, 251 falls; 251 -> 400 makes the last pair rise.
    turn(KEY_CCW, 1); // row 6
    press({KEY_SOFT3, KEY_SOFT3, KEY_PUSH, KEY_CW}); // step 100: 351
    press({KEY_SOFT3, KEY_CW});                      // step back to 1: 352
    EXPECT_EQ(PACKED(settings.tank2_cal[5]), 352);
    press(KEY_PUSH);
    settings.tank2_cal[5] = 400;
    press(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, screen_slope_error);
    press(KEY_CW);
    EXPECT_EQ(ScreenHandler, screen_tank_calibrate);
    EXPECT_EQ(PACKED(settings.tank2_cal[5]), 400) << "kept as edited for correction";

    // Manual values wrap within 0..4096.
    settings.tank2_cal[5] = 4090;
    press({KEY_PUSH, KEY_SOFT3, KEY_CW});
    EXPECT_EQ(PACKED(settings.tank2_cal[5]), 0);
    press(KEY_CCW);
    EXPECT_EQ(PACKED(settings.tank2_cal[5]), 4096);
    press(KEY_PUSH);

    // A rising table with a last value that drops is refused.
    const uint16_t rising[6] = {100, 200, 300, 400, 500, 450};
    std::memcpy(settings.tank2_cal, rising, sizeof rising);
    press(KEY_SOFT2);
    EXPECT_EQ(ScreenHandler, screen_slope_error);
    press(KEY_NONE);
    EXPECT_GOLDEN("slope_error");
    press(KEY_PUSH);
    settings.tank2_cal[5] = 600;
    settings.tank2_mode = TANK_SENDER;
    press(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(derived.fuel_config, 11) << "EXIT derives the fuel configuration";
}

TEST_F(Calibration, TankSetupRowsAndExit)
{
    ScreenHandler = screen_fuel_setup;
    open_tank_setup(0);
    settings.fuel_unit = 1; // gallons: tenths, no litre resolution row
    settings.tank1_size = 215;
    press(KEY_NONE);
    turn(KEY_CW, 3); // LOW ALARM value, 0..size
    press({KEY_PUSH, KEY_SOFT3, KEY_SOFT3});
    settings.tank1_low_alarm = 150;
    press(KEY_CW);
    EXPECT_EQ(PACKED(settings.tank1_low_alarm), 0) << "150 + 10.0 is beyond the 21.5 G tank";
    press(KEY_PUSH);
    turn(KEY_CCW, 3); // TANK 1 mode -> OFF: no other row
    press({KEY_PUSH, KEY_CCW, KEY_PUSH});
    EXPECT_EQ(PACKED(settings.tank1_mode), TANK_OFF);
    press(KEY_CW);
    EXPECT_EQ(nav.menu_cursor, 0);
    press(KEY_SOFT1);
    EXPECT_EQ(ScreenHandler, run_screen);
    EXPECT_EQ(derived.fuel_config, 5) << "flow sender 1 without tanks";
}

} // namespace
