// The GPS diagnostics know the sentence types from the firmware's table: a
// row added there is counted as read, not as ignored.
#include <gtest/gtest.h>

#include <string>

#include "gps/gps_data.h"
#include "host/gps/core/nmea_watch.h"
#include "support/nmea_io.h"

namespace {

void feed(host::NmeaWatch& watch, const std::string& body)
{
    const std::string line = test::nmea_sentence(body);
    watch.observe(reinterpret_cast<const uint8_t*>(line.data()), line.size());
}

TEST(NmeaWatch, ReadsTheTypesOfTheSentenceTable)
{
    host::NmeaWatch watch;
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) feed(watch, "GP" + std::string(s.id) + ",1");
    EXPECT_EQ(watch.count(host::NmeaOutcome::Good), std::size(ems::NMEA_SENTENCES));
    EXPECT_EQ(watch.count(host::NmeaOutcome::Ignored), 0u);

    feed(watch, "GPXYZ,1");
    EXPECT_EQ(watch.count(host::NmeaOutcome::Ignored), 1u);
    const std::string reason = watch.last_reason();
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES)
        EXPECT_NE(reason.find(s.id), std::string::npos) << reason;
}

} // namespace
