// The alarm box: priority of pending alarms, message texts with labels and
// the LOW/HIGH choice, box geometry, and acknowledgement by a key that then
// never reaches the run screen.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "alarms/alarm_box.h"
#include "alarms/alarm_words.h"
#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/quick_menus.h"
#include "pages/minmax_page.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/pixels.h"
#include "system/raw_inputs.h"
#include "system/tick.h"
#include "ui/screen.h"

using namespace ems;
using test::px;

namespace {

// Left edge of the "VOLTS HIGH" box.
int box_left()
{
    clear_screen();
    draw_text(240, 136, "VOLTS HIGH", 16, ALIGN_CENTRE, COLOUR_WHITE);
    return text_start_x - 10;
}

std::string message(uint32_t bit, std::string* second = nullptr)
{
    char a[ALARM_TEXT_SIZE], b[ALARM_TEXT_SIZE];
    alarm_message(bit, a, b);
    if (second) *second = b;
    return a;
}

class AlarmBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        ScreenHandler = run_screen;
    }
};

TEST_F(AlarmBox, WalksThePriorityOrderAndSkipsAcknowledged)
{
    EXPECT_EQ(alarm_pending(), 0u);
    alarms.alarm_flags = 0x200 | 0x40; // EGT/CHT and tank 1
    EXPECT_EQ(alarm_pending(), 0x40u);
    alarms.alarm_acked = 0x40;
    EXPECT_EQ(alarm_pending(), 0x200u);
    // Turbo boost comes before position/sync, analog inputs come last.
    alarms.alarm_flags = 0x40000 | 0x80000 | 0x400;
    alarms.alarm_acked = 0;
    EXPECT_EQ(alarm_pending(), 0x80000u);
    alarms.alarm_flags = 0x2000 | 0x400;
    EXPECT_EQ(alarm_pending(), 0x400u);
    // Every bit of the table is walked exactly once.
    uint32_t all = 0;
    for (uint32_t bit : ALARM_PRIORITY) {
        EXPECT_EQ(all & bit, 0u);
        all |= bit;
    }
    EXPECT_EQ(all, 0xFFFFFu);
}

TEST_F(AlarmBox, AnalogBitOfASwitchedOffChannelIsNotShown)
{
    settings.channel_mode[2] = CHANNEL_OFF;
    alarms.alarm_flags = 0x1000;
    EXPECT_EQ(alarm_pending(), 0u);
    settings.channel_mode[2] = CHANNEL_CURRENT;
    EXPECT_EQ(alarm_pending(), 0x1000u);
}

// LOW or HIGH is what the channel recorded when it last evaluated its limits.
TEST_F(AlarmBox, MessagesWithDefaultLabelsAndLowHighChoice)
{
    EXPECT_EQ(message(0x01), "ENGINE RPM HIGH");
    settings.rpm1_low_alarm = 500;
    settings.rpm1_low_alarm_on = 1;
    raw.rpm_period = 31000; // stopped: 0 RPM
    process_rpm();
    EXPECT_EQ(message(0x01), "ENGINE RPM LOW");
    raw.rpm_period = 1000; // 1558 RPM
    process_rpm();
    EXPECT_EQ(message(0x01), "ENGINE RPM HIGH");

    settings.channel_mode[0] = CHANNEL_TEMPERATURE;
    senders.aux_temp[0] = 140;
    EXPECT_EQ(message(0x400), "OILT TEMP HIGH");

    // OAT: both limits on; below the low limit LOW, above the high one HIGH;
    // with the low limit off any pending OAT alarm is HIGH.
    settings.oat_low_alarm = 0;
    settings.oat_high_alarm = 60;
    settings.oat_low_alarm_on = 1;
    raw.raw_oat = 1680; // -3 C
    process_oat();
    EXPECT_EQ(message(0x08), "OAT LOW");
    raw.raw_oat = 2150; // 73 C
    process_oat();
    EXPECT_EQ(message(0x08), "OAT HIGH");
    raw.raw_oat = 1680;
    settings.oat_low_alarm_on = 0;
    process_oat();
    EXPECT_EQ(message(0x08), "OAT HIGH");

    settings.volts_low_alarm = 110;
    settings.volts_low_alarm_on = 1;
    raw.raw_volts = 100; // 0.2 V
    process_volts();
    EXPECT_EQ(message(0x10), "VOLTS LOW");

    settings.fuel_pressure_cfg.low_alarm = 20;
    settings.fuel_pressure_cfg.low_alarm_on = 1;
    settings.fuel_pressure_cfg.unit = 0; // taken as it comes
    ul_fuel_pressure_input(5);
    EXPECT_EQ(message(0x100), " FUEL PRESSURE LOW");

    // Nothing raises RPM 2 in this build; a channel that did would record its side.
    alarm_on_limits(ALARM_RPM2, 50, {.low_alarm = 100, .low_alarm_on = true});
    EXPECT_EQ(message(0x02), "ROTOR  RPM LOW");

    std::string second;
    EXPECT_EQ(message(0x8000, &second), "THROTTLE POSITION");
    EXPECT_EQ(second, "SENSOR FAULT");
}

