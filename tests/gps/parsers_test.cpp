// The four sentence parsers: fields into the GPS record, the rules for
// speeds, courses, fix status and satellites, hostile bodies, and the real
// receiver logs fed end to end through the receive handler.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "gps/sun.h"
#include "sensors/minmax.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"

using namespace ems;

namespace {

class Parsers : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        test::reset_firmware();
        test::reset_nmea_link();
        magsun = MagSunState{};
        minmax = MinMaxValues{};
    }

    static void put(char* slot, const std::string& body)
    {
        ASSERT_LE(body.size(), NMEA_BODY_MAX);
        std::memset(slot, 0, NMEA_BODY_MAX + 1);
        std::memcpy(slot, body.data(), body.size());
    }
    static void rmc(const std::string& b) { put(nmea.nmea_rmc, b), nmea_parse_rmc(); }
    static void gga(const std::string& b) { put(nmea.nmea_gga, b), nmea_parse_gga(); }
    static void gsa(const std::string& b) { put(nmea.nmea_gsa, b), nmea_parse_gsa(); }
    static void gsv(const std::string& b) { put(nmea.nmea_gsv, b), nmea_parse_gsv(); }

    // An RMC with a fix, the given speed (knots) and course fields.
    static std::string rmc_body(const char* knots, const char* course)
    {
        return std::string("GPRMC,120000.00,A,4807.038,N,01131.000,W,") + knots + "," + course + ",230394,,";
    }

    test::FakePlatform fake;
};

TEST_F(Parsers, SpeedUnitsFollowSpeedAndFuelSettings)
{
    struct Case {
        uint8_t speed_unit, fuel_unit;
        uint16_t speed;
        uint32_t dist;
    } cases[] = {
        {0, 1, 115, 115}, {1, 2, 185, 100}, {2, 3, 100, 100},
        {2, 4, 100, 185}, {1, 5, 185, 185}, {7, 9, 115, 115}, // unknown units: mph
    };
    for (const Case& c : cases) {
        settings.speed_unit = c.speed_unit;
        settings.fuel_unit = c.fuel_unit;
        rmc(rmc_body("100", "10")); // 1150.8 mph, 1852 km/h, 1000 kn in tenths
        EXPECT_EQ(gps.gps_speed, c.speed) << int(c.speed_unit);
        EXPECT_EQ(gps.gps_speed_dist, c.dist) << int(c.fuel_unit);
        EXPECT_EQ(gps.gps_speed_mph, 115);
    }
}

TEST_F(Parsers, RmcRaisesOnlyTheKeptMaximumSpeed)
{
    rmc(rmc_body("50", "0"));
    EXPECT_EQ(minmax.gps_speed_max, 58); // 575.4 -> 575 -> 57.5 -> 58
    rmc(rmc_body("20", "0"));
    EXPECT_EQ(minmax.gps_speed_max, 58);
    rmc(rmc_body("60", "0"));
    EXPECT_EQ(minmax.gps_speed_max, 69);
}

