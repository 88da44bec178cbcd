// The power cycle: the order of the power-on sequence, the splash and
// maintenance phases, the main-loop pass and power-off.
#include <gtest/gtest.h>

#include "alarms/alarm_words.h"
#include "app/power.h"
#include "app/tick.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/nmea_io.h"
#include "system/clock.h"
#include "system/raw_inputs.h"
#include "ui/navigation.h"
#include "ui/screen.h"

namespace {

using namespace ems;

int screen_calls = 0;
uint8_t key_seen_by_screen = 0;
void counting_screen()
{
    ++screen_calls;
    if (KeyEvent) key_seen_by_screen = KeyEvent;
    KeyEvent = 0;
}

int other_calls = 0;
void other_screen()
{
    ++other_calls;
    KeyEvent = 0;
}

class Power : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        screen_calls = other_calls = 0;
        key_seen_by_screen = 0;
        ScreenHandler = counting_screen;
    }
    void TearDown() override { power_off(), firmware_pass(); }

    // Runs passes until the main loop has been entered.
    void skip_to_running()
    {
        ASSERT_TRUE(power_on());
        key_press(1);
        firmware_pass(); // ends the splash, shows the maintenance notice
        key_press(1);
        firmware_pass(); // ends the notice, first main-loop pass
        ASSERT_EQ(sys.phase, PowerPhase::Running);
    }
    test::FakePlatform platform;
};

TEST_F(Power, PowerOnPreparesTheFirmwareState)
{
    platform.slider_values[0] = 2000; // Volts
    platform.slider_values[1] = 1234; // OAT
    platform.slider_values[2] = 500;  // RPM
    settings.egt_channels = 9;
    gps.gps_fix_valid = 1;
    gps.gps_sats_in_view = 7;
    fuel_hobbs.hobbs.hobbs_hours = 12;
    run.run_page = 3;
    nav.edit_step = 100;

    ASSERT_TRUE(power_on());
    EXPECT_EQ(raw.raw_volts, 2000);
    EXPECT_EQ(raw.raw_oat, 1234);
    EXPECT_EQ(raw.rpm_period, 0) << "the RPM input is seeded only when the main loop is entered";
    EXPECT_EQ(settings.egt_channels, 2);
    EXPECT_EQ(int(fuel_hobbs.hobbs.hobbs_hours), 0);
    EXPECT_EQ(run.run_page, 0);
    EXPECT_EQ(gps.gps_fix_valid, 0);
    EXPECT_EQ(gps.gps_sats_in_view, 0);
    EXPECT_EQ(gps.magvar_counter, 600);
    EXPECT_EQ(nav.edit_step, 1);
    EXPECT_EQ(sys.phase, PowerPhase::Splash);

    alarms.alarm_flags = alarms.alarm_acked = 0xFFFFFFFFu; // left over from the last run
    key_press(1);
    firmware_pass();
    key_press(1);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Running);
    EXPECT_EQ(alarms.alarm_flags, 0u);
    EXPECT_EQ(alarms.alarm_acked, 0u);
    EXPECT_EQ(raw.rpm_period, 500);
    EXPECT_EQ(platform.rpm_label_shows, 1);
    EXPECT_EQ(sens.flow_window, 10000);
    EXPECT_EQ(derived.rpm1_scale, 1558600);
    EXPECT_EQ(tick.alarm_holdoff, 5);
    EXPECT_EQ(screen_calls, 1);
}

TEST_F(Power, PhasesRunTheirPassesAndDiscardAKeyFromTheirLastFrame)
{
    ASSERT_TRUE(power_on());
    for (int i = 0; i < PHASE_MAX_PASSES; ++i) firmware_pass();
    EXPECT_EQ(platform.presents, PHASE_MAX_PASSES);
    key_press(2); // during the splash's last frame
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Maintenance) << "the key ends nothing: it goes with the splash";
    // The notice: a white outline round a red box.
    EXPECT_EQ(Framebuffer[96 * 480 + 69], COLOUR_WHITE);
    EXPECT_EQ(Framebuffer[97 * 480 + 70], COLOUR_RED);
    EXPECT_EQ(Framebuffer[175 * 480 + 410], COLOUR_RED);
    EXPECT_EQ(Framebuffer[176 * 480 + 411], COLOUR_WHITE);
    for (int i = 1; i < PHASE_MAX_PASSES; ++i) firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Maintenance);
    key_press(3); // during the notice's last frame
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Running);
    EXPECT_EQ(screen_calls, 1);
    EXPECT_EQ(key_seen_by_screen, 0) << "the first run-screen pass gets no key";
}

