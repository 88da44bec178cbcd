// The sentence readers on their own: a body in, a fields record out, with no
// global state set up or looked at.
#include <gtest/gtest.h>

#include <string>

#include "gps/nmea_fields.h"

using namespace ems;

namespace {

float degrees(double ddmm) { return float(nmea_degrees(ddmm)); }

TEST(NmeaFields, Rmc)
{
    const struct {
        std::string body;
        RmcFields want;
    } cases[] = {
        {"GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
         {true, 1, degrees(4807.038), degrees(1131.0), 22.4f, 84}},
        {"GPRMC,123519,V,4807.038,S,01131.000,W,0.5,359.9,230394,,",
         {true, 0, -degrees(4807.038), -degrees(1131.0), 0.5f, 359}},
        // A course of 360 is north; blanks and a plus sign before a number.
        {"GPRMC,12,A, 0100.5,N,+0200.25,E,\t7,360.4", {true, 1, degrees(100.5), degrees(200.25), 7.0f, 0}},
        // No time: nothing else is read.
        {"GPRMC,,A,4807.038,N,01131.000,E,22.4,84.4", {}},
        {"GPRMC,1,A,4807.038,N,01131.000,E,22.4,84.4", {}},
        {"GPRMC", {}},
        // Words that std::from_chars would take as numbers read as 0;
        // magnitudes beyond 1e30 are 1e30.
        {"GPRMC,12,A,inf,N,nan,W,--5,+-3", {true, 1, 0.0f, 0.0f, 0.0f, 0}},
        {"GPRMC,12,A,1e-999,N,0x1p4,W,1e999,-0", {true, 1, 0.0f, 0.0f, 1e30f, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const RmcFields got = read_rmc(c.body);
        EXPECT_EQ(got.has_time, c.want.has_time);
        EXPECT_EQ(got.fix_valid, c.want.fix_valid);
        EXPECT_EQ(got.latitude, c.want.latitude);
        EXPECT_EQ(got.longitude, c.want.longitude);
        EXPECT_EQ(got.knots, c.want.knots);
        EXPECT_EQ(got.course, c.want.course);
    }
}

TEST(NmeaFields, Gga)
{
    const struct {
        std::string body;
        GgaFields want;
    } cases[] = {
        {"GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", {true, 8, 545, 1789}},
        {"GPGGA,123519,,,,,0,00,,-12.7,M,,,,", {true, 0, -12, -41}},
        {"GPGGA,,4807.038,N,01131.000,E,1,08,0.9,545.4,M", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_TRUE(read_gga(c.body) == c.want);
    }
}

TEST(NmeaFields, Gsa)
{
    const struct {
        std::string body;
        GsaFields want;
    } cases[] = {
        {"GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1", {3, {4, 5, 0, 9, 12, 0, 0, 24}, 2.5f, 1.3f, 2.1f}},
        {"GPGSA,A,1,,,,,,,,,,,,,,,", {0, {}, 0, 0, 0}},
        {"GPGSA,A,2,07", {2, {7}, 0, 0, 0}},
        {"GPGSA,A,,", {0, {}, 0, 0, 0}},
        // Integers saturate before they are narrowed; DOPs stay finite.
        {"GPGSA,A,3,99999999999,-1,,,,,,,,,,,1e999,-1e999,1e-999", {3, {255, 255}, 1e30f, -1e30f, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_TRUE(read_gsa(c.body) == c.want);
    }
}

TEST(NmeaFields, Gsv)
{
    const GpsSatellite a{10, 63, 137, 17}, b{7, 61, 98, 0}, c{2, 5, 10, 40}, d{30, 1, 359, 0};
    const struct {
        std::string body;
        GsvFields want;
    } cases[] = {
        {"GPGSV,3,1,14,10,63,137,17,07,61,098,,02,05,010,40,30,01,359,", {14, 0, 4, {a, b, c, d}}},
        // The third message of ten in view carries the last two.
        {"GPGSV,3,3,10,10,63,137,17,07,61,098,", {10, 8, 2, {a, b}}},
        // Only three messages are kept; a message past the number in view
        // fills nothing.
        {"GPGSV,4,4,16,10,63,137,17", {16, 0, 0, {}}},
        {"GPGSV,3,2,3,10,63,137,17", {3, 4, 0, {}}},
        {"GPGSV,1,1,-5", {0, 0, 0, {}}},
        {"GPGSV,1,1,300,10,63,137,17", {255, 0, 4, {a}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_TRUE(read_gsv(c.body) == c.want);
    }
}

// Only the first NMEA_BODY_MAX characters, up to a NUL, are a body.
TEST(NmeaFields, BodyEndsAtItsLimitOrANul)
{
    // PDOP ends at the limit in the first body, lies past it in the second.
    const auto gsa = [](size_t blanks) {
        return "GPGSA,A,3," + std::string(blanks, ' ') + "5,,,,,,,,,,,,2.5,1.5";
    };
    EXPECT_EQ(read_gsa(gsa(174)).pdop, 2.5f);
    EXPECT_EQ(read_gsa(gsa(174)).hdop, 0.0f);
    EXPECT_EQ(read_gsa(gsa(185)).prn_used[0], 5);
    EXPECT_EQ(read_gsa(gsa(185)).pdop, 0.0f);

    const GsaFields cut = read_gsa(std::string("GPGSA,A,3,05\0,06", 16));
    EXPECT_EQ(cut.prn_used[0], 5);
    EXPECT_EQ(cut.prn_used[1], 0);
}

} // namespace
