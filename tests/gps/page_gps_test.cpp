// The GPS page: position, course and sun-time texts, satellite placement in
// the sky view, the signal bars, and reviewed screenshots of whole pages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/power.h"
#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "gps/page_gps.h"
#include "gps/sun.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/golden.h"
#include "support/nmea_io.h"
#include "support/pixels.h"
#include "system/clock.h"

using namespace ems;
using test::frame;

namespace {

std::string lat(float v)
{
    char t[64];
    format_latitude(v, t, sizeof t);
    return t;
}
std::string lon(float v)
{
    char t[64];
    format_longitude(v, t, sizeof t);
    return t;
}
std::string sun(float v)
{
    char t[16];
    format_sun_time(v, t, sizeof t);
    return t;
}

// Rows 0..149: the sky view and the top of the information list, above the
// signal chart (whose labels follow the satellites in view).
std::vector<uint8_t> upper_frame() { return {Framebuffer, Framebuffer + 150 * LCD_WIDTH}; }

// Whether the information row at y shows `value`: the page drawn, and drawn
// again with that row's value replaced by `value`, give the same picture.
bool row_shows(int16_t y, const char* value)
{
    page_gps();
    const std::vector<uint8_t> got = frame();
    fill_rect(157, y, 265, int16_t(y + 17), COLOUR_BLACK);
    draw_text(157, y, value, 8, ALIGN_LEFT, COLOUR_WHITE);
    return got == frame();
}

// Frames and receives sentences, then runs a main-loop pass.
void receive(std::initializer_list<const char*> bodies)
{
    for (const char* body : bodies) {
        const std::string s = test::nmea_sentence(body);
        ComPort1RxChar(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    }
    main_loop_pass();
}

class PageGps : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_firmware();
        magsun = MagSunState{};
        build_trig_tables();
    }
    void TearDown() override
    {
        test::reset_firmware();
        magsun = MagSunState{};
    }

    // A receiver with a 3D fix near Hamilton, New Zealand, on the last day of 2014.
    static void with_fix()
    {
        nmea.nmea_active = 1;
        gps.gps_fix_valid = 1;
        gps.gps_fix_type = 3;
        gps.gps_latitude = -37.784795f;
        gps.gps_longitude = 175.314901f;
        gps.gps_altitude_m = 60;
        gps.gps_altitude_ft = 196;
        gps.gps_speed = 123;
        gps.gps_course = 181;
        gps.gps_course_mag = 161;
        gps.gps_sats_used = 8;
        gps.gps_sats_in_view = 12;
        gps.gps_pdop = 1.8f;
        gps.gps_hdop = 1.1f;
        gps.gps_vdop = 1.5f;
        const uint8_t used[] = {17, 28, 6, 1, 30, 20, 26, 13};
        std::memcpy(gps.gps_prn_used, used, sizeof used);
        const GpsSatellite sats[12] = {{17, 72, 207, 32}, {28, 59, 95, 31}, {6, 35, 347, 25}, {1, 29, 132, 23},
                                       {30, 23, 11, 29},  {20, 17, 69, 20}, {26, 9, 293, 23}, {13, 7, 304, 10},
                                       {11, 12, 132, 4},  {8, 38, 8, 0},    {2, 35, 348, 0},  {3, 14, 91, 0}};
        std::memcpy(gps.gps_sats, sats, sizeof sats);
        magsun.mag_variation = 20.5f;
        clk.clock_utc = ClockRecord{43, 7, 3, 31, 12, 2014};
        settings.utc_offset = 13 * 60;
    }
};

TEST_F(PageGps, PositionFormats)
{
    settings.gps_position_format = 0;
    EXPECT_EQ(lat(-33.5f), "S33\xB0" "30.000");
    EXPECT_EQ(lat(5.25f), "N05\xB0" "15.000");
    EXPECT_EQ(lon(-1.643693f), "W001\xB0" "38.622");
    settings.gps_position_format = 1;
    EXPECT_EQ(lat(-33.5f), "S33\xB0" "30'00.00");
    EXPECT_EQ(lon(175.314901f), "E175\xB0" "18'53.62"); // single precision: 53.64 exactly
    settings.gps_position_format = 2;
    EXPECT_EQ(lat(-33.5f), "S33.50000\xB0");
    EXPECT_EQ(lon(-1.643693f), "W001.64369\xB0");
    EXPECT_EQ(lat(0.0f), "N00.00000\xB0");
}