TEST_F(Power, MaintenanceNoticeIsSkippedWhileTheTimerRuns)
{
    ASSERT_TRUE(power_on());
    fuel_hobbs.hobbs.maint_hours = 25; // as if hobbs_load had filled the record
    key_press(6);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Running);
    EXPECT_EQ(screen_calls, 1);
    EXPECT_EQ(key_seen_by_screen, 0);
}

TEST_F(Power, KeyEndsOnlyTheSplashAndNeverReachesTheFirstScreen)
{
    key_press(4); // pressed while off: the splash starts with no key pending
    ASSERT_TRUE(power_on());
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Splash);
    const int shown = platform.presents;
    key_press(3);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Maintenance) << "the notice starts with no key pending";
    EXPECT_EQ(platform.presents, shown + 1) << "the ended splash pass is not shown, the notice is";
    EXPECT_EQ(KeyEvent, 0);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Maintenance);
    key_press(5);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Running);
    EXPECT_EQ(screen_calls, 1);
    EXPECT_EQ(key_seen_by_screen, 0);
}

TEST_F(Power, OffDuringThePhasesEndsTheLoopBeforeItsFirstPass)
{
    ASSERT_TRUE(power_on());
    firmware_pass();
    power_off();
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Splash) << "the splash runs on";
    key_press(1);
    firmware_pass();
    key_press(1);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Off);
    EXPECT_EQ(screen_calls, 0);
}

TEST_F(Power, OnCancelsAPendingOff)
{
    ASSERT_TRUE(power_on());
    firmware_pass();
    power_off();
    EXPECT_FALSE(power_on()) << "the splash runs on";
    key_press(1);
    firmware_pass();
    key_press(1);
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Running);
    EXPECT_EQ(screen_calls, 1);
}

TEST_F(Power, OnWhileRunningIsIgnored)
{
    skip_to_running();
    settings.egt_channels = 6;
    EXPECT_FALSE(power_on());
    EXPECT_EQ(settings.egt_channels, 6);
    EXPECT_EQ(sys.phase, PowerPhase::Running);
}

TEST_F(Power, PowerCycleResumesOnTheLastScreenWithDefaults)
{
    skip_to_running();
    ScreenHandler = other_screen;
    settings.egt_channels = 6;
    power_off();
    firmware_pass();
    EXPECT_EQ(sys.phase, PowerPhase::Off);
    firmware_pass(); // nothing runs while off
    EXPECT_EQ(other_calls, 0);

    skip_to_running();
    EXPECT_EQ(other_calls, 1);
    EXPECT_EQ(settings.egt_channels, 2);
}

// The screen draws what the previous pass read: the clock and the GPS sentences
// come after it. RMC and GSA both set the fix flag; GSA, parsed later, wins.
TEST_F(Power, ClockAndGpsFollowTheScreenInThePass)
{
    platform.now = UtcTime{10, 0, 12, 1, 5, 126};
    skip_to_running();
    static uint8_t second_seen, sats_seen;
    ScreenHandler = [] {
        second_seen = clk.clock_utc.second;
        sats_seen = gps.gps_sats_used;
    };
    platform.now.second = 11;
    for (const char* body : {"GPRMC,120011,A,4807.038,N,01131.000,E,0.0,0.0,010626,,", "GPGGA,120011,,,,,1,07,,0,M,,,,",
                             "GPGSA,A,1,,,,,,,,,,,,,,,"}) {
        const std::string line = test::nmea_sentence(body);
        ComPort1RxChar(reinterpret_cast<const uint8_t*>(line.data()), line.size());
    }
    firmware_pass();
    EXPECT_EQ(second_seen, 10);
    EXPECT_EQ(sats_seen, 0);
    EXPECT_EQ(clk.clock_utc.second, 11);
    EXPECT_EQ(gps.gps_sats_used, 7);
    EXPECT_EQ(gps.gps_fix_valid, 0);
}

TEST_F(Power, CardSwitchIsReadOnEveryPass)
{
    platform.boxes[size_t(CheckBox::SdCardMounted)] = false;
    ASSERT_TRUE(power_on());
    EXPECT_EQ(sys.sd_card_mounted, 1);
    key_press(1);
    firmware_pass();
    key_press(1);
    firmware_pass();
    EXPECT_EQ(sys.sd_card_mounted, 0) << "the first pass already reports the card missing";
    EXPECT_EQ(sys.sd_card_present, 0);
    platform.boxes[size_t(CheckBox::SdCardMounted)] = true;
    platform.boxes[size_t(CheckBox::VexaOnOff)] = true;
    firmware_pass();
    EXPECT_EQ(sys.sd_card_mounted, 1);
    EXPECT_EQ(ecu.vexa_data_valid, 1);
}

