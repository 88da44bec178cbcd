// Framing, checksum and hand-over of NMEA sentences on the receive side.
#include <gtest/gtest.h>

#include "support/nmea_io.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gps/nmea_rx.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"

namespace {

uint8_t xor_of(const std::string& body)
{
    uint8_t sum = 0;
    for (char c : body) sum ^= uint8_t(c);
    return sum;
}

// "$body*HH\r\n" with the correct checksum (upper case unless asked).
std::string sentence(const std::string& body, bool lower = false, const char* end = "\r\n")
{
    return test::nmea_sentence(body, lower, end);
}

class NmeaRx : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::reset_nmea_link();
    }
    void TearDown() override
    {
        test::reset_nmea_link();
    }

    void feed(const std::string& bytes)
    {
        ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::vector<std::string> echoes()
    {
        std::lock_guard<std::mutex> lock(fake.echo_mutex);
        return fake.echoes;
    }
    static uint8_t timeout() { return ems::nmea.gps_data_timeout.load(); }
    static uint8_t active() { return ems::nmea.nmea_active.load(); }

    test::FakePlatform fake;
};

const std::string RMC = "GPRMC,081411.000,A,5541.1955,N,03737.2872,E,0.60,301.29,260514,,,A";
const std::string GGA = "GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000";
const std::string GSA = "GPGSA,A,3,17,28,06,01,30,20,26,13,,,,,1.8,1.1,1.5";
const std::string GSV = "GPGSV,3,1,11,01,06,230,35,05,16,114,43,06,65,063,50,07,72,061,47";

TEST_F(NmeaRx, GoodSentencesAreEchoedRefreshTheTimeoutAndFillTheirSlots)
{
    feed(sentence(RMC) + sentence(GGA) + sentence(GSA) + sentence(GSV));
    EXPECT_EQ(echoes(), (std::vector<std::string>{RMC, GGA, GSA, GSV}));
    EXPECT_EQ(active(), 1);
    EXPECT_EQ(timeout(), 3);
    EXPECT_EQ(ems::nmea.nmea_rmc_new.load(), 1);
    EXPECT_EQ(ems::nmea.nmea_gga_new.load(), 1);
    EXPECT_EQ(ems::nmea.nmea_gsa_new.load(), 1);
    EXPECT_EQ(ems::nmea.nmea_gsv_new.load(), 1);
    EXPECT_STREQ(ems::nmea.nmea_rmc, RMC.c_str());
    EXPECT_STREQ(ems::nmea.nmea_gga, GGA.c_str());
    EXPECT_STREQ(ems::nmea.nmea_gsa, GSA.c_str());
    EXPECT_STREQ(ems::nmea.nmea_gsv, GSV.c_str());
    EXPECT_EQ(ems::nmea_rx.nmea_state, ems::NMEA_WAIT_START);
}

TEST_F(NmeaRx, LowerCaseChecksumIsAccepted)
{
    const std::string body = "GPGSA,A,1,,,,,,,,,,,,,50.0,50.0,50.0"; // checksum 05: no letter
    const std::string lettered = GGA;                                  // checksum 7D
    ASSERT_EQ(xor_of(lettered), 0x7D);
    feed(sentence(lettered, true));
    EXPECT_EQ(echoes(), std::vector<std::string>{lettered});
    feed(sentence(body, true));
    EXPECT_EQ(echoes().size(), 2u);
}

TEST_F(NmeaRx, BadFramingOrChecksumDropsSilentlyAndLeavesTheTimeoutAlone)
{
    ems::nmea.gps_data_timeout.store(1);
    std::string wrong = sentence(GGA);
    wrong[wrong.size() - 3] = '0'; // "*70" instead of "*7D"
    const std::vector<std::string> bad = {
        wrong,
        sentence(GGA, false, "\n"),     // LF without CR
        sentence(GGA, false, "\r"),     // CR, then the next sentence's "$"
        sentence(GGA, false, "\r\r\n"), // anything between CR and LF
        sentence(GGA, false, " \r\n"),  // anything between checksum and CR
        "$" + GGA + "*7\r\n",           // one checksum digit
        "$" + GGA + "\r\n",             // no checksum at all: runs on as body
    };
    for (const std::string& s : bad) {
        ems::nmea_rx = ems::NmeaRx{};
        feed(s);
        EXPECT_TRUE(echoes().empty()) << s;
    }
    EXPECT_EQ(timeout(), 1);
    EXPECT_EQ(active(), 0);
    EXPECT_EQ(ems::nmea.nmea_gga_new.load(), 0);
}