TEST_F(AlarmBox, AnalogMessagesFollowTheChannelMode)
{
    settings.channel_mode[1] = CHANNEL_PRESSURE;
    senders.aux_pressure[1] = 99;
    EXPECT_EQ(message(0x800), "OILP PRESSURE HIGH");
    settings.channel_mode[2] = CHANNEL_CURRENT;
    EXPECT_EQ(message(0x1000), "CURRENT HIGH");
    settings.channel_mode[3] = CHANNEL_GENERIC;
    std::memcpy(settings.generic_cfg[3].label, "FUEL", 5);
    settings.generic_cfg[3].low_alarm = 10;
    settings.generic_cfg[3].low_alarm_on = 1;
    senders.aux_generic[3] = 3; // no calibration table: the reading stays
    aux_generic_input(3);
    EXPECT_EQ(message(0x2000), "FUEL LOW");
}

TEST_F(AlarmBox, UnterminatedLabelStaysInsideItsField)
{
    std::memset(settings.rpm1_label, 'X', sizeof settings.rpm1_label); // no terminator
    EXPECT_EQ(message(0x01), "XXXXXXX RPM HIGH");
}

TEST_F(AlarmBox, KeyAcknowledgesAndNeverReachesThePage)
{
    alarms.alarm_flags = 0x40 | 0x200;
    run.run_page = PAGE_ENGINE;
    run_screen(); // the box shows
    KeyEvent = KEY_SOFT5; // would change the page
    run_screen();
    EXPECT_EQ(alarms.alarm_acked, 0x40u);
    EXPECT_EQ(run.run_page, PAGE_ENGINE);
    EXPECT_EQ(KeyEvent, KEY_NONE);
    // The EGT box shows on the next pass; another key acknowledges it too.
    EXPECT_EQ(alarm_pending(), 0x200u);
    KeyEvent = KEY_PUSH;
    run_screen();
    EXPECT_EQ(alarms.alarm_acked, 0x240u);
    EXPECT_EQ(tick.quick_menu_countdown, 0); // the push did not open the quick menu
    // Nothing pending: the key acts on the page again.
    KeyEvent = KEY_SOFT5;
    run_screen();
    EXPECT_NE(run.run_page, PAGE_ENGINE);
}

// An overlay never hides the box, and a key acknowledges only a box that was
// on the screen when it was pressed.
TEST_F(AlarmBox, KeyAcknowledgesOnlyABoxInSight)
{
    const int box_x = box_left() + 3;
    build_trig_tables();
    quick.quick_menu_handler = screen_minmax;
    tick.quick_menu_countdown = 10;
    sens.volts_x10 = 160;
    minmax.volts_max = 150;
    run_screen();
    alarms.alarm_flags = ALARM_VOLTS; // raised while the MIN/MAX page is open
    KeyEvent = KEY_SOFT2;             // pressed before the box could be seen
    run_screen();
    EXPECT_EQ(alarms.alarm_acked, 0u);
    EXPECT_EQ(minmax.volts_max, 160) << "the key went to the page (RESET)";
    EXPECT_EQ(px(box_x, 110), COLOUR_RED) << "the box shows over the page";

    minmax.volts_max = 150;
    KeyEvent = KEY_SOFT2;
    run_screen();
    EXPECT_EQ(alarms.alarm_acked, ALARM_VOLTS);
    EXPECT_EQ(minmax.volts_max, 150) << "the acknowledging key went no further";
    EXPECT_NE(px(box_x, 110), COLOUR_RED) << "the page shows again";
    EXPECT_EQ(tick.quick_menu_countdown, 10);
}

TEST_F(AlarmBox, HoldOffKeepsTheBoxAway)
{
    settings.volts_high_alarm = 100;
    settings.volts_high_alarm_on = 1;
    raw.raw_volts = 4000; // far above 10 V
    tick.alarm_holdoff = 5;
    process_volts();
    clear_screen();
    alarm_display();
    EXPECT_EQ(px(240, 110), COLOUR_BLACK);
    tick.alarm_holdoff = 0;
    process_volts();
    alarm_display();
    EXPECT_EQ(px(240, 110), COLOUR_RED);
}

TEST_F(AlarmBox, DrawsNothingOverAnotherScreen)
{
    ScreenHandler = nullptr;
    clear_screen();
    alarm_box_1("VOLTS LOW");
    alarm_box_2("THROTTLE POSITION", "SENSOR FAULT");
    for (size_t i = 0; i < FRAME_BYTES; ++i) ASSERT_EQ(Framebuffer[i], 0);
}

TEST_F(AlarmBox, Goldens)
{
    clear_screen();
    settings.channel_mode[0] = CHANNEL_TEMPERATURE;
    senders.aux_temp[0] = 140;
    alarms.alarm_flags = 0x400;
    alarm_display();
    EXPECT_GOLDEN("alarm_box_one_line");

    clear_screen();
    alarms.alarm_flags = 0x8000;
    alarm_display();
    EXPECT_GOLDEN("alarm_box_two_lines");
}

} // namespace