// Minutes or seconds that round up to 60 carry into the next unit.
TEST_F(PageGps, RoundingCarriesIntoTheNextUnit)
{
    const float just_below_34 = std::nextafter(34.0f, 0.0f);
    const float just_below_6 = std::nextafter(6.0f, 0.0f);
    settings.gps_position_format = 0;
    EXPECT_EQ(lat(just_below_34), "N34\xB0" "00.000");
    EXPECT_EQ(lat(-just_below_34), "S34\xB0" "00.000");
    EXPECT_EQ(lon(-std::nextafter(2.0f, 0.0f)), "W002\xB0" "00.000");
    settings.gps_position_format = 1;
    EXPECT_EQ(lat(std::nextafter(5.5f, 0.0f)), "N05\xB0" "30'00.00");
    EXPECT_EQ(lat(just_below_6), "N06\xB0" "00'00.00"); // seconds into minutes into degrees
    EXPECT_EQ(lon(-just_below_6), "W006\xB0" "00'00.00");

    with_fix();
    magsun.mag_variation = -(3.0f + 59.7f / 60.0f);
    EXPECT_TRUE(row_shows(245, "4\xB0" "0W"));
    magsun.mag_variation = 12.0f + 59.6f / 60.0f;
    EXPECT_TRUE(row_shows(245, "13\xB0" "0E"));
}

// Receivers send 99.99 while acquiring (and a broken one anything): the row
// stays left of the sky view and the signal chart.
TEST_F(PageGps, DilutionRowStaysInItsArea)
{
    with_fix();
    page_gps();
    auto right_part = [] {
        std::vector<uint8_t> v;
        for (int y = 0; y < LCD_HEIGHT; ++y) v.insert(v.end(), Framebuffer + y * LCD_WIDTH + 266, Framebuffer + (y + 1) * LCD_WIDTH);
        return v;
    };
    const std::vector<uint8_t> charts = right_part();
    for (float dop : {99.99f, 1e30f, -1e30f}) {
        gps.gps_pdop = gps.gps_hdop = gps.gps_vdop = dop;
        page_gps();
        EXPECT_EQ(right_part(), charts) << dop;
    }
    gps.gps_pdop = gps.gps_hdop = gps.gps_vdop = 99.99f;
    EXPECT_TRUE(row_shows(205, "99.9/99.9/99.9"));
}

// Several receivers report a fix in GSA before their first RMC. The variation
// waits for the position, and is computed anew when the fix comes back
// elsewhere or another receiver takes over.
TEST_F(PageGps, VariationIsComputedAtAPositionOfTheCurrentFix)
{
    test::FakePlatform platform;
    platform.now = {0, 7, 3, 31, 11, 114}; // 31 December 2014
    nmea_rx = NmeaRx{};
    gps.magvar_counter = 601; // power-on and a slow tick: an update is due
    nmea.nmea_active = 1;
    const char* fix = "GPGSA,A,3,17,28,06,01,30,20,26,13,,,,,1.8,1.1,1.5";
    const char* no_fix = "GPGSA,A,1,,,,,,,,,,,,,99.99,99.99,99.99";
    const char* hamilton = "GPRMC,030700.000,A,3747.0873,S,17518.8938,E,0.0,181.0,311214,,,A";
    const char* auckland = "GPRMC,034500.000,A,3700.500,S,17447.000,E,120.0,330.0,311214,,,A";
    const char* seattle = "GPRMC,034600.000,A,4726.940,N,12218.540,W,95.0,47.5,311214,,,A";

    receive({fix});
    EXPECT_EQ(magsun.mag_variation, 0.0f) << "no position yet";
    receive({hamilton});
    EXPECT_TRUE(row_shows(245, "20\xB0" "1E"));
    receive({no_fix});
    receive({fix});
    receive({auckland}); // the fix is back 50 miles on
    EXPECT_TRUE(row_shows(245, "19\xB0" "30E"));
    receive({seattle}); // another source, with no gap in the fix
    EXPECT_TRUE(row_shows(245, "16\xB0" "3E"));
}

// The first fix shows its magnetic course with its own variation.
TEST_F(PageGps, FirstFixTurnsCourseWithItsVariation)
{
    test::FakePlatform platform;
    platform.now = {0, 7, 3, 31, 11, 114};
    nmea_rx = NmeaRx{};
    gps.magvar_counter = 601;
    receive({"GPRMC,030700.000,A,3747.0873,S,17518.8938,E,0.0,181.0,311214,,,A",
             "GPGSA,A,3,17,28,06,01,30,20,26,13,,,,,1.8,1.1,1.5"});
    EXPECT_TRUE(row_shows(165, "161\xB0M"));
}

