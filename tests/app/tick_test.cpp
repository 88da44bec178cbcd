// The 100 ms tick: blink, slow tick, countdowns, link time-outs, pilot timer,
// and the EGT/CHT scanning displays.
#include <gtest/gtest.h>

#include "app/tick.h"
#include "gps/gps_data.h"
#include "pages/run_screen.h"
#include "sensors/ecu_data.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"

namespace {

using namespace ems;

class Tick : public ::testing::Test {
protected:
    void SetUp() override { test::reset_firmware(); }
    static void ticks(int n)
    {
        for (int i = 0; i < n; ++i) Timer1Timer();
    }
    static void slow_ticks(int n) { ticks(20 * n); }
};

TEST_F(Tick, BlinkTogglesOnEveryEleventhTick)
{
    std::vector<int> toggles;
    uint8_t last = tick.blink_flag;
    for (int i = 1; i <= 34; ++i) {
        Timer1Timer();
        if (tick.blink_flag != last) toggles.push_back(i), last = tick.blink_flag;
    }
    EXPECT_EQ(toggles, (std::vector<int>{11, 22, 33}));
}

TEST_F(Tick, FirstSlowTickComesWithTheTwentiethTick)
{
    tick.alarm_holdoff = 5;
    ticks(19);
    EXPECT_EQ(tick.alarm_holdoff, 5);
    ticks(1);
    EXPECT_EQ(tick.alarm_holdoff, 4);
    ticks(19);
    EXPECT_EQ(tick.alarm_holdoff, 4);
    ticks(1);
    EXPECT_EQ(tick.alarm_holdoff, 3);
}

TEST_F(Tick, CountdownsStopAtZero)
{
    tick.alarm_holdoff = 1;
    tick.mag_check_countdown = 2;
    tick.quick_menu_countdown = 0;
    slow_ticks(3);
    EXPECT_EQ(tick.alarm_holdoff, 0);
    EXPECT_EQ(tick.mag_check_countdown, 0);
    EXPECT_EQ(tick.quick_menu_countdown, 0);
}

TEST_F(Tick, LinkTimeOutsClearTheirFlags)
{
    // VEXA: nothing reloads its time-out, so every slow tick clears the flag.
    ecu.vexa_data_valid = 1;
    slow_ticks(1);
    EXPECT_EQ(ecu.vexa_data_valid, 0);

    // GPS: stale three to four slow ticks after the last good sentence.
    nmea.gps_data_timeout = 3;
    nmea.nmea_active = 1;
    gps.gps_fix_valid = 1;
    slow_ticks(3);
    EXPECT_EQ(nmea.gps_data_timeout, 0);
    EXPECT_EQ(gps.gps_fix_valid, 1);
    slow_ticks(1);
    EXPECT_EQ(gps.gps_fix_valid, 0);
    EXPECT_EQ(nmea.nmea_active, 0);

    // UL Power link likewise.
    ecu.ul_data_valid = 1;
    tick.ul_data_timeout = 3;
    slow_ticks(3);
    EXPECT_EQ(ecu.ul_data_valid, 1);
    slow_ticks(1);
    EXPECT_EQ(ecu.ul_data_valid, 0);
}

TEST_F(Tick, EngineRotationAndPilotTimer)
{
    for (int i = 1; i <= 8; ++i) {
        slow_ticks(1);
        EXPECT_EQ(tick.engine_rotate_ticks, i);
    }
    slow_ticks(1);
    EXPECT_EQ(tick.engine_rotate_ticks, 0);

    // The pilot timer shows seconds and counts one per second (ten ticks).
    tick = {};
    tick.pilot_timer_running = 1;
    tick.pilot_timer_up = 1;
    ticks(9);
    EXPECT_EQ(tick.pilot_timer, 0u);
    ticks(1);
    EXPECT_EQ(tick.pilot_timer, 1u);
    ticks(20);
    EXPECT_EQ(tick.pilot_timer, 3u);
    tick.pilot_timer_up = 0;
    ticks(50);
    EXPECT_EQ(tick.pilot_timer, 0u); // counts down, never below zero
    tick.pilot_timer_running = 0;
    tick.pilot_timer = 7;
    slow_ticks(2);
    EXPECT_EQ(tick.pilot_timer, 7u);
}

TEST_F(Tick, CountdownsAndTimersRunOnEveryPage)
{
    run.run_page = 3;
    tick.quick_menu_countdown = 2;
    tick.pilot_timer_running = 1;
    tick.pilot_timer_up = 1;
    slow_ticks(1);
    EXPECT_EQ(tick.quick_menu_countdown, 1);
    EXPECT_EQ(tick.pilot_timer, 2u);
    EXPECT_EQ(tick.engine_rotate_ticks, 1);
}

TEST_F(Tick, EgtScanningCyclesOnTheEnginePageOnly)
{
    settings.egt_scanning = 1;
    settings.egt_channels = 4;
    settings.egt_scan_time = 0; // one slow tick per channel
    std::vector<int> shown;
    for (int i = 0; i < 5; ++i) {
        slow_ticks(1);
        shown.push_back(tick.egt_scan_index);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 0, 1}));

    run.run_page = 3;
    slow_ticks(4);
    EXPECT_EQ(tick.egt_scan_index, 1);

    run.run_page = 0;
    settings.egt_scan_time = 1; // three slow ticks
    tick.egt_scan_ticks = 0;
    slow_ticks(2);
    EXPECT_EQ(tick.egt_scan_index, 1);
    slow_ticks(1);
    EXPECT_EQ(tick.egt_scan_index, 2);
}

TEST_F(Tick, ChtScanningStaysWithinTheChtChannels)
{
    settings.egt_scanning = 0;
    settings.cht_scanning = 1;
    settings.egt_channels = 4;
    settings.cht_channels = 2;
    settings.cht_scan_time = 0;
    tick.cht_scan_index = 0; // below the CHT block: first moved onto it
    std::vector<int> shown;
    for (int i = 0; i < 4; ++i) {
        slow_ticks(1);
        shown.push_back(tick.cht_scan_index);
    }
    EXPECT_EQ(shown, (std::vector<int>{5, 4, 5, 4}));
}

TEST_F(Tick, MagneticVariationCounterGrowsWithSlowTicks)
{
    gps.magvar_counter = 600;
    slow_ticks(1);
    EXPECT_EQ(gps.magvar_counter, 601);
}

} // namespace
