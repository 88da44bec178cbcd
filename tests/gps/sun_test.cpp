// Sunrise and sunset: the almanac's worked example, the local offset, and
// days on which the sun never rises or never sets.
#include <gtest/gtest.h>

#include <cmath>

#include "gps/gps_data.h"
#include "gps/sun.h"
#include "settings/settings.h"
#include "support/firmware_reset.h"
#include "system/clock.h"

using namespace ems;

namespace {

class Sun : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        magsun = MagSunState{};
    }
    void TearDown() override { SetUp(); }

    static void at(int day, int month, int year, float lat, float lon)
    {
        clk.clock_utc.day = uint8_t(day);
        clk.clock_utc.month = uint8_t(month);
        clk.clock_utc.year = uint16_t(year);
        gps.gps_latitude = lat;
        gps.gps_longitude = lon;
    }
    static float rise() { return sun_time(1), magsun.sun_event_hours; }
    static float set() { return sun_time(0), magsun.sun_event_hours; }
};

TEST_F(Sun, AlmanacExampleWrapsTheSunsetPastMidnight)
{
    at(25, 6, 1990, 40.9f, -74.3f);
    settings.utc_offset = 0;
    EXPECT_NEAR(rise(), 9.44f, 0.01f); // 09:26 UT
    EXPECT_NEAR(set(), 0.55f, 0.01f);  // 00:33 UT the next day
}

// Hamilton, New Zealand, 31 December at UTC+13: sunrise about 06:00 (the
// unwrapped value 29.98 is 05:59 on the page), sunset about 20:40; a negative
// offset subtracts hours and minutes alike.
TEST_F(Sun, LocalOffset)
{
    at(31, 12, 2014, -37.78f, 175.31f);
    settings.utc_offset = 13 * 60;
    const float r = rise();
    EXPECT_NEAR(std::fmod(r, 24.0f), 6.0f, 0.25f);
    EXPECT_NEAR(std::fmod(set(), 24.0f), 20.7f, 0.25f);
    settings.utc_offset = -570;
    EXPECT_NEAR(rise(), r - 13.0f - 9.5f, 1e-4f);
}

TEST_F(Sun, PolarDayAndNightHaveNoTimes)
{
    settings.utc_offset = 0;
    at(21, 6, 2024, 80.0f, 15.0f); // midnight sun
    EXPECT_TRUE(std::isnan(rise()));
    EXPECT_TRUE(std::isnan(set()));
    at(21, 12, 2024, 80.0f, 15.0f); // polar night
    EXPECT_TRUE(std::isnan(rise()));
    EXPECT_TRUE(std::isnan(set()));
    at(21, 12, 2024, -75.0f, 0.0f); // Antarctic summer
    EXPECT_TRUE(std::isnan(rise()));
    at(21, 3, 2024, 80.0f, 15.0f); // near the equinox the sun rises everywhere but at the pole
    EXPECT_FALSE(std::isnan(rise()));
}

} // namespace