TEST_F(NmeaRx, MissingCrLosesOnlyThatSentence)
{
    feed(sentence(GGA, false, "") + sentence(RMC) + sentence(GSA));
    EXPECT_EQ(echoes(), (std::vector<std::string>{RMC, GSA}));
}

TEST_F(NmeaRx, BodyOfTwoHundredIsAcceptedAndTwoHundredOneIsDroppedAtOnce)
{
    std::string body200 = "GPGSV,";
    body200.resize(200, '9');
    feed(sentence(body200));
    ASSERT_EQ(echoes(), std::vector<std::string>{body200});
    EXPECT_EQ(ems::nmea.nmea_gsv_new.load(), 1);
    EXPECT_EQ(std::string(ems::nmea.nmea_gsv), body200);

    const std::string body201 = body200 + "9";
    feed("$" + body201);
    EXPECT_EQ(ems::nmea_rx.nmea_state, ems::NMEA_WAIT_START); // dropped on the 201st character
    feed(sentence(body201).substr(1 + 201));                  // its "*HH\r\n" is ignored
    EXPECT_EQ(echoes().size(), 1u);

    feed(sentence(RMC));
    EXPECT_EQ(echoes().back(), RMC);
}

TEST_F(NmeaRx, FullSlotKeepsTheWaitingBodyButTheNewOneIsEchoedAndRefreshes)
{
    const std::string rmc2 = "GPRMC,081412.000,V,,,,,,,260514,,,N";
    feed(sentence(RMC));
    ems::nmea.gps_data_timeout.store(0);
    ems::nmea.nmea_active.store(0);
    feed(sentence(rmc2));
    EXPECT_EQ(echoes(), (std::vector<std::string>{RMC, rmc2}));
    EXPECT_EQ(timeout(), 3);
    EXPECT_EQ(active(), 1);
    EXPECT_STREQ(ems::nmea.nmea_rmc, RMC.c_str());

    // Once the main loop has parsed the slot the next body goes in.
    ems::nmea.nmea_rmc_new.store(0, std::memory_order_release);
    feed(sentence(rmc2));
    EXPECT_EQ(ems::nmea.nmea_rmc_new.load(), 1);
    EXPECT_STREQ(ems::nmea.nmea_rmc, rmc2.c_str());
}

TEST_F(NmeaRx, OtherTalkersAndTypesAreEchoedButNeverSlotted)
{
    const std::vector<std::string> others = {
        "GNRMC,081411.000,A,5541.1955,N,03737.2872,E,0.60,301.29,260514,,,A",
        "GLGSV,3,1,09,65,30,061,25,66,54,010,23,72,10,333,,74,20,204,",
        "GPZDA,005947.00,08,07,2010,+00,00",
        "GPVTG,301.29,T,,M,0.60,N,1.1,K,A",
        "PLCS,1",
        "GPGS", // too short to name a type
        "",     // empty body, checksum 00
        "gprmc,lower",
    };
    for (const std::string& s : others) feed(sentence(s));
    EXPECT_EQ(echoes(), others);
    EXPECT_EQ(ems::nmea.nmea_rmc_new.load() | ems::nmea.nmea_gga_new.load() |
                  ems::nmea.nmea_gsa_new.load() | ems::nmea.nmea_gsv_new.load(),
              0);
    EXPECT_EQ(timeout(), 3);
}

