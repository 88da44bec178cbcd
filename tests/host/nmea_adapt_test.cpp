// Rewriting NMEA on its way in: modern talkers and bare LF adapted, wrong
// checksums left wrong, and UDP datagrams joined into lines.
#include <gtest/gtest.h>

#include <string>

#include "host/gps/core/nmea_adapt.h"
#include "support/nmea_io.h"

namespace {

std::string adapt(const std::string& in, size_t split)
{
    host::NmeaAdapter a;
    std::string out;
    a.push(reinterpret_cast<const uint8_t*>(in.data()), split, out);
    a.push(reinterpret_cast<const uint8_t*>(in.data()) + split, in.size() - split, out);
    return out;
}

TEST(NmeaAdapter, ModernTalkersAndBareLineFeedsBecomeWhatTheUnitReads)
{
    const std::string gn = test::nmea_sentence("GNRMC,081411.000,A,5541.1955,N,03737.2872,E,0.60,301.29,260514,,,A", false, "\n");
    const std::string gp = test::nmea_sentence("GPRMC,081411.000,A,5541.1955,N,03737.2872,E,0.60,301.29,260514,,,A");
    std::string bad = test::nmea_sentence("GLGSV,1,1,01,65,10,020,30");
    bad[bad.size() - 4] ^= 1; // a checksum digit
    const std::string vtg = test::nmea_sentence("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K", false, "\n");
    const std::string in = "noise\n" + gn + bad + vtg + "$GAGGA,cut";
    for (size_t split : {size_t(0), size_t(10), in.size() / 2, in.size()}) {
        EXPECT_EQ(adapt(in, split), "noise\n" + gp + bad + test::nmea_sentence("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K"))
            << split;
    }
}

TEST(NmeaDatagrams, SentencesJoinedAcrossDatagramsAndEndedWithThem)
{
    host::NmeaDatagrams d;
    std::string out;
    auto push = [&](const std::string& s) { d.push(reinterpret_cast<const uint8_t*>(s.data()), s.size(), out); };
    const std::string gga = test::nmea_sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    push(gga.substr(0, 17));
    EXPECT_EQ(out, "");
    push(gga.substr(17));
    EXPECT_EQ(out, gga);
    out.clear();
    push(test::nmea_sentence("GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1", false, "")); // no line end
    push("$GPRMC,cut short");                                                          // given up by the next "$"
    push(test::nmea_sentence("GPGSA,A,2", false, "\r"));
    EXPECT_EQ(out, test::nmea_sentence("GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1") + test::nmea_sentence("GPGSA,A,2"));
}

} // namespace
