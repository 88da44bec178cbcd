// Golden screenshots of a sample setup page (plain, and editing a label with
// the pop-up label bar over it) and of the three notice screens.
#include <gtest/gtest.h>

#include <cstdio>

#include "gfx/draw.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

using namespace ems;

namespace {

// A volts page as the unit lists it: numbers in tenths, on/off rows, a label
// and a calibration factor that stops at its ends.
const SetupRow VOLTS_ROWS[] = {
    {.label = "DISPLAY MAX: ", .kind = RowKind::Number, SETUP_FIELD(settings.volts_display_max),
     .min = 80, .max = 300, .decimals = 1, .suffix = "V"},
    {.label = "DISPLAY MIN: ", .kind = RowKind::Number, SETUP_FIELD(settings.volts_display_min),
     .min = 80, .max = 300, .decimals = 1, .suffix = "V"},
    {.label = "HIGH ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.volts_high_alarm_on)},
    {.label = "HIGH ALARM: ", .kind = RowKind::Number, SETUP_FIELD(settings.volts_high_alarm),
     .min = 80, .max = 300, .decimals = 1, .suffix = "V"},
    {.label = "HIGH CAUTION: ", .kind = RowKind::Number, SETUP_FIELD(settings.volts_high_caution),
     .min = 80, .max = 300, .decimals = 1, .suffix = "V"},
    {.label = "LOW CAUTION: ", .kind = RowKind::Number, SETUP_FIELD(settings.volts_low_caution),
     .min = 80, .max = 300, .decimals = 1, .suffix = "V"},
    {.label = "LOW ALARM: ", .kind = RowKind::Flag, SETUP_FIELD(settings.volts_low_alarm_on)},
    {.label = "LOW ALARM: ", .kind = RowKind::Number, SETUP_FIELD(settings.volts_low_alarm),
     .min = 80, .max = 300, .decimals = 1, .suffix = "V"},
    {.label = "LABEL: ", .kind = RowKind::Text, .text = [] { return settings.volts_label; },
     .text_length = 4},
    {.label = "VOLTS CALIBRATION FACTOR: ", .kind = RowKind::Number,
     SETUP_FIELD(calibration.volts_cal_percent), .min = 50, .max = 150,
     .format = [](char* out, size_t size, int32_t v) { std::snprintf(out, size, "%d%% 13.8V", int(v)); },
     .flags = ROW_CLAMPED},
};
const SetupPage VOLTS_PAGE = {.section = "EMS SETUP", .name = "VOLTS SETUP", .rows = VOLTS_ROWS,
                              .row_count = 10, .largest_step = 10, .parent = ScreenId::EMS_SETUP,
                              .parent_item = 10};

class Goldens : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        build_trig_tables(); // the arc of the rotary symbol
    }
    void TearDown() override { test::reset_firmware(); }
};

TEST_F(Goldens, SetupPage)
{
    settings.volts_high_alarm = 155;
    settings.volts_high_alarm_on = 1;
    nav.menu_cursor = 3;
    nav.edit_step = 10;
    setup_page(VOLTS_PAGE);
    EXPECT_GOLDEN("setup_page");
}

TEST_F(Goldens, SetupPageWithPopUpLabels)
{
    nav.menu_cursor = 8;
    nav.edit_active = 1;
    nav.edit_cursor = 1;
    setup_page(VOLTS_PAGE);
    soft_key_labels("LABEL", "CLEAR", "BLANK", "UNDO", "PREV", "NEXT");
    EXPECT_GOLDEN("setup_labels_popup");
}

TEST_F(Goldens, NoticeScreens)
{
    screen_insert_card();
    EXPECT_GOLDEN("notice_insert_card");
    screen_invalid_settings();
    EXPECT_GOLDEN("notice_invalid_settings");
    screen_done();
    EXPECT_GOLDEN("notice_done");
}

} // namespace
