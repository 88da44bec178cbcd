// For tests of the host's NMEA sources: a pass of the main loop's parse step,
// a fixture with the fake platform and a fresh receive link, and a full GSV
// group.
#pragma once
#include <gtest/gtest.h>

#include <QTest>
#include <mutex>
#include <string>
#include <vector>

#include "gps/gps_data.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "support/nmea_io.h"

namespace test {

constexpr int NMEA_WAIT_MS = 5000;

// The main loop's parse step: every sentence type that was handed over.
inline void parse_pass()
{
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) {
        std::atomic<uint8_t>& flag = ems::nmea.*s.flag;
        if (flag.load(std::memory_order_acquire) == 1) {
            s.parse();
            flag.store(0, std::memory_order_release);
        }
    }
}

class NmeaSourcesFixture : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        reset_firmware();
        reset_nmea_link();
    }
    std::vector<std::string> echoes()
    {
        std::lock_guard<std::mutex> lock(fake.echo_mutex);
        return fake.echoes;
    }
    // Runs parse steps until the predicate holds.
    template <typename Pred>
    bool passes_until(Pred pred)
    {
        return QTest::qWaitFor(
            [&] {
                parse_pass();
                return pred();
            },
            NMEA_WAIT_MS);
    }

    FakePlatform fake;
};

inline const std::string GSV1 = "GPGSV,3,1,12,17,72,207,32,28,59,095,31,06,35,347,25,01,29,132,23";
inline const std::string GSV2 = "GPGSV,3,2,12,30,23,011,29,20,17,069,20,26,09,293,23,13,07,304,10";
inline const std::string GSV3 = "GPGSV,3,3,12,11,12,132,04,08,38,008,,02,35,348,,03,14,091,";

} // namespace test
