// The menus and pilot pop-ups played as a user would, through scenario
// scripts in the real window with a temporary SDCARD folder: SAVE, power
// cycle, RECALL byte for byte; a damaged file, a full card and a missing card;
// the timer, fuel totals, magneto check and a flight over scenario time.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/text.h"
#include "host/script/scenario.h"
#include "host/window/main_window.h"
#include "sensors/channels.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/window_scenario.h"

namespace {

// A key and the pass that takes it, n times.
using test::keys;

// Power on past the splash and the maintenance notice (the hobbs record
// starts at zero) to the engine page.
const QString POWER_ON = "power on\n" + keys(1) + keys(1) + "expect screen run_screen\n";
// Engine page to MISCELLANEOUS SETUP: quick menu, MENU (above EXIT wraps to
// the bottom), tile 5 (two steps back from tile 0).
const QString TO_MISC = keys(6) + "expect popup popup_quick_menu\n" + keys(8) + keys(6) +
                        "expect screen screen_main_menu\n" + keys(8, 2) + keys(6) + "expect screen screen_misc_setup\n";
// Past the power-on hold-off the sliders' resting values raise alarms, and
// each key acknowledges the box in sight: key 3 (nothing on the engine page)
// until every box has gone.
const QString ACK_ALARMS = keys(3, 16);
// From the MISCELLANEOUS SETUP's first row.
const QString SAVE = keys(7) + keys(6);
const QString RECALL = keys(7, 2) + keys(6);

class MenusScenario : public test::WindowScenario {
protected:
    MenusScenario() : WindowScenario("menus") {}
};

// True when the LCD shows `text` in font 16 at (x, y), left-aligned, white.
bool lcd_shows(int16_t x, int16_t y, const char* text)
{
    std::vector<uint8_t> saved(ems::Framebuffer, ems::Framebuffer + ems::FRAME_BYTES);
    ems::fill_rect(x, y, 330, int16_t(y + 15), 0);
    ems::draw_text(x, y, text, 16, ems::ALIGN_LEFT, 15);
    const bool same = std::equal(saved.begin(), saved.end(), ems::Framebuffer);
    std::copy(saved.begin(), saved.end(), ems::Framebuffer);
    return same;
}

TEST_F(MenusScenario, RegistrationSurvivesSavePowerCycleAndRecall)
{
    run(POWER_ON + TO_MISC + keys(6) + "expect screen screen_registration\n" + keys(7) + keys(2) +
        "expect settings.registration \"SEG NO  \"\n" + SAVE + "expect screen screen_done\n" + keys(6) +
        "expect screen screen_misc_setup\n" + keys(1));
    const QByteArray saved = file("SORVIK2.EMS");
    ASSERT_EQ(saved.size(), 1875);
    EXPECT_FALSE(QFile::exists(card("SORVIK2.TMP")));

    run("power off\npasses 1\n" + POWER_ON + "expect settings.registration \"REG NO  \"\n" + TO_MISC + RECALL +
        "expect screen screen_done\nexpect settings.registration \"SEG NO  \"\n" + keys(1) +
        "expect screen screen_misc_setup\nexpect menu_cursor 2\n" + keys(8) + keys(6) +
        "expect screen screen_done\n" + keys(1));
    EXPECT_EQ(file("SORVIK2.EMS"), saved);

    // A damaged file is refused whole and changes nothing.
    QByteArray damaged = saved;
    damaged[10] = char(damaged[10] ^ 0x01);
    QFile f(card("SORVIK2.EMS"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(damaged);
    f.close();
    run(keys(8) + keys(6) + keys(7) + keys(2) + "expect settings.registration \"TEG NO  \"\n" + RECALL +
        "expect screen screen_invalid_settings\nexpect settings.registration \"TEG NO  \"\n");
}

TEST_F(MenusScenario, AFailedSaveKeepsTheOldFileAndNoCardWritesNothing)
{
    run(POWER_ON + "check \"EMS/SD Card Mounted\" off\n" + TO_MISC + SAVE + "expect screen screen_insert_card\n" +
        keys(6) + "expect screen screen_misc_setup\n");
    EXPECT_TRUE(QDir(dir.filePath("SDCARD")).entryList(QDir::Files | QDir::System).isEmpty());

    run("check \"EMS/SD Card Mounted\" on\n" + keys(6) + "expect screen screen_done\n" + keys(1));
    const QByteArray old_file = file("SORVIK2.EMS");
    ASSERT_EQ(old_file.size(), 1875);
    ASSERT_EQ(::symlink("/dev/full", card("SORVIK2.TMP").toLocal8Bit().constData()), 0);
    run(keys(8) + keys(6) + "expect screen screen_registration\n" + keys(7) + keys(2) + keys(7) + keys(6) +
        "expect screen screen_save_failed\n");
    EXPECT_EQ(file("SORVIK2.EMS"), old_file);
}

TEST_F(MenusScenario, BacklightLeanCruiseAndRefillFromTheQuickMenu)
{
    // BACKLIGHT is the second item from the bottom: two turns up from EXIT.
    run(POWER_ON + keys(6) + keys(8, 2) + keys(6) + "expect popup popup_backlight\n" + keys(8, 16) +
        "expect settings.backlight 2\n" + keys(7, 16) + "expect settings.backlight 31\n" + keys(6) +
        "expect popup none\n");
    // CRUISE MODE on, then LEAN MODE on turns it off.
    run(keys(6) + keys(7, 5) + keys(6) + "expect popup popup_cruise_mode\n" + keys(2) +
        "expect cruise_mode 1\nexpect popup none\n" + keys(6) + keys(7, 4) + keys(6) +
        "expect popup popup_lean_mode\n" + keys(2) + "expect lean_mode 1\nexpect cruise_mode 0\n");
    // A calculated tank of 45 L refilled with 050 holds 45 L.
    ems::settings.tank1_mode = ems::TANK_CALCULATED;
    ems::fuel_config_derive();
    run(keys(6) + keys(7, 3) + keys(6) + "expect popup popup_refill_tank1\n" + keys(6) + keys(7, 5) +
        "expect refill_level [50,0]\n" + keys(1) + "expect refill_level [45,0]\nexpect tank1_contents 315000\n" +
        "passes 1\nexpect tank_level [45,0]\nexpect popup none\n");
}

TEST_F(MenusScenario, PilotActionsOverScenarioTime)
{
    // Timer: preset 0:01:30 through the digits, RESET, START, then 60 s.
    run(POWER_ON + keys(6) + keys(7, 7) + keys(6) + "expect popup popup_timer\n" + keys(6) + keys(6) + keys(7) +
        keys(6) + keys(7, 3) + "expect pilot_timer_preset 90\n" + keys(4) + keys(3) + keys(1) +
        "expect popup none\nexpect pilot_timer 90\nticks 600\npasses 1\nexpect pilot_timer 30\n" + ACK_ALARMS);

    // Left alone, a quick menu closes after 10 slow ticks; a turn starts them again.
    run(keys(6) + "ticks 180\npasses 1\nexpect popup popup_quick_menu\n" + keys(7) +
        "ticks 180\npasses 1\nexpect popup popup_quick_menu\nticks 20\npasses 1\nexpect popup none\n");

    // Fuel totals: 36.0 L/h for 100 s is one litre (counted in tenths); RESET clears it.
    ems::settings.tank_resolution = 1;
    QString fuel = "slider \"EMS/Fuel Flow1:\" 70\n";
    for (int i = 0; i < 10; ++i) fuel += "ticks 100\npasses 6\n";
    run(fuel + "slider \"EMS/Fuel Flow1:\" 0\n" + keys(6) + keys(7, 6) + keys(6) +
        "expect popup popup_fuel_totals\nexpect fuel_used1 70000\npasses 1\n");
    EXPECT_TRUE(lcd_shows(220, 114, "1.0 L"));
    run(keys(2) + "expect fuel_used1 0\nexpect popup popup_fuel_totals\npasses 1\n");
    EXPECT_TRUE(lcd_shows(220, 114, "0.0 L"));

    // Magneto check: the present RPM becomes the reference.
    run(keys(1) + "slider \"EMS/RPM:\" 600\npasses 3\n" + ACK_ALARMS + keys(6) + keys(7, 2) + keys(6) +
        "expect mag_check_countdown 60\nexpect popup none\n");
    EXPECT_NE(ems::sens.rpm, 0);
    run("expect mag_check_rpm1 " + QString::number(ems::sens.rpm) + "\n");

    // A flight: 60 s of ticks give 60 s; nothing counts while the unit is off.
    run(keys(6) + keys(7) + keys(6) + "expect flight_in_progress 1\nticks 600\npasses 1\nexpect flight_time 60\n" +
        "power off\npasses 1\nticks 100\nexpect flight_time 60\n" + POWER_ON + "expect flight_time 0\n");
}

} // namespace
