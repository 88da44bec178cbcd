// The flight log on a real temporary card: the ring keeps the last 20
// flights and FLIGHTS.CSV gets them in their columns; old files too large
// to be a log and leftover temporary files the card will not let go of are
// refused with a notice that says so; automatic detection dates a flight from
// the first second its criteria held.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ops/settings_card.h"
#include "settings/settings.h"
#include "ops/flight_log.h"
#include "sensors/channels.h"
#include "support/fake_platform.h"
#include "support/firmware_reset.h"
#include "system/clock.h"
#include "system/system_state.h"
#include "ui/screen.h"

using namespace ems;

namespace {

class FlightLog : public ::testing::Test {
protected:
    void SetUp() override { test::reset_firmware(); }

    std::string read(const char* name) const
    {
        std::ifstream in(card.card() / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> rows(const char* name) const
    {
        std::vector<std::string> out;
        std::istringstream in(read(name));
        for (std::string line; std::getline(in, line);) out.push_back(line.substr(0, line.size() - 1));
        return out;
    }

    test::FakePlatform card;
};

TEST_F(FlightLog, TheRingKeepsTheLastTwentyInTheirColumns)
{
    for (uint16_t i = 1; i <= FLIGHT_LOG_ENTRIES + 1; ++i) {
        clk.utc_seconds = 1796645880u + i * 3600u; // 2026-12-07 ...
        flight_start();
        flight.flight_time = i * 60u;
        fuel_hobbs.hobbs.hobbs_hours = i; // hobbs i:15, maintenance (100 - i):45
        fuel_hobbs.hobbs.hobbs_minutes = 15;
        fuel_hobbs.hobbs.maint_hours = uint16_t(100 - i);
        fuel_hobbs.hobbs.maint_minutes = 45;
        flight_stop();
    }
    EXPECT_EQ(flight.log_count, FLIGHT_LOG_ENTRIES);
    EXPECT_EQ(flight_log_entry(0)->flight_seconds, 21u * 60u);
    EXPECT_EQ(flight_log_entry(FLIGHT_LOG_ENTRIES - 1)->flight_seconds, 2u * 60u);
    EXPECT_EQ(flight_log_entry(FLIGHT_LOG_ENTRIES), nullptr);

    ASSERT_TRUE(flight_log_export());
    const auto r = rows("FLIGHTS.CSV");
    ASSERT_EQ(r.size(), 21u);
    EXPECT_EQ(r[0], "START UTC,FLIGHT TIME,PILOT,REGISTRATION,HOBBS,MAINTENANCE");
    EXPECT_TRUE(r[1].ends_with(",0:02:00,0,\"REG NO\",2:15,98:45")) << r[1]; // the first flight is gone
    EXPECT_TRUE(r[20].ends_with(",0:21:00,0,\"REG NO\",21:15,79:45")) << r[20];
}

TEST_F(FlightLog, OldFilesTooLargeAndTempFilesInTheWayAreRefusedWithANotice)
{
    const std::string huge = "START UTC,FLIGHT TIME,PILOT,REGISTRATION,HOBBS,MAINTENANCE\r\n" +
                             std::string(FLIGHT_LOG_FILE_MAX, 'x');
    std::ofstream(card.card() / "FLIGHTS.CSV", std::ios::binary) << huge;
    flight_start();
    flight_stop();
    EXPECT_FALSE(flight_log_export());
    EXPECT_STREQ(flight_log_export_problem(), "OLD FILE TOO LARGE");
    EXPECT_EQ(ScreenHandler, screen_export_failed);
    EXPECT_EQ(read("FLIGHTS.CSV").size(), huge.size());
    EXPECT_FALSE(std::filesystem::exists(card.card() / "FLIGHTS.TMP"));

    // A FIFO left where the temporary files go: neither export nor save can
    // get past it, and both say which file to remove.
    std::filesystem::remove(card.card() / "FLIGHTS.CSV");
    ASSERT_EQ(::mkfifo((card.card() / "FLIGHTS.TMP").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((card.card() / "sorvik2.tmp").c_str(), 0600), 0);
    EXPECT_FALSE(flight_log_export());
    EXPECT_STREQ(flight_log_export_problem(), "REMOVE FLIGHTS.TMP");
    EXPECT_FALSE(settings_save_to_card());
    EXPECT_EQ(ScreenHandler, screen_save_failed);

    std::filesystem::remove(card.card() / "FLIGHTS.TMP");
    std::filesystem::remove(card.card() / "sorvik2.tmp");
    EXPECT_TRUE(flight_log_export());
    EXPECT_TRUE(settings_save_to_card());
}

TEST_F(FlightLog, AutomaticDetectionDatesTheFlightFromItsFirstGoodSecond)
{
    settings.flight_detect = 1;
    settings.gps_source = 0; // RPM 1 alone decides
    sens.rpm = int32_t(settings.flight_detect_min_rpm1);
    const uint32_t first = 1796645880u;
    for (uint32_t s = 0; s < FLIGHT_DETECT_START_SECONDS; ++s) {
        clk.utc_seconds = first + s + 1; // each second is counted as it ends
        flight_detect_second();
    }
    ASSERT_EQ(flight.flight_in_progress, 1);
    EXPECT_EQ(flight.flight_start_utc, first);
    EXPECT_EQ(flight.flight_time, FLIGHT_DETECT_START_SECONDS);
}

} // namespace
