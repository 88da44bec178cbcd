// The min/max record: its reset from the present readings and how the
// channels move it outward.
#include <gtest/gtest.h>

#include "gps/gps_data.h"
#include "sensors/channels.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace {

using namespace ems;

class MinMax : public ::testing::Test {
protected:
    void SetUp() override { test::reset_firmware(); }
};

TEST_F(MinMax, ResetSeedsEveryFieldFromThePresentReadings)
{
    sens.volts_x10 = 128;
    sens.oat_disp = -7;
    sens.map_disp = 281;
    sens.rpm = 2450;
    sens.rpm_percent = 40;
    sens.current_a = -12;
    raw.rpm2 = 457;
    raw.rpm2_percent = 45;
    gps.gps_speed = 97;
    for (int i = 0; i < TC_CHANNELS; ++i) thermo.tc_value[i] = int16_t(100 + i);
    for (int i = 0; i < 4; ++i) {
        senders.aux_pressure[i] = int16_t(10 + i);
        senders.aux_temp[i] = int16_t(-20 - i);
        senders.aux_current[i] = int16_t(-3 + i);
        senders.aux_generic[i] = int16_t(500 + i);
    }
    senders.fuel_pressure = 33;
    minmax.volts_min = 1; // stale values are overwritten
    minmax.tc_max[11] = 9999;
    settings.rpm1_display = 0;
    settings.rpm2_display = 0;

    minmax_reset();
    EXPECT_EQ(+minmax.volts_min, 128);
    EXPECT_EQ(+minmax.volts_max, 128);
    EXPECT_EQ(+minmax.oat_min, -7);
    EXPECT_EQ(+minmax.oat_max, -7);
    EXPECT_EQ(+minmax.map_min, 281);
    EXPECT_EQ(+minmax.map_max, 281);
    EXPECT_EQ(+minmax.gps_speed_max, 97);
    EXPECT_EQ(+minmax.rpm1_max, 2450); // display 0: RPM
    EXPECT_EQ(+minmax.rpm2_max, 457);
    for (int i = 0; i < TC_CHANNELS; ++i) EXPECT_EQ(+minmax.tc_max[i], 100 + i);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(+minmax.aux_pressure_max[i], 10 + i);
        EXPECT_EQ(+minmax.aux_temp_max[i], -20 - i);
        EXPECT_EQ(+minmax.aux_current_min[i], -3 + i);
        EXPECT_EQ(+minmax.aux_current_max[i], -3 + i);
        EXPECT_EQ(+minmax.aux_generic_max[i], 500 + i);
    }
    EXPECT_EQ(+minmax.fuel_pressure_max, 33);
    EXPECT_EQ(+minmax.current_min, -12);
    EXPECT_EQ(+minmax.current_max, -12);

    settings.rpm1_display = 1;
    settings.rpm2_display = 1;
    minmax_reset();
    EXPECT_EQ(+minmax.rpm1_max, 40);
    EXPECT_EQ(+minmax.rpm2_max, 45);
}

TEST_F(MinMax, ResetWithTheEngineStoppedZeroesTheRpmMaxima)
{
    raw.rpm_period = 1000;
    process_rpm();
    EXPECT_EQ(+minmax.rpm1_max, 1558);
    raw.rpm_period = 31000;
    process_rpm();
    EXPECT_EQ(+minmax.rpm1_max, 1558);
    minmax_reset();
    EXPECT_EQ(+minmax.rpm1_max, 0);
    EXPECT_EQ(+minmax.rpm2_max, 0);
}

TEST_F(MinMax, ChannelsMoveTheRecordOnlyOutward)
{
    settings.map_filter = 0;
    settings.map_unit = 0;
    raw.raw_map = 500; // 675 * 100 / 167 = 404 hPa
    process_map();
    minmax_reset();
    raw.raw_map = 600; // 775 * 100 / 167 = 464
    process_map();
    raw.raw_map = 400; // 344
    process_map();
    raw.raw_map = 500;
    process_map();
    EXPECT_EQ(+minmax.map_min, 344);
    EXPECT_EQ(+minmax.map_max, 464);
}

} // namespace
