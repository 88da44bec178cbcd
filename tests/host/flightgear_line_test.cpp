// The FlightGear line: what is taken and what is refused, the shipped
// protocol file in step with the parser, and the position sentences read
// back by the unit's own NMEA readers.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "gps/nmea_fields.h"
#include "host/core/flightgear_drive.h"
#include "host/core/flightgear_line.h"

namespace {

using host::FlightGearParse;

const std::string GOOD = "4900,25.56,1373,223,192.9,57.8,6.21,9.80,6.00,13.99,13.9,48.245440,-11.342588,2025,98.0,261.6";

TEST(FlightGearLine, TakesWholeLinesOfNumbersAndRefusesTheRest)
{
    host::FlightGearSample s;
    ASSERT_EQ(host::parse_flightgear_line(GOOD, s).status, FlightGearParse::Ok);
    EXPECT_EQ(s.rpm, 4900);
    EXPECT_EQ(s.egt_degf, 1373);
    EXPECT_EQ(s.longitude_deg, -11.342588);
    EXPECT_EQ(s.track_deg, 261.6);
    EXPECT_EQ(host::parse_flightgear_line(" 4900 , 25.56," + GOOD.substr(11) + "\r", s).status, FlightGearParse::Ok);

    const struct {
        std::string line;
        FlightGearParse status;
        size_t field;
    } refused[] = {
        {"", FlightGearParse::FieldCount, 0},
        {GOOD + ",1", FlightGearParse::FieldCount, 0},
        {GOOD.substr(0, GOOD.rfind(',')), FlightGearParse::FieldCount, 0},
        {"4900,," + GOOD.substr(11), FlightGearParse::NotANumber, 1},
        {"4900,25.56,nan" + GOOD.substr(14), FlightGearParse::NotANumber, 2},
        {"4900,25.56,inf" + GOOD.substr(14), FlightGearParse::NotANumber, 2},
        {"4900,25.56,13x3" + GOOD.substr(15), FlightGearParse::NotANumber, 2},
        {"4900,25.56,0x1" + GOOD.substr(14), FlightGearParse::NotANumber, 2},
        {"-5" + GOOD.substr(4), FlightGearParse::OutOfRange, 0},
        {GOOD.substr(0, GOOD.find("48.245440")) + "91" + GOOD.substr(GOOD.find(",-11")), FlightGearParse::OutOfRange, 11},
        {GOOD + std::string(600, ' '), FlightGearParse::TooLong, 0},
    };
    for (const auto& r : refused) {
        host::FlightGearSample kept = s;
        const host::FlightGearResult result = host::parse_flightgear_line(r.line, kept);
        EXPECT_EQ(result.status, r.status) << r.line;
        if (r.status == FlightGearParse::NotANumber || r.status == FlightGearParse::OutOfRange) {
            EXPECT_EQ(result.field, r.field) << r.line;
        }
        EXPECT_EQ(kept.rpm, s.rpm) << "a refused line changes nothing";
        EXPECT_FALSE(host::flightgear_reason(result, r.line).empty());
    }
}

TEST(FlightGearLine, TheShippedProtocolFileSendsTheFieldsInTheParsersOrder)
{
    std::ifstream f(std::string(EMS_SOURCE_DIR) + "/assets/flightgear/sorvik-ems.xml");
    ASSERT_TRUE(f);
    std::stringstream text;
    text << f.rdbuf();
    const std::string xml = text.str();
    const std::regex chunk(R"(<format>([^<]*)</format>\s*<node>([^<]*)</node>)");
    size_t i = 0;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), chunk); it != std::sregex_iterator(); ++it, ++i) {
        ASSERT_LT(i, host::FLIGHTGEAR_FIELD_COUNT);
        EXPECT_EQ((*it)[1].str(), host::FLIGHTGEAR_FIELD_TABLE[i].format);
        EXPECT_EQ((*it)[2].str(), host::FLIGHTGEAR_FIELD_TABLE[i].property);
    }
    EXPECT_EQ(i, host::FLIGHTGEAR_FIELD_COUNT);
    EXPECT_NE(xml.find("<var_separator>,</var_separator>"), std::string::npos);
}

// The body of the sentence starting with "$" + type in text.
std::string body_of(const std::string& text, const std::string& type)
{
    const size_t start = text.find("$" + type);
    const size_t star = text.find('*', start);
    return text.substr(start + 1, star - start - 1);
}

TEST(FlightGearLine, PositionSentencesReadBackAsTheSample)
{
    host::FlightGearSample s;
    ASSERT_EQ(host::parse_flightgear_line(GOOD, s).status, FlightGearParse::Ok);
    s.latitude_deg = -33.9999999; // minutes that round up to a whole degree
    s.track_deg = -10;
    const std::string nmea = host::flightgear_nmea(s, {2026, 6, 7, 12, 35, 9});
    EXPECT_NE(nmea.find("$GPRMC,123509.00,A,3400.0000,S,01120.5553,W,98.0,350.0,070626"), std::string::npos) << nmea;
    const ems::RmcFields rmc = ems::read_rmc(body_of(nmea, "GPRMC"));
    EXPECT_EQ(rmc.fix_valid, 1);
    EXPECT_NEAR(rmc.latitude, -34.0, 1e-4);
    EXPECT_NEAR(rmc.longitude, -11.342588, 1e-4);
    EXPECT_NEAR(rmc.knots, 98.0, 1e-3);
    EXPECT_EQ(rmc.course, 350);
    const ems::GgaFields gga = ems::read_gga(body_of(nmea, "GPGGA"));
    EXPECT_EQ(gga.altitude_m, 617); // 2025 ft
    EXPECT_EQ(gga.sats_used, 8);
    const ems::GsvFields second_half = ems::read_gsv(body_of(host::flightgear_nmea(s, {}, 1), "GPGSV"));
    EXPECT_EQ(second_half.sats_in_view, 8);
    EXPECT_EQ(second_half.first, 4);
    EXPECT_EQ(second_half.count, 4);
    // Every sentence carries its checksum and CR LF.
    for (const char* type : {"GPRMC", "GPGGA", "GPGSA", "GPGSV"}) {
        const std::string body = body_of(nmea, type);
        unsigned sum = 0;
        for (char c : body) sum ^= uint8_t(c);
        char expected[8];
        std::snprintf(expected, sizeof expected, "*%02X\r\n", sum);
        EXPECT_NE(nmea.find(body + expected), std::string::npos) << type;
    }
}

} // namespace
