// The geomagnetic model against the published WMM2020 test values, the reuse
// of position and time terms, the decimal year, and magvar_update.
#include <gtest/gtest.h>

#include <cmath>

#include "gps/geomag.h"
#include "gps/gps_data.h"
#include "gps/sun.h"
#include "support/firmware_reset.h"
#include "system/clock.h"

using namespace ems;

namespace {

struct TestPoint {
    double year, alt_km, lat, lon, decl, incl, total_nt;
};

// The twelve test values of the WMM2020 report (data/wmm2020_test_points.csv).
const TestPoint POINTS[] = {
    {2020.0, 0, 80, 0, -1.28, 83.14, 55000.1},      {2020.0, 0, 0, 120, 0.16, -15.42, 41104.9},
    {2020.0, 0, -80, 240, 69.36, -72.20, 55120.6},  {2020.0, 100, 80, 0, -1.70, 83.19, 52802.0},
    {2020.0, 100, 0, 120, 0.16, -15.55, 39067.3},   {2020.0, 100, -80, 240, 68.78, -72.37, 52430.6},
    {2022.5, 0, 80, 0, 0.01, 83.19, 55101.7},       {2022.5, 0, 0, 120, -0.06, -15.24, 41130.5},
    {2022.5, 0, -80, 240, 69.13, -72.09, 54912.1},  {2022.5, 100, 80, 0, -0.41, 83.24, 52894.5},
    {2022.5, 100, 0, 120, -0.05, -15.37, 39092.4},  {2022.5, 100, -80, 240, 68.55, -72.27, 52235.4},
};

struct Field {
    double dec, dip, ti, gv;
};

Field point(double alt, double lat, double lon, double year)
{
    Field f{};
    geomag_point(alt, lat, lon, year, f.dec, f.dip, f.ti, f.gv);
    return f;
}

TEST(Geomag, ReproducesEveryPublishedTestPoint)
{
    geomag_init(12);
    for (const TestPoint& p : POINTS) {
        const Field f = point(p.alt_km, p.lat, p.lon, p.year);
        EXPECT_NEAR(f.dec, p.decl, 0.01) << p.year << " " << p.alt_km << " " << p.lat << " " << p.lon;
        EXPECT_NEAR(f.dip, p.incl, 0.01) << p.year << " " << p.lat;
        EXPECT_NEAR(f.ti, p.total_nt, 0.1) << p.year << " " << p.lat;
    }
}

TEST(Geomag, ReusedTermsGiveTheSameFieldAsAFreshStart)
{
    // Same position, new time; same time, new longitude; same longitude, new altitude.
    const double steps[][4] = {{0, 40, -75, 2021.0}, {0, 40, -75, 2024.3}, {0, 40, 10, 2024.3},
                               {12, 40, 10, 2024.3}, {12, -33, 10, 2024.3}, {12, -33, 10, 2021.0}};
    geomag_init(12);
    for (const auto& s : steps) {
        const Field reused = point(s[0], s[1], s[2], s[3]);
        geomag_init(12);
        const Field fresh = point(s[0], s[1], s[2], s[3]);
        EXPECT_DOUBLE_EQ(reused.dec, fresh.dec);
        EXPECT_DOUBLE_EQ(reused.ti, fresh.ti);
    }
}

TEST(Geomag, DecimalYearFraction)
{
    EXPECT_DOUBLE_EQ(decimal_year_fraction(1, 1), 0.0);
    EXPECT_DOUBLE_EQ(decimal_year_fraction(6, 1), 151.0 / 365);
    EXPECT_DOUBLE_EQ(decimal_year_fraction(10, 1), 273.0 / 365);
    EXPECT_DOUBLE_EQ(decimal_year_fraction(12, 31), 364.0 / 365);
    EXPECT_DOUBLE_EQ(decimal_year_fraction(3, 1), 59.0 / 365); // February 29 never counts
}

class Magvar : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        magsun = MagSunState{};
        clk.clock_utc.year = 2022;
        clk.clock_utc.month = 7;
        clk.clock_utc.day = 2; // day 183: 2022.5
        gps.gps_fix_position = 1;
    }
    void TearDown() override
    {
        test::reset_firmware();
        magsun = MagSunState{};
    }
};

TEST_F(Magvar, UpdateUsesPositionAltitudeInWholeKmAndDate)
{
    gps.gps_latitude = -80;
    gps.gps_longitude = -120;
    gps.gps_altitude_m = 100999; // 100 km in integer arithmetic
    magvar_update();
    EXPECT_NEAR(magsun.mag_variation, 68.55, 0.01);
    gps.gps_altitude_m = 999; // 0 km
    magvar_update();
    EXPECT_NEAR(magsun.mag_variation, 69.13, 0.01);
}

TEST_F(Magvar, WeakHorizontalFieldGivesNaN)
{
    // Find the weakest horizontal field near the north dip pole on a fine grid.
    geomag_init(12);
    double best_h = 1e9, best_lat = 0, best_lon = 0;
    for (double lat = 85.0; lat <= 88.0; lat += 0.02)
        for (double lon = 140.0; lon <= 190.0; lon += 0.1) {
            const Field f = point(0, lat, lon, 2022.5);
            const double h = f.ti * std::cos(f.dip * 3.14159265358979 / 180);
            if (h < best_h) best_h = h, best_lat = lat, best_lon = lon;
        }
    ASSERT_LT(best_h, 100.0);
    gps.gps_latitude = float(best_lat);
    gps.gps_longitude = float(best_lon > 180 ? best_lon - 360 : best_lon);
    magvar_update();
    EXPECT_TRUE(std::isnan(magsun.mag_variation));

    // A few degrees away the declination is defined again.
    gps.gps_latitude = float(best_lat - 5);
    magvar_update();
    EXPECT_TRUE(std::isfinite(magsun.mag_variation));
}

} // namespace
