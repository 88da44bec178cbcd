// The alarm table (one row per bit, in the order the box shows them) and the
// limit check that records whether a channel's alarm is LOW or HIGH.
#include <gtest/gtest.h>

#include <string>

#include "alarms/alarm_box.h"
#include "alarms/alarm_table.h"
#include "alarms/alarm_words.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"
#include "ui/screen.h"

using namespace ems;

namespace {

TEST(AlarmTable, OneRowPerBitInPriorityOrderEachWithAText)
{
    const uint32_t order[] = {0x40,   0x80,   0x01,    0x02,    0x200,   0x04,    0x10,   0x08,   0x100,  0x20,
                              0x4000, 0x8000, 0x10000, 0x20000, 0x80000, 0x40000, 0x400,  0x800,  0x1000, 0x2000};
    ASSERT_EQ(std::size(ALARM_ROWS), std::size(order));
    uint32_t all = 0;
    for (size_t i = 0; i < std::size(order); ++i) {
        const AlarmRow& row = ALARM_ROWS[i];
        EXPECT_EQ(uint32_t(row.bit), order[i]) << "row " << i;
        EXPECT_EQ(all & row.bit, 0u) << "bit " << row.bit << " has two rows";
        all |= row.bit;
        if (row.message.input < 0)
            EXPECT_TRUE(row.message.text && row.message.text[0]) << "bit " << row.bit;
        else
            EXPECT_EQ(uint32_t(row.bit), uint32_t(ALARM_AUX1) << row.message.input);
    }
    for (const AlarmText& t : ANALOG_INPUT_TEXTS) EXPECT_TRUE(t.text && t.sided);
}

TEST(AlarmOnLimits, RaisesClearsAndRecordsTheSide)
{
    test::reset_firmware();
    const Limits limits{.low_alarm = 10, .high_alarm = 20, .low_alarm_on = true, .high_alarm_on = true};
    alarms.alarm_flags = alarms.alarm_acked = ALARM_TANK1; // another alarm's bits stay as they are

    alarm_on_limits(ALARM_OAT, 9, limits);
    EXPECT_EQ(alarms.alarm_flags, ALARM_TANK1 | ALARM_OAT);
    EXPECT_EQ(alarms.alarm_low, uint32_t(ALARM_OAT));

    alarm_on_limits(ALARM_OAT, 21, limits);
    EXPECT_EQ(alarms.alarm_flags, ALARM_TANK1 | ALARM_OAT);
    EXPECT_EQ(alarms.alarm_low, 0u);

    alarms.alarm_acked |= ALARM_OAT;
    alarm_on_limits(ALARM_OAT, 10, limits); // inside: cleared in both words
    EXPECT_EQ(alarms.alarm_flags, uint32_t(ALARM_TANK1));
    EXPECT_EQ(alarms.alarm_acked, uint32_t(ALARM_TANK1));

    alarm_on_limits(ALARM_OAT, 5, {.low_alarm = 10, .high_alarm = 20, .high_alarm_on = true}); // low limit off
    EXPECT_EQ(alarms.alarm_flags & ALARM_OAT, 0u);
    EXPECT_EQ(alarms.alarm_low, 0u);
}

// The box shows the side that raised the alarm, even when the value has
// moved since the channel last ran.
TEST(AlarmOnLimits, TheBoxReadsTheRecordedSide)
{
    test::reset_firmware();
    ScreenHandler = run_screen;
    settings.volts_low_alarm = 110;
    settings.volts_low_alarm_on = 1;
    raw.raw_volts = 100; // 0.2 V
    process_volts();
    sens.volts_x10 = 200;
    char line1[ALARM_TEXT_SIZE], line2[ALARM_TEXT_SIZE];
    ASSERT_EQ(alarm_pending(), uint32_t(ALARM_VOLTS));
    alarm_message(ALARM_VOLTS, line1, line2);
    EXPECT_EQ(std::string(line1), "VOLTS LOW");
}

} // namespace
