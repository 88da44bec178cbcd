// The FlightGear line: what is taken and what is refused, the shipped
// protocol file well-formed and in step with the parser, and the position
// sentences read back by the unit's own NMEA readers.
#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gps/nmea_fields.h"
#include "host/flightgear/core/flightgear_drive.h"
#include "host/flightgear/core/flightgear_line.h"

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

// The protocol file read as FlightGear reads it, by a conforming XML parser
// (FlightGear refuses a file that is not well-formed and then sends nothing).
TEST(FlightGearLine, TheShippedProtocolFileIsWellFormedAndSendsTheParsersFields)
{
    QFile file(EMS_SOURCE_DIR "/assets/flightgear/sorvik-ems.xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    struct Chunk {
        QString type, format, node;
    };
    std::vector<Chunk> chunks;
    QString var_separator, line_separator;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QStringView name = xml.name();
        if (name == u"chunk") chunks.emplace_back();
        else if (name == u"type" && !chunks.empty()) chunks.back().type = xml.readElementText();
        else if (name == u"format" && !chunks.empty()) chunks.back().format = xml.readElementText();
        else if (name == u"node" && !chunks.empty()) chunks.back().node = xml.readElementText();
        else if (name == u"var_separator") var_separator = xml.readElementText();
        else if (name == u"line_separator") line_separator = xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << "line " << xml.lineNumber() << ", column " << xml.columnNumber() << ": "
                                 << xml.errorString().toStdString();
    EXPECT_EQ(var_separator, ",");
    EXPECT_EQ(line_separator, "newline");
    ASSERT_EQ(chunks.size(), host::FLIGHTGEAR_FIELD_COUNT);
    for (size_t i = 0; i < chunks.size(); ++i) {
        const host::FlightGearField& f = host::FLIGHTGEAR_FIELD_TABLE[i];
        EXPECT_EQ(chunks[i].node, f.property) << i;
        EXPECT_EQ(chunks[i].type, f.type) << f.name;
        EXPECT_EQ(chunks[i].format, f.format) << f.name;
    }
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
