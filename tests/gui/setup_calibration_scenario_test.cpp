// The EMS setup pages and their calibration screens reached the way an
// installer reaches them: from the run screen through the quick menu, MAIN
// MENU and EMS SETUP, with the keys and the knob only, in the real window.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "support/firmware_reset.h"
#include "support/window_scenario.h"

namespace {

// A key and the pass that takes it, n times.
using test::keys;

QString expect(const QString& name, const QString& value) { return "expect " + name + " " + value + "\n"; }

// Power on past the splash and the maintenance notice to the engine page.
const QString POWER_ON = "power on\n" + keys(1) + keys(1) + expect("screen", "run_screen");
// Run screen to MAIN MENU: the quick menu, then MENU (above EXIT wraps to the bottom).
const QString TO_MAIN_MENU = keys(6) + expect("popup", "popup_quick_menu") + keys(8) + keys(6) +
                             expect("screen", "screen_main_menu") + expect("menu_cursor", "0");
// Run screen to EMS SETUP, on its first tile.
const QString TO_EMS_SETUP = TO_MAIN_MENU + keys(7) + keys(6) + expect("screen", "screen_ems_setup_menu") +
                             expect("menu_cursor", "0");
// Run screen to ANALOG AUX 2 (a generic sender by default): page 2 starts at tile 8.
const QString TO_AUX2 = TO_EMS_SETUP + keys(5) + expect("menu_cursor", "8") + keys(7) + keys(6) +
                        expect("screen", "screen_channel_setup") + expect("menu_cursor", "0");
// On ANALOG AUX 2: the CALIBRATE SENDER row under MODE.
const QString TO_CALIBRATE = keys(7) + keys(6) + expect("screen", "screen_sender_calibration") +
                             expect("cal_kind", "2") + expect("menu_cursor", "0");
// Run screen to MISCELLANEOUS SETUP (tile 5), then SAVE or RECALL from its first row.
const QString TO_MISC = TO_MAIN_MENU + keys(8, 2) + keys(6) + expect("screen", "screen_misc_setup");
// DONE goes back to the row used: after RECALL, SAVE is the row above.
const QString SAVE = keys(7) + keys(6) + expect("screen", "screen_done") + keys(1);
const QString RECALL = keys(7, 2) + keys(6) + expect("screen", "screen_done") + keys(1);
const QString SAVE_AFTER_RECALL = keys(8) + keys(6) + expect("screen", "screen_done") + keys(1);

// One turn with the value editor open: push, turn n times, push.
QString edit(int turn_key, int n) { return keys(6) + keys(turn_key, n) + keys(6); }

const QString AUX2_ADC = "settings.generic_cfg[3].cal.point[%1].adc";
QString aux2_adc(int point) { return AUX2_ADC.arg(point); }

class SetupCalibrationScenario : public test::WindowScenario {
protected:
    SetupCalibrationScenario() : WindowScenario("setup") {}
    QByteArray settings_file() const
    {
        QFile f(dir.filePath("SDCARD/SORVIK2.EMS"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The EGT and CHT bars of an engine-page screenshot (the fuel level beside
    // them still settles through its filter).
    QImage bars(const char* name) { return QImage(dir.filePath(name)).copy(0, 150, 280, 122); }
};

TEST_F(SetupCalibrationScenario, SenderCalibrationAndCurrentZeroSurviveSaveAndRecall)
{
    // ADC 1 (row 2) of the two-point table 0..4095 raised by one; EXIT drops
    // the edit.
    run(POWER_ON + TO_AUX2 + TO_CALIBRATE + keys(7, 2) + edit(7, 1) + expect(aux2_adc(0), "0") + keys(1) +
        expect("screen", "run_screen") + expect(aux2_adc(0), "0"));

    // ADC 1 wrapped down to 4095 equals ADC 2: BACK is refused with SLOPE ERROR,
    // and any key goes back to the same row of the working copy.
    run(TO_AUX2 + TO_CALIBRATE + keys(7, 2) + edit(8, 1) + keys(2) + expect("screen", "screen_slope_error") +
        expect(aux2_adc(0), "0") + keys(3) + expect("screen", "screen_sender_calibration") +
        expect("menu_cursor", "2"));
    // ADC 2 one lower makes a falling table; a third point at 4095 is out of
    // order: BACK refuses it, EXIT leaves without storing anything.
    run(keys(7, 2) + edit(8, 1) + keys(7) + expect("menu_cursor", "0") + edit(7, 1) + keys(8) +
        expect("menu_cursor", "6") + edit(8, 1) + keys(2) + expect("screen", "screen_slope_error") + keys(3) +
        keys(1) + expect("screen", "run_screen") + expect("settings.generic_cfg[3].cal.count", "2") +
        expect(aux2_adc(0), "0") + expect(aux2_adc(1), "4095"));
    // Again: ADC 1 to 4095, ADC 2 to 4094, three points with ADC 3 at 4093,
    // a falling table; BACK stores it and lands on the CALIBRATE SENDER row.
    run(TO_AUX2 + TO_CALIBRATE + keys(7, 2) + edit(8, 1) + keys(7, 2) + edit(8, 1) + keys(7) +
        expect("menu_cursor", "0") + edit(7, 1) + keys(8) + expect("menu_cursor", "6") + edit(8, 3) +
        keys(2) + expect("screen", "screen_channel_setup") + expect("menu_cursor", "1") +
        expect("settings.generic_cfg[3].cal.count", "3") + expect(aux2_adc(0), "4095") +
        expect(aux2_adc(1), "4094") + expect(aux2_adc(2), "4093"));

    // BACK to EMS SETUP on AUX 2, on to CURRENT SETUP; CURRENT DISPLAY ON
    // brings its rows, with ZERO CURRENT SENSOR next to last (two turns back).
    run(keys(2) + expect("screen", "screen_ems_setup_menu") + expect("menu_cursor", "9") + keys(7, 2) + keys(6) +
        expect("screen", "screen_current_setup") + edit(7, 1) + expect("settings.current_display", "1") +
        keys(8, 2) + expect("menu_cursor", "9") + keys(6) + expect("screen", "screen_zero_main_current") +
        "slider \"EMS/Current:\" 2100\n" +
        // NO leaves the zero alone; YES takes the live reading (x 16) and says DONE.
        keys(6) + expect("screen", "screen_current_setup") + expect("menu_cursor", "9") +
        expect("main_current_zero", "32768") + keys(6) + keys(7) + keys(6) + expect("screen", "screen_done") +
        expect("main_current_zero", "33600") + keys(3) + expect("screen", "screen_current_setup") +
        expect("menu_cursor", "9") + keys(1) + expect("screen", "run_screen"));

    // SAVE, power cycle (factory settings again), RECALL, SAVE: the same file.
    // The unit powers on where it was left, so EXIT to the run screen first.
    run(TO_MISC + SAVE + keys(1) + expect("screen", "run_screen"));
    const QByteArray saved = settings_file();
    ASSERT_FALSE(saved.isEmpty());
    run("power off\npasses 1\n" + POWER_ON + expect("settings.current_display", "0") + expect(aux2_adc(0), "0") +
        TO_MISC + RECALL + expect("settings.current_display", "1") +
        expect("settings.generic_cfg[3].cal.count", "3") + expect(aux2_adc(2), "4093") + SAVE_AFTER_RECALL);
    EXPECT_EQ(settings_file(), saved);
}

TEST_F(SetupCalibrationScenario, TankCaptureFromTheLevelSliderAndTheEgtCountOnTheEnginePage)
{
    // FUEL SETUP (tile 4); with flow 1 only, TANK 1 SETUP is three turns back
    // from UNIT; CALIBRATE TANK is its seventh row in SENDER mode.
    run(POWER_ON + TO_EMS_SETUP + keys(7, 4) + keys(6) + expect("screen", "screen_fuel_setup") + keys(8, 3) +
        keys(6) + expect("screen", "screen_tank_setup") + expect("cal_tank", "0") + keys(7, 6) + keys(6) +
        expect("screen", "screen_tank_calibrate") + expect("tank_cal_manual", "0") + expect("menu_cursor", "0"));

    // Each push on a level row captures the level slider: a rising table.
    QString capture;
    for (int level : {300, 1000, 1700, 2400, 3100, 4096})
        capture += keys(7) + QString("slider \"EMS/Fuel Level1:\" %1\n").arg(level) + keys(6);
    run(capture + keys(2) + expect("screen", "screen_tank_setup") + expect("menu_cursor", "6") +
        expect("settings.tank1_cal", "[300,1000,1700,2400,3100,4096]"));

    // A reversed point on the 40 % row: SLOPE ERROR, back to the calibrate
    // screen with the table as captured; a good capture there lets BACK store.
    run(keys(6) + keys(7, 3) + "slider \"EMS/Fuel Level1:\" 500\n" + keys(6) + keys(2) +
        expect("screen", "screen_slope_error") + keys(3) + expect("screen", "screen_tank_calibrate") +
        expect("menu_cursor", "3") + expect("settings.tank1_cal", "[300,1000,500,2400,3100,4096]") +
        "slider \"EMS/Fuel Level1:\" 1800\n" + keys(6) + keys(2) + expect("screen", "screen_tank_setup") +
        expect("settings.tank1_cal", "[300,1000,1800,2400,3100,4096]"));

    // BACK lands on the TANK 1 SETUP row of FUEL SETUP, BACK again on the FUEL
    // tile; EXIT from there shows the engine page as it is now.
    run(keys(2) + expect("screen", "screen_fuel_setup") + expect("menu_cursor", "5") + keys(2) +
        expect("screen", "screen_ems_setup_menu") + expect("menu_cursor", "4") + keys(1) +
        expect("screen", "run_screen") + "passes 2\nscreenshot lcd two.png\n");

    // EGT SETUP (the third tile): four EGT channels change the engine page at
    // once; two again give back the same page.
    const QString TO_EGT = TO_EMS_SETUP + keys(7, 2) + keys(6) + expect("screen", "screen_egt_setup");
    run(TO_EGT + edit(7, 2) + expect("settings.egt_channels", "4") + keys(1) + expect("screen", "run_screen") +
        "passes 2\nscreenshot lcd four.png\n" + TO_EGT + edit(8, 2) + expect("settings.egt_channels", "2") +
        keys(1) + "passes 2\nscreenshot lcd again.png\n");
    // BACK from EMS SETUP and GPS SETUP lands on their main-menu tiles.
    run(TO_EMS_SETUP + keys(2) + expect("screen", "screen_main_menu") + expect("menu_cursor", "1") + keys(7) +
        keys(6) + expect("screen", "screen_gps_setup") + keys(2) + expect("screen", "screen_main_menu") +
        expect("menu_cursor", "2") + keys(1) + expect("screen", "run_screen"));

    ASSERT_FALSE(bars("two.png").isNull());
    EXPECT_NE(bars("two.png"), bars("four.png"));
    EXPECT_EQ(bars("two.png"), bars("again.png"));
}

} // namespace