TEST_F(Power, UlPowerSwitchesActOnlyForTheUlPowerEcu)
{
    skip_to_running();
    platform.boxes[size_t(CheckBox::EcuComms)] = true;
    platform.boxes[size_t(CheckBox::Ignition2)] = true;
    platform.boxes[size_t(CheckBox::MapSensor)] = true;
    firmware_pass();
    EXPECT_EQ(ecu.ul_data_valid, 0);
    EXPECT_EQ(ecu.ignition_state, 0);
    EXPECT_EQ(alarms.alarm_flags & 0x10000u, 0u);

    settings.ecu_type = 2;
    firmware_pass();
    EXPECT_EQ(ecu.ul_data_valid, 1);
    EXPECT_EQ(tick.ul_data_timeout, 3);
    EXPECT_EQ(ecu.ignition_state, 8);
    EXPECT_EQ(alarms.alarm_flags & 0x10000u, 0x10000u);
    platform.boxes[size_t(CheckBox::Ignition1)] = true;
    firmware_pass();
    EXPECT_EQ(ecu.ignition_state, 12);

    // An unticked fault box clears its bit in both words.
    alarms.alarm_acked |= 0x10000u;
    platform.boxes[size_t(CheckBox::MapSensor)] = false;
    firmware_pass();
    EXPECT_EQ(alarms.alarm_flags & 0x10000u, 0u);
    EXPECT_EQ(alarms.alarm_acked & 0x10000u, 0u);

    // With another ECU the flag set earlier still times out.
    settings.ecu_type = 0;
    for (int i = 0; i < 20 * 4; ++i) Timer1Timer();
    firmware_pass();
    EXPECT_EQ(ecu.ul_data_valid, 0);
}

TEST_F(Power, SwitchedOffChannelsClearTheirAlarmBits)
{
    skip_to_running();
    settings.channel_mode[0] = 0;
    settings.channel_mode[3] = 0;
    settings.fuel_pressure_display = 0;
    settings.current_display = 0;
    settings.map_display = 0;
    alarms.alarm_flags = alarms.alarm_acked = 0x400u | 0x2000u | 0x100u | 0x20u | 0x800u | 0x04u;
    firmware_pass();
    EXPECT_EQ(alarms.alarm_flags, 0x800u) << "channel 2 is in pressure mode and keeps its bit";
    EXPECT_EQ(alarms.alarm_acked, 0x800u);

    // With the UL Power ECU, channels 1 and 2 are not processed at all.
    settings.ecu_type = 2;
    alarms.alarm_flags = 0x400u;
    firmware_pass();
    EXPECT_EQ(alarms.alarm_flags & 0x400u, 0x400u);
}

TEST_F(Power, UlPowerFuelPressureAlarmOutlivesThePass)
{
    skip_to_running();
    tick.alarm_holdoff = 0;
    settings.ecu_type = ECU_UL_POWER;
    settings.fuel_pressure_cfg.low_alarm_on = 1;
    ul_fuel_pressure_input(0); // below the low limit
    ASSERT_TRUE(alarms.alarm_flags & ALARM_FUEL_PRESSURE);
    firmware_pass();
    EXPECT_TRUE(alarms.alarm_flags & ALARM_FUEL_PRESSURE);
}

TEST_F(Power, MinMaxStartsFromTheReadingsAfterTheHoldoff)
{
    platform.slider_values[0] = 1500; // about 13 V, ramping up from 0 after power-on
    skip_to_running();
    for (int t = 0; t < 100; ++t) {
        Timer1Timer();
        firmware_pass();
    }
    ASSERT_EQ(tick.alarm_holdoff, 0);
    EXPECT_GT(sens.volts_x10, 100);
    EXPECT_EQ(+minmax.volts_min, sens.volts_x10);
    EXPECT_EQ(+minmax.volts_max, sens.volts_x10);
}

TEST_F(Power, KeyPressKeepsOnlyThePendingKey)
{
    key_press(2);
    key_press(4);
    EXPECT_EQ(KeyEvent, 2);
    KeyEvent = 0;
    key_press(4);
    EXPECT_EQ(KeyEvent, 4);
}

} // namespace