TEST_F(PageGps, SunTimesWrapIntoTheDayAndShowDashesWhenThereAreNone)
{
    EXPECT_EQ(sun(9.44f), "09:26");
    EXPECT_EQ(sun(24.56f), "00:33");
    EXPECT_EQ(sun(24.55f), "00:32"); // minutes are truncated: 0.549999 h
    EXPECT_EQ(sun(-0.5f), "23:30");
    EXPECT_EQ(sun(-1.0f), "23:00"); // not 22:60
    EXPECT_EQ(sun(std::nanf("")), "--:--");
    EXPECT_EQ(sun(1e30f), "--:--");
    EXPECT_EQ(sun(-30.0f), "--:--");
}

// A satellite straight overhead is written at the centre of the text grid,
// one on the horizon on the 60-pixel circle, one outside the box not at all.
TEST_F(PageGps, SkyViewPlacement)
{
    auto page_with = [](std::vector<GpsSatellite> sats) {
        const uint8_t used = gps.gps_prn_used[0];
        gps = GpsState{};
        gps.gps_prn_used[0] = used;
        gps.gps_sats_in_view = uint8_t(sats.size());
        for (size_t i = 0; i < sats.size(); ++i) gps.gps_sats[i] = sats[i];
        page_gps();
        return upper_frame();
    };
    const std::vector<uint8_t> empty = page_with({});

    gps.gps_prn_used[0] = 7;
    std::vector<uint8_t> got = page_with({{7, 90, 123, 0}});
    page_with({});
    draw_text(376, 79, "7", 8, ALIGN_CENTRE, COLOUR_GREEN); // used in the solution: green
    EXPECT_EQ(got, upper_frame());

    // Azimuth 90 (east), elevation 0: (376 + 60, 79), inside the box.
    got = page_with({{9, 0, 90, 0}});
    page_with({});
    draw_text(436, 79, "9", 8, ALIGN_CENTRE, COLOUR_RED); // not used: red
    EXPECT_EQ(got, upper_frame());

    // Azimuth 0 (north) on the horizon: y = 19, inside; PRN in the used list: green.
    gps.gps_prn_used[0] = 4;
    got = page_with({{4, 0, 0, 0}});
    page_with({});
    draw_text(376, 19, "4", 8, ALIGN_CENTRE, COLOUR_GREEN);
    EXPECT_EQ(got, upper_frame());

    // An absurd elevation of 255 puts it 110 pixels beyond the centre, outside the box.
    EXPECT_EQ(page_with({{5, 255, 90, 0}}), empty);
    // A PRN of 0 is an empty record.
    EXPECT_EQ(page_with({{0, 45, 45, 0}}), empty);
}

TEST_F(PageGps, SignalBarsScaleToTheStrongestAndVanishAtZero)
{
    nmea.nmea_active = 1;
    gps.gps_sats_in_view = 3;
    gps.gps_sats[0] = {1, 10, 10, 0};
    gps.gps_sats[1] = {2, 10, 10, 0};
    gps.gps_sats[2] = {3, 10, 10, 0};
    page_gps();
    // S = 5: every bar has height 0, nothing above the base line in the bar columns.
    for (int y = 170; y < 243; ++y)
        for (int x = 274; x < 274 + 3 * 17; ++x) EXPECT_EQ(Framebuffer[y * LCD_WIDTH + x], COLOUR_BLACK) << x << "," << y;

    gps.gps_sats[1].snr = 45; // S = 50: h = 45 * 78 / 50 = 70
    gps.gps_prn_used[0] = 2;
    page_gps();
    const int x = 274 + 17;
    EXPECT_EQ(Framebuffer[(243 - 70) * LCD_WIDTH + x], COLOUR_GREEN);
    EXPECT_EQ(Framebuffer[(243 - 71) * LCD_WIDTH + x], COLOUR_BLACK);
    EXPECT_EQ(Framebuffer[200 * LCD_WIDTH + x + 11], COLOUR_GREEN);
}

TEST_F(PageGps, GoldenWithFix)
{
    with_fix();
    settings.gps_position_format = 0;
    settings.speed_unit = 2;
    page_gps();
    EXPECT_GOLDEN("gps_page_fix");
}