TEST_F(NmeaRx, DollarAlwaysStartsANewSentence)
{
    // A sentence cut short, in its body or its checksum, by the next one:
    // the next one is kept.
    for (const std::string& cut : {std::string("$GPGGA,0125"), "$" + GGA + "*", "$" + GGA + "*7"})
        feed(cut + sentence(RMC));
    EXPECT_EQ(echoes(), std::vector<std::string>(3, RMC));
    EXPECT_STREQ(ems::nmea.nmea_rmc, RMC.c_str());
    EXPECT_EQ(ems::nmea.nmea_gga_new.load(), 0);

    // A checksum over a spliced body no longer passes.
    feed(sentence("GPGGA,0125$" + RMC));
    EXPECT_EQ(echoes().size(), 3u);
}

TEST_F(NmeaRx, GarbageAndNulBytesDoNotDisturbTheNextSentence)
{
    std::string garbage("\0\xff\x80 noise \r\n*12\r\n\x01\x02", 20);
    garbage += std::string(1000, '\0');
    feed(garbage + sentence(GSA));
    EXPECT_EQ(echoes(), std::vector<std::string>{GSA});

    // A NUL inside a body counts nothing towards the checksum; the sentence is
    // good, the echo ends at the NUL and the slot holds all of it.
    const std::string with_nul = std::string("GPGSV,1,1,00\0X", 14);
    feed(sentence(with_nul));
    EXPECT_EQ(echoes().back(), "GPGSV,1,1,00");
    EXPECT_EQ(ems::nmea.nmea_gsv_new.load(), 1);
    EXPECT_EQ(std::string(ems::nmea.nmea_gsv, with_nul.size()), with_nul);
}

TEST(NmeaHexValue, ReadsDigitsOfEitherCaseAfterBlanks)
{
    EXPECT_EQ(ems::nmea_hex_value("7D"), 0x7Du);
    EXPECT_EQ(ems::nmea_hex_value("7d"), 0x7Du);
    EXPECT_EQ(ems::nmea_hex_value("aF"), 0xAFu);
    EXPECT_EQ(ems::nmea_hex_value(" \t1f"), 0x1Fu);
    EXPECT_EQ(ems::nmea_hex_value("1G"), 1u);
    EXPECT_EQ(ems::nmea_hex_value("G1"), 0u);
    EXPECT_EQ(ems::nmea_hex_value(""), 0u);
    EXPECT_EQ(ems::nmea_hex_value("FFFFFFFF1"), 0xFFFFFFF1u); // wraps, no overflow
}

// ---- Real receiver logs -------------------------------------------------

// The raw byte stream of a log, without its leading "#" comment lines.
std::string load_log(const std::string& name)
{
    std::ifstream in(std::string(EMS_SOURCE_DIR) + "/tests/data/nmea/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string all = ss.str();
    size_t pos = 0;
    while (pos < all.size() && all[pos] == '#') {
        const size_t nl = all.find('\n', pos);
        pos = nl == std::string::npos ? all.size() : nl + 1;
    }
    return all.substr(pos);
}

std::string to_crlf(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
        out += s[i];
    }
    return out;
}

// Counts, line by line, the lines of the form "...$body*HH" (CR LF ended)
// whose checksum matches: how the sentences look in a clean log.
size_t count_good_lines(const std::string& stream)
{
    size_t good = 0, start = 0;
    for (size_t end; (end = stream.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = stream.substr(start, end - start);
        const size_t dollar = line.rfind('$'); // a "$" starts the sentence afresh
        const size_t star = line.find('*', dollar == std::string::npos ? 0 : dollar);
        if (dollar == std::string::npos || star == std::string::npos || star + 3 != line.size()) continue;
        const std::string body = line.substr(dollar + 1, star - dollar - 1);
        if (body.size() > 200) continue;
        unsigned cs = 0;
        if (std::sscanf(line.c_str() + star + 1, "%2x", &cs) != 1) continue;
        if (cs == xor_of(body)) ++good;
    }
    return good;
}

class NmeaLogs : public NmeaRx {
protected:
    // Feeds the stream in random-sized receive events of 1..64 bytes.
    void feed_chunked(const std::string& s, unsigned seed)
    {
        std::mt19937 rng(seed);
        std::uniform_int_distribution<size_t> size(1, 64);
        for (size_t pos = 0; pos < s.size();) {
            const size_t n = std::min(size(rng), s.size() - pos);
            ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(s.data() + pos), n);
            pos += n;
            // The main loop empties the slots now and then.
            if (rng() % 4 == 0) {
                ems::nmea.nmea_rmc_new.store(0);
                ems::nmea.nmea_gga_new.store(0);
                ems::nmea.nmea_gsa_new.store(0);
                ems::nmea.nmea_gsv_new.store(0);
            }
        }
    }
    void reset_all()
    {
        test::reset_nmea_link();
        std::lock_guard<std::mutex> lock(fake.echo_mutex);
        fake.echoes.clear();
    }
};

