// The hand-over of sentences from the serial receive thread to the main loop:
// a real second thread feeds bytes while the main thread runs passes. Every
// good sentence is echoed, no parsed position is torn between two sentences,
// and (under ThreadSanitizer) the slots and flags show no data race.
#include <atomic>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "support/fake_platform.h"
#include "support/nmea_io.h"
#include "support/firmware_reset.h"
#include "app/power.h"

namespace {

// Sentence i puts the aircraft at latitude 10 + i/60000 degrees and longitude
// 20 + i/60000 degrees, so a consistent parse has both minutes fractions equal.
std::string rmc(int i)
{
    char body[128];
    std::snprintf(body, sizeof body, "GPRMC,120000,A,1000.%03d,N,02000.%03d,E,100.0,90.0,010126,,", i % 1000, i % 1000);
    return test::nmea_sentence(body);
}

TEST(HandOver, ReceiveThreadAndMainLoopShareOnlySlotsAndFlags)
{
    test::FakePlatform platform;
    test::reset_firmware();
    constexpr int SENTENCES = 3000;
    std::atomic<bool> done{false};

    std::thread receiver([&] {
        uint32_t seed = 12345;
        for (int i = 0; i < SENTENCES; ++i) {
            std::string bytes = rmc(i) + test::nmea_sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
            size_t pos = 0;
            while (pos < bytes.size()) {
                seed = seed * 1103515245u + 12345u;
                const size_t n = std::min(bytes.size() - pos, size_t(1 + (seed >> 16) % 40));
                ems::ComPort1RxChar(reinterpret_cast<const uint8_t*>(bytes.data()) + pos, n);
                pos += n;
            }
            if (i % 16 == 0) std::this_thread::yield();
        }
        done = true;
    });

    int torn = 0, parsed_passes = 0;
    while (!done.load() || ems::nmea.nmea_rmc_new.load() || ems::nmea.nmea_gsa_new.load()) {
        ems::main_loop_pass();
        if (ems::gps.gps_latitude != 0.0f) {
            ++parsed_passes;
            const double lat_min = (ems::gps.gps_latitude - 10.0) * 60.0;
            const double lon_min = (ems::gps.gps_longitude - 20.0) * 60.0;
            if (std::fabs(lat_min - lon_min) > 0.0005) ++torn;
        }
    }
    receiver.join();

    EXPECT_EQ(torn, 0);
    EXPECT_GT(parsed_passes, 0);
    std::lock_guard<std::mutex> lock(platform.echo_mutex);
    EXPECT_EQ(platform.echoes.size(), size_t(2 * SENTENCES)) << "every good sentence is echoed";
    EXPECT_EQ(ems::gps.gps_fix_valid, 1);
}

} // namespace