// Stale data: crossed out, last values kept; no fix, so dashes and the
// manual variation.
TEST_F(PageGps, GoldenCrossedOut)
{
    with_fix();
    nmea.nmea_active = 0;
    gps.gps_fix_valid = 0;
    gps.gps_fix_type = 2;
    settings.gps_manual_variation = -7;
    page_gps();
    EXPECT_GOLDEN("gps_page_crossed_out");
}

// Polar summer with the north dip pole's undefined variation: no sun times,
// a placeholder for the variation; degrees-minutes-seconds, metres, km/h,
// true course.
TEST_F(PageGps, GoldenPolarDayAndUndefinedVariation)
{
    with_fix();
    gps.gps_latitude = 86.5f;
    gps.gps_longitude = 162.9f;
    clk.clock_utc = ClockRecord{0, 30, 12, 21, 6, 2024};
    magsun.mag_variation = std::nanf("");
    settings.gps_position_format = 1;
    settings.gps_altitude_unit = 1;
    settings.speed_unit = 1;
    settings.gps_cog = 1;
    page_gps();
    EXPECT_GOLDEN("gps_page_polar");
}

// The same fix in the two other position formats; format 0 is the fix golden
// above ("gps_page_fix").
TEST_F(PageGps, GoldenPositionFormatDegreesMinutesSeconds)
{
    with_fix();
    settings.gps_position_format = 1;
    settings.speed_unit = 2;
    page_gps();
    char text[32];
    format_latitude(gps.gps_latitude, text, sizeof text);
    EXPECT_STREQ(text, "S37\xB0" "47'05.26");
    EXPECT_GOLDEN("gps_page_format_1");
}

TEST_F(PageGps, GoldenPositionFormatDecimalDegrees)
{
    with_fix();
    settings.gps_position_format = 2;
    settings.speed_unit = 2;
    page_gps();
    char text[32];
    format_longitude(gps.gps_longitude, text, sizeof text);
    EXPECT_STREQ(text, "E175.31490\xB0");
    EXPECT_GOLDEN("gps_page_format_2");
}

// A receiver that talks but has no fix, fed as framed bytes and parsed as the
// main loop does: status V and fix type 1 give ACQUIRING and dashes, the
// satellites it sees are plotted in red (none used), and the page is not
// crossed out because sentences arrive.
TEST_F(PageGps, GoldenReceiverWithoutFix)
{
    nmea_rx = NmeaRx{};
    clk.clock_utc = ClockRecord{12, 41, 9, 14, 3, 2025};
    const char* stream =
        "$GPRMC,094112.00,V,,,,,,,140325,,,N*73\r\n"
        "$GPGGA,094112.00,,,,,0,00,99.99,,,,,,*69\r\n"
        "$GPGSA,A,1,,,,,,,,,,,,,99.99,99.99,99.99*30\r\n"
        "$GPGSV,2,1,05,05,40,083,22,12,15,210,,24,62,300,18,25,05,020,*79\r\n";
    ComPort1RxChar(reinterpret_cast<const uint8_t*>(stream), std::strlen(stream));
    ASSERT_EQ(nmea.nmea_rmc_new.load(), 1);
    ASSERT_EQ(nmea.nmea_gga_new.load(), 1);
    ASSERT_EQ(nmea.nmea_gsa_new.load(), 1);
    ASSERT_EQ(nmea.nmea_gsv_new.load(), 1);
    nmea_parse_rmc();
    nmea_parse_gga();
    nmea_parse_gsa();
    nmea_parse_gsv();
    nmea.nmea_rmc_new = 0;
    nmea.nmea_gga_new = 0;
    nmea.nmea_gsa_new = 0;
    nmea.nmea_gsv_new = 0;
    // The second GSV message carries the fifth satellite.
    const char* more = "$GPGSV,2,2,05,29,33,140,25*45\r\n";
    ComPort1RxChar(reinterpret_cast<const uint8_t*>(more), std::strlen(more));
    ASSERT_EQ(nmea.nmea_gsv_new.load(), 1);
    nmea_parse_gsv();
    nmea.nmea_gsv_new = 0;

    EXPECT_EQ(nmea.nmea_active.load(), 1);
    EXPECT_EQ(gps.gps_fix_valid, 0);
    EXPECT_EQ(gps.gps_fix_type, 0);
    EXPECT_EQ(gps.gps_sats_in_view, 5);
    EXPECT_EQ(gps.gps_sats[4].prn, 29);
    EXPECT_EQ(gps.gps_sats[3].prn, 25);
    EXPECT_EQ(gps.gps_sats[3].snr, 0);
    page_gps();
    EXPECT_GOLDEN("gps_page_no_fix");
}

} // namespace
