// The tick pacer (ticks due by the wall clock, catch-up bounded) and gpsd's
// side of a connection read as the unit reads NMEA.
#include <gtest/gtest.h>

#include <string>

#include "host/gps/core/gpsd_stream.h"
#include "host/window/core/tick_pacer.h"

namespace {

TEST(TickPacer, DeliversEveryTickDueAndBoundsTheCatchUp)
{
    host::TickPacer pacer;
    pacer.start(1000);
    EXPECT_EQ(pacer.take_due(1099), 0);
    EXPECT_EQ(pacer.take_due(1100), 1);
    EXPECT_EQ(pacer.wait_ms(1100), 100);
    // A busy spell of 0.85 s: the eight ticks that fell due come together.
    EXPECT_EQ(pacer.take_due(1950), 8);
    EXPECT_EQ(pacer.take_due(1999), 0);
    EXPECT_EQ(pacer.wait_ms(1950), 50); // the phase is kept
    // A minute asleep makes up 10 s only, then goes on in phase.
    EXPECT_EQ(pacer.take_due(61950), host::TICK_CATCH_UP_MAX);
    EXPECT_EQ(pacer.take_due(62000), 1);
    EXPECT_EQ(pacer.take_due(62099), 0);
}

std::string push(host::GpsdStream& s, const std::string& bytes)
{
    std::string out;
    // In two pieces, as a socket may deliver them.
    const size_t half = bytes.size() / 2;
    s.push(reinterpret_cast<const uint8_t*>(bytes.data()), half, out);
    s.push(reinterpret_cast<const uint8_t*>(bytes.data()) + half, bytes.size() - half, out);
    return out;
}

// Lines as gpsd 3.22 sent them, relaying a GLONASS receiver.
TEST(GpsdStream, PassesNmeaAsTheUnitReadsItAndReadsTheReports)
{
    host::GpsdStream s;
    EXPECT_EQ(push(s, "{\"class\":\"VERSION\",\"release\":\"3.22\",\"rev\":\"3.22\",\"proto_major\":3}\r\n"), "");
    EXPECT_EQ(s.devices(), -1);
    EXPECT_EQ(s.fix_mode(), -1);
    EXPECT_EQ(push(s, "{\"class\":\"DEVICES\",\"devices\":[{\"class\":\"DEVICE\",\"path\":\"/dev/pts/1\","
                      "\"activated\":\"2026-12-07T17:54:19.626Z\",\"native\":0}]}\r\n"),
              "");
    EXPECT_EQ(s.devices(), 1);
    EXPECT_EQ(push(s, "$GNRMC,081416.000,A,5541.1967,N,03737.2926,E,0.39,333.53,260514,,,A*72\n"
                      "{\"class\":\"TPV\",\"device\":\"/dev/pts/1\",\"mode\":1}\r\n"
                      "$GPGGA,081417.000,5541.1969,N,03737.2928,E,1,6,2.56,66.2,M,14.5,M,,*61\r\n"),
              "$GPRMC,081416.000,A,5541.1967,N,03737.2926,E,0.39,333.53,260514,,,A*6C\r\n"
              "$GPGGA,081417.000,5541.1969,N,03737.2928,E,1,6,2.56,66.2,M,14.5,M,,*61\r\n");
    EXPECT_EQ(s.fix_mode(), 1);
    push(s, "{\"class\":\"TPV\",\"device\":\"/dev/pts/1\",\"mode\":3,\"lat\":55.686611}\r\n");
    EXPECT_EQ(s.fix_mode(), 3);
    push(s, "{\"class\":\"TPV\",\"mode\":330000}\r\n"); // garbage on the line is no fix
    EXPECT_EQ(s.fix_mode(), 0);
    push(s, "{\"class\":\"DEVICE\",\"path\":\"/dev/pts/1\",\"activated\":0}\r\n");
    EXPECT_EQ(s.devices(), 0);
    push(s, "{\"class\":\"DEVICES\",\"devices\":[]}\r\n");
    EXPECT_EQ(s.devices(), 0);
    // A line too long to be either is dropped whole, and reading goes on.
    EXPECT_EQ(push(s, std::string(host::GPSD_LINE_MAX + 10, '$') + "\n$GPGSA,A,1,,,,,,,,,,,,,,,*1E\n"),
              "$GPGSA,A,1,,,,,,,,,,,,,,,*1E\r\n");
}

} // namespace