TEST_F(Parsers, EmptyTimeLeavesEverythingUntouched)
{
    rmc(rmc_body("100", "90"));
    const GpsState before = gps;
    for (const char* b : {"GPRMC,,V,,,,,,,,,,N", "GPRMC,1,V,0000.0,S,0,W,5,5,,", "GPRMC,", "GPRMC"}) {
        rmc(b);
        EXPECT_EQ(std::memcmp(&before, &gps, sizeof gps), 0) << b;
    }
    gga("GPGGA,,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    EXPECT_EQ(gps.gps_sats_used, 0);
    EXPECT_EQ(gps.gps_altitude_m, 0);
}

TEST_F(Parsers, StatusVClearsTheFixUntilAGsaWith3D)
{
    gsa("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    EXPECT_EQ(gps.gps_fix_valid, 1);
    rmc("GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
    EXPECT_EQ(gps.gps_fix_valid, 0);
    gga("GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    EXPECT_EQ(gps.gps_fix_valid, 0);
    gsa("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    EXPECT_EQ(gps.gps_fix_valid, 1);
    EXPECT_EQ(gps.gps_fix_type, 3);
}

TEST_F(Parsers, GsaFixTypePrnsAndDops)
{
    gsa("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
    const uint8_t prns[16] = {4, 5, 0, 9, 12, 0, 0, 24};
    EXPECT_EQ(std::memcmp(gps.gps_prn_used, prns, 16), 0);
    EXPECT_FLOAT_EQ(gps.gps_pdop, 2.5f);
    EXPECT_FLOAT_EQ(gps.gps_hdop, 1.3f);
    EXPECT_FLOAT_EQ(gps.gps_vdop, 2.1f);

    gsa("GPGSA,A,2,01,02,03,04,05,06,07,08,09,10,11,12,1.0,2.0,3.0");
    EXPECT_EQ(gps.gps_fix_type, 2);
    EXPECT_EQ(gps.gps_fix_valid, 1);
    EXPECT_EQ(gps.gps_prn_used[11], 12);
    EXPECT_EQ(gps.gps_prn_used[12], 0);
    EXPECT_FLOAT_EQ(gps.gps_vdop, 3.0f);

    gsa("GPGSA,A,1,,,,,,,,,,,,,,,");
    EXPECT_EQ(gps.gps_fix_type, 0);
    EXPECT_EQ(gps.gps_fix_valid, 0);
    EXPECT_EQ(gps.gps_prn_used[0], 0);
    EXPECT_EQ(gps.gps_pdop, 0.0f);

    // An empty or cut-off fix-type field is no fix, not a fix of type ','.
    for (const char* b : {"GPGSA,A,,,,,,,,,,,,,,,", "GPGSA,A", "GPGSA,A,x,3"}) {
        gsa("GPGSA,A,3,04,,,,,,,,,,,,2.5,1.3,2.1");
        gsa(b);
        EXPECT_EQ(gps.gps_fix_type, 0) << b;
        EXPECT_EQ(gps.gps_fix_valid, 0) << b;
    }
}

TEST_F(Parsers, CourseOf360IsZeroAndMagneticCourseWraps)
{
    rmc(rmc_body("1", "0")); // the first position of the fix brings its own variation
    magsun.mag_variation = 0;
    rmc(rmc_body("1", "360.0"));
    EXPECT_EQ(gps.gps_course, 0);
    EXPECT_EQ(gps.gps_course_mag, 0);

    settings.gps_local_variation = 1; // MANUAL
    settings.gps_manual_variation = -10;
    rmc(rmc_body("1", "355.7"));
    EXPECT_EQ(gps.gps_course, 355);
    EXPECT_EQ(gps.gps_course_mag, 5);
    settings.gps_manual_variation = 20;
    rmc(rmc_body("1", "10"));
    EXPECT_EQ(gps.gps_course_mag, 350);

    // AUTO with a fix: the computed variation, truncated to whole degrees.
    settings.gps_local_variation = 0;
    magsun.mag_variation = -10.9f;
    rmc(rmc_body("1", "355"));
    EXPECT_EQ(gps.gps_course_mag, 5);
    // AUTO where the variation is undefined: the manual value.
    magsun.mag_variation = std::nanf("");
    rmc(rmc_body("1", "355"));
    EXPECT_EQ(gps.gps_course_mag, 335);
    // AUTO without a fix: the manual value too.
    rmc("GPRMC,120000,V,4807.038,N,01131.000,W,1,355,230394,,");
    EXPECT_EQ(gps.gps_course_mag, 335);
}

TEST_F(Parsers, GgaSatellitesAndAltitude)
{
    gga("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    EXPECT_EQ(gps.gps_sats_used, 8);
    EXPECT_EQ(gps.gps_altitude_m, 545);
    EXPECT_EQ(gps.gps_altitude_ft, 1789); // 545.4 x 3.2808 = 1789.4
    gga("GPGGA,071734.929,4404.1178,N,12118.8608,W,0,4,,-19.6,M,-19.6,M,,");
    EXPECT_EQ(gps.gps_sats_used, 4);
    EXPECT_EQ(gps.gps_altitude_m, -19);
    EXPECT_EQ(gps.gps_altitude_ft, -64);
}

TEST_F(Parsers, GsvStoresAtMostTwelveAndClearsBeyondTheCount)
{
    gsv("GPGSV,4,1,14,01,10,100,31,02,20,200,32,03,30,300,33,04,40,045,34");
    gsv("GPGSV,4,2,14,05,50,050,35,06,60,060,36,07,70,070,37,08,80,080,38");
    gsv("GPGSV,4,3,14,09,05,090,39,10,15,110,,11,25,120,41,12,35,130,42");
    gsv("GPGSV,4,4,14,13,45,140,43,14,55,150,44");
    EXPECT_EQ(gps.gps_sats_in_view, 14);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(gps.gps_sats[i].prn, i + 1);
    EXPECT_EQ(gps.gps_sats[12].prn, 0);
    EXPECT_EQ(gps.gps_sats[3].elevation, 40);
    EXPECT_EQ(gps.gps_sats[3].azimuth, 45);
    EXPECT_EQ(gps.gps_sats[3].snr, 34);
    EXPECT_EQ(gps.gps_sats[9].snr, 0); // empty SNR: not tracked

    gsv("GPGSV,2,1,05,21,10,100,31,22,20,200,32,23,30,300,33,24,40,045,34");
    EXPECT_EQ(gps.gps_sats_in_view, 5);
    EXPECT_EQ(gps.gps_sats[0].prn, 21);
    EXPECT_EQ(gps.gps_sats[4].prn, 5); // kept until message 2 arrives
    for (int i = 5; i < 16; ++i) EXPECT_EQ(gps.gps_sats[i].prn, 0) << i;
    gsv("GPGSV,2,2,05,25,,,");
    EXPECT_EQ(gps.gps_sats[4].prn, 25);
    EXPECT_EQ(gps.gps_sats[4].elevation, 0);
    EXPECT_EQ(gps.gps_sats[5].prn, 0);

    // Nothing in view clears every record.
    gsv("GPGSV,1,1,00");
    for (int i = 0; i < 16; ++i) EXPECT_EQ(gps.gps_sats[i].prn, 0);
}

// Bodies no receiver should send: every parser must stay inside the body and
// leave finite values, whatever the fields hold.
TEST_F(Parsers, TruncatedAndAbsurdBodiesAreHarmless)
{
    const std::string long_digits(190, '9');
    const std::vector<std::string> bodies = {
        "", "G", "GP", "GPRMC", "GPRMC,", "GPRMC,1", "GPRMC,12", "GPRMC,12,A", "GPRMC,12,A,", "GPGSV,1",
        "GPGSV,1,", "GPGSV,9,9,9", "GPGSV,3,3,255,1,2,3,4", "GPGSV,1,1,-5,1,2,3,4", "GPGSV,1,1,99999999999",
        "GPRMC,123,A,1e999,N,-1e999,W,1e308,1e300,,", "GPRMC,123,A,inf,N,nan,W,nan,inf",
        "GPRMC,123,A,-.,S,+,W,-5,-400", "GPGGA,123,,,,,,1e40,,-1e40", "GPGSA,A,9,999,-1,1e9,,,,,,,,,,,1e99,-1e99,x",
        "GPRMC,123,A,0x1p4,N,  12.5,E,\t7,12e1", "GPGGA,12," + long_digits, "GPRMC,12," + long_digits,
        "GPGSV,1,1,4," + long_digits, "GPRMC,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,",
    };
    for (const std::string& b : bodies) {
        if (b.size() > NMEA_BODY_MAX) continue;
        rmc(b);
        gga(b);
        gsa(b);
        gsv(b);
        EXPECT_TRUE(std::isfinite(gps.gps_latitude)) << b;
        EXPECT_TRUE(std::isfinite(gps.gps_longitude)) << b;
        EXPECT_TRUE(std::isfinite(gps.gps_pdop)) << b;
        EXPECT_GE(gps.gps_course_mag, 0) << b;
        EXPECT_LT(gps.gps_course_mag, 360) << b;
    }
    rmc("GPRMC,123,A,-.,S,+,W,-5,-400");
    EXPECT_EQ(gps.gps_latitude, 0.0f);
    EXPECT_EQ(gps.gps_speed_mph, 6548); // -57 kept as 16 bits: 65479 / 10, rounded

    gsv("GPGSV,3,3,255,1,2,3,4,5,6,7,8");
    EXPECT_EQ(gps.gps_sats_in_view, 255);
    EXPECT_EQ(gps.gps_sats[8].prn, 1);
    EXPECT_EQ(gps.gps_sats[9].prn, 5);

    // A slot filled to the last byte without a terminator is read as 200 characters.
    std::memset(nmea.nmea_gsv, '1', sizeof nmea.nmea_gsv);
    nmea_parse_gsv();
    std::memset(nmea.nmea_rmc, ',', sizeof nmea.nmea_rmc);
    nmea_parse_rmc();
}

// ---- Real receiver logs, end to end -----------------------------------------

struct LogCase {
    const char* name;
    bool lf_only;          // stored with LF line ends: CR added before feeding
    int min_fixes;         // RMC sentences parsed with status A
    double lat, lon;       // position after the last of them (.chk decoding)
    double knots;          // its speed over ground (.chk speed is in m/s)
    std::function<void()> more; // further checks at the end of the log
};

void PrintTo(const LogCase& c, std::ostream* os) { *os << c.name; }

std::string read_log(const LogCase& c)
{
    // The logs live in the shared data folder beside the repository.
    std::ifstream in(std::string(EMS_SOURCE_DIR) + "/tests/data/nmea/" + c.name, std::ios::binary);
    if (!in) return {};
    std::stringstream ss;
    ss << in.rdbuf();
    std::string raw = ss.str();
    // Leading "#" comment lines are not part of the stream.
    size_t start = 0;
    while (start < raw.size() && raw[start] == '#') {
        const size_t nl = raw.find('\n', start);
        start = nl == std::string::npos ? raw.size() : nl + 1;
    }
    raw.erase(0, start);
    if (!c.lf_only) return raw;
    std::string out;
    for (char ch : raw) {
        if (ch == '\n') out += '\r';
        out += ch;
    }
    return out;
}

class RealLogs : public Parsers, public ::testing::WithParamInterface<LogCase> {};

TEST_P(RealLogs, DecodeLikeTheReferenceDecoder)
{
    const LogCase& c = GetParam();
    const std::string bytes = read_log(c);
    ASSERT_FALSE(bytes.empty()) << "log not found: " << c.name;
    int fixes = 0;
    float lat = 0, lon = 0;
    uint16_t knots = 0;
    settings.speed_unit = 2; // knots, to compare speeds
    auto parse = [](std::atomic<uint8_t>& flag, void (*f)()) {
        if (flag.load(std::memory_order_acquire) == 1) {
            f();
            flag.store(0, std::memory_order_release);
            return true;
        }
        return false;
    };
    for (char ch : bytes) {
        const uint8_t b = uint8_t(ch);
        ComPort1RxChar(&b, 1);
        if (ch != '\n') continue;
        // One main-loop pass per sentence.
        if (parse(nmea.nmea_rmc_new, nmea_parse_rmc) && gps.gps_fix_valid == 1) {
            ++fixes;
            lat = gps.gps_latitude;
            lon = gps.gps_longitude;
            knots = gps.gps_speed;
        }
        parse(nmea.nmea_gga_new, nmea_parse_gga);
        parse(nmea.nmea_gsa_new, nmea_parse_gsa);
        parse(nmea.nmea_gsv_new, nmea_parse_gsv);
    }
    EXPECT_GE(fixes, c.min_fixes) << c.name;
    if (c.min_fixes > 0) {
        EXPECT_NEAR(lat, c.lat, 1e-5) << c.name;
        EXPECT_NEAR(lon, c.lon, 1e-5) << c.name;
        // Knots as the instrument rounds them: trunc(k x 10), then tenths rounded.
        EXPECT_EQ(knots, uint16_t(std::lround(std::trunc(c.knots * 10) / 10))) << c.name;
    } else {
        EXPECT_EQ(fixes, 0) << c.name;
    }
    if (c.more) c.more();
}

const double MS_TO_KNOTS = 3600.0 / 1852.0;

INSTANTIATE_TEST_SUITE_P(
    Nmea, RealLogs,
    ::testing::Values(
        LogCase{"bu353s4.log", true, 20, -37.784795, 175.314901667, 0.0,
                [] {
                    EXPECT_EQ(gps.gps_sats_used, 7);
                    EXPECT_EQ(gps.gps_altitude_m, 60);
                    EXPECT_EQ(gps.gps_course, 181);
                    EXPECT_EQ(gps.gps_sats_in_view, 12);
                    EXPECT_EQ(gps.gps_sats[0].prn, 17);
                    EXPECT_EQ(gps.gps_sats[0].azimuth, 207);
                    EXPECT_FLOAT_EQ(gps.gps_pdop, 1.9f);
                }},
        LogCase{"com-1289.log", true, 5, 48.10622, -1.643693333, 0.0,
                [] {
                    EXPECT_EQ(gps.gps_sats_used, 10);
                    EXPECT_EQ(gps.gps_altitude_m, 42);
                    EXPECT_EQ(gps.gps_course, 266);
                }},
        // Every GGA has a wrong checksum: satellites used and altitude never arrive.
        LogCase{"firefly-II.log", false, 5, 37.261015, -121.961165, 0.0,
                [] {
                    EXPECT_EQ(gps.gps_sats_used, 0);
                    EXPECT_EQ(gps.gps_altitude_m, 0);
                }},
        // One good RMC among garbage, spliced sentences and NUL bytes.
        LogCase{"gp-320fw-2019-04-07-coldboot.log", false, 1, 48.149988333, 11.584663333, 0.1, nullptr},
        // NMEA 4.11 fields; 16 in view, 12 stored; an RMC with an empty time.
        LogCase{"quectel.log", false, 5, -36.7459914, 174.7345484, 0.0,
                [] {
                    EXPECT_EQ(gps.gps_sats_in_view, 16);
                    EXPECT_NE(gps.gps_sats[11].prn, 0);
                    EXPECT_EQ(gps.gps_sats[12].prn, 0);
                    EXPECT_EQ(gps.gps_altitude_m, 56);
                    EXPECT_EQ(gps.gps_course, 301);
                }},
        LogCase{"tr737A+.log", true, 5, 44.068856667, -121.314126667, 0.015 * MS_TO_KNOTS,
                [] { EXPECT_EQ(gps.gps_altitude_m, 1134); }},
        // Only the GN talker sends RMC and GSA: no fix ever reaches the record.
        LogCase{"bu353-glonass.log", false, 0, 0, 0, 0,
                [] {
                    EXPECT_EQ(gps.gps_fix_valid, 0);
                    EXPECT_EQ(gps.gps_sats_in_view, 12);
                }},
        // No fix, and a last sentence cut off.
        LogCase{"holux-gm-210.log", true, 0, 0, 0, 0,
                [] {
                    EXPECT_EQ(gps.gps_fix_valid, 0);
                    EXPECT_NEAR(gps.gps_latitude, 41.528922, 1e-5);
                }}),
    [](const ::testing::TestParamInfo<LogCase>& info) {
        std::string n = info.param.name;
        std::string out;
        for (char ch : n) {
            if (ch == '.') break;
            out += std::isalnum(uint8_t(ch)) ? ch : '_';
        }
        return out;
    });

} // namespace