TEST_F(NmeaLogs, EchoCountsMatchAnIndependentCount)
{
    struct Case {
        const char* log;
        size_t echoed;      // as stored
        size_t echoed_crlf; // with LF line ends turned into CR LF
    };
    const Case cases[] = {
        {"bu353-glonass.log", 112, 112},
        {"firefly-II.log", 46, 46}, // every GGA has a wrong checksum
        {"quectel.log", 312, 312},
        {"bu353s4.log", 0, 90}, // LF only
        {"holux-gm-210.log", 0, 39},
        {"tr737A+.log", 0, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        const std::string raw = load_log(c.log);
        ASSERT_FALSE(raw.empty());
        const std::string crlf = to_crlf(raw);
        EXPECT_EQ(count_good_lines(raw), c.echoed);
        EXPECT_EQ(count_good_lines(crlf), c.echoed_crlf);

        for (unsigned seed : {1u, 2u}) {
            reset_all();
            feed_chunked(raw, seed);
            EXPECT_EQ(echoes().size(), c.echoed);
            reset_all();
            feed_chunked(crlf, seed);
            EXPECT_EQ(echoes().size(), c.echoed_crlf);
        }
    }
}

TEST_F(NmeaLogs, EveryLogGivesTheSameEchoesWhateverTheChunking)
{
    for (const char* log : {"bu353-glonass.log", "bu353s4.log", "com-1289.log", "firefly-II.log",
                            "gp-320fw-2019-04-07-coldboot.log", "holux-gm-210.log", "quectel.log",
                            "tr737A+.log"}) {
        SCOPED_TRACE(log);
        const std::string s = to_crlf(load_log(log));
        reset_all();
        feed(s);
        const std::vector<std::string> whole = echoes();
        EXPECT_FALSE(whole.empty());
        for (const std::string& e : whole) EXPECT_LE(e.size(), ems::NMEA_BODY_MAX);
        reset_all();
        feed_chunked(s, 7);
        EXPECT_EQ(echoes(), whole);
    }
}

TEST_F(NmeaLogs, GarbledColdBootLogKeepsOnlySentencesWithGoodChecksums)
{
    // Garbage, spliced sentences, NUL bytes and bad checksums. Three lines
    // that are good on their own follow a line cut off before its "*"; the
    // "$" of each starts it afresh, so they are kept.
    const std::string s = load_log("gp-320fw-2019-04-07-coldboot.log");
    feed(s);
    const std::vector<std::string> got = echoes();
    EXPECT_EQ(count_good_lines(s), 91u);
    EXPECT_EQ(got.size(), 91u);
    for (const std::string& body : got) {
        const std::string again = sentence(body);
        EXPECT_NE(s.find(again), std::string::npos) << body;
    }
    auto echoed = [&](const char* start) {
        for (const std::string& body : got)
            if (body.rfind(start, 0) == 0) return true;
        return false;
    };
    EXPECT_TRUE(echoed("GPRMC,235948.00,")); // after "$GPRMC,000346.03,A,4808<NUL>..."
    EXPECT_TRUE(echoed("GPRMC,235958.00,")); // after "$GPGSV,3,2,11,25,32,097"
    EXPECT_TRUE(echoed("GPGGA,000427.00,")); // after "$GPVTG,,T,,M,2C"
}

} // namespace
