// The replay of a recorded NMEA log: the plan taken from its time stamps or
// a rate, and a shortened replay of a real file into the firmware.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "gps/gps_data.h"
#include "host/gps/nmea_file_replay.h"
#include "support/nmea_sources_fixture.h"

namespace {

using test::GSV1;
using test::GSV2;
using test::GSV3;
using NmeaReplay = test::NmeaSourcesFixture;

TEST(NmeaReplayPlan, FollowsTimeStamps)
{
    EXPECT_DOUBLE_EQ(host::nmea_time_of_day("$GPRMC,030719.250,A,"), 3 * 3600 + 7 * 60 + 19.25);
    EXPECT_DOUBLE_EQ(host::nmea_time_of_day("$GNGGA,235959,"), 86399);
    EXPECT_EQ(host::nmea_time_of_day("$GPGSA,030719,"), -1);
    EXPECT_EQ(host::nmea_time_of_day("$GPRMC,,V,"), -1);
    EXPECT_EQ(host::nmea_time_of_day("$GPRMC,99"), -1);

    const QByteArray log = "# Name: test\n# comment\n"
                           "$GPGGA,235958.00,x*00\n$GPGSA,A,3*00\n$GPRMC,235958.00,A*00\n"
                           "\n$GPGGA,235959.50,x*00\r\n$GPRMC,235959.50,A*00\n"
                           "# not a header any more\n$GPGGA,000000.50,x*00\n$GPGGA,000000.00,x*00\n"
                           "$GPGGA,000100.00,x*00";
    bool timed = false;
    const auto steps = host::plan_replay(log, 5, timed);
    ASSERT_TRUE(timed);
    ASSERT_EQ(steps.size(), 9u);
    EXPECT_EQ(steps[0].line, "$GPGGA,235958.00,x*00\r\n");
    EXPECT_EQ(steps[4].line, "$GPRMC,235959.50,A*00\r\n");
    EXPECT_EQ(steps[5].line, "# not a header any more\r\n");
    const int delays[] = {0, 0, 0, 1500, 0, 0, 1000, 0, 10000}; // midnight; backwards: 0; capped
    for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i].delay_ms, delays[i]) << i;
}

TEST(NmeaReplayPlan, WithoutTimesUsesTheRate)
{
    bool timed = true;
    auto steps = host::plan_replay("$GPGSA,A,3*00\n$GPRMC,,V*00\n$GPRMC,120000,A*00\n$GPGSA,A,3*00", 4, timed);
    EXPECT_FALSE(timed); // a single time stamp is not a pace
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].delay_ms, 0);
    EXPECT_EQ(steps[3].delay_ms, 250);
    EXPECT_TRUE(host::plan_replay("# only\n# comments\n\n", 5, timed).empty());
}

TEST_F(NmeaReplay, ReplayOfALogFollowsItsTimeStamps)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("flight.log");
    std::string log = "# Name: test receiver\n# Date: 2014-12-31\n";
    for (int s = 0; s < 3; ++s) {
        char lat[16];
        std::snprintf(lat, sizeof lat, "37%02d.0000", 10 + s);
        const std::string t = "03072" + std::to_string(s) + ".000";
        std::string rmc = test::nmea_sentence("GPRMC," + t + ",A," + lat + ",S,17518.8938,E,1.0,90.0,311214,,,A");
        rmc.erase(rmc.size() - 2, 1); // LF only
        log += rmc + test::nmea_sentence(GSV1) + test::nmea_sentence(GSV2) + test::nmea_sentence(GSV3);
    }
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(log.data(), qint64(log.size()));
    }

    host::NmeaFileReplay replay;
    replay.set_time_scale(0.05); // one recorded second: 50 ms
    std::vector<std::string> events;
    QObject::connect(&replay, &host::NmeaFileReplay::connected_changed, [&](bool on, const QString& what) {
        events.push_back((on ? "on " : "off ") + what.toStdString());
    });
    QElapsedTimer clock;
    clock.start();
    std::vector<float> latitudes;
    ASSERT_TRUE(replay.start(path, 5, false));
    EXPECT_TRUE(replay.is_timed());
    EXPECT_FALSE(replay.start(path, 5, false)); // already running
    ASSERT_TRUE(passes_until([&] {
        if (latitudes.empty() || latitudes.back() != ems::gps.gps_latitude) latitudes.push_back(ems::gps.gps_latitude);
        return !replay.is_running() && ems::nmea.nmea_gsv_new == 0;
    }));
    EXPECT_GE(clock.elapsed(), 100); // two pauses of 50 ms
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "on flight.log, paced by its time stamps");
    EXPECT_EQ(events[1], "off end of the log");
    EXPECT_EQ(echoes().size(), 12u);
    ASSERT_GE(latitudes.size(), 3u);
    EXPECT_NEAR(latitudes.back(), -37.2, 1e-4);
    EXPECT_EQ(ems::gps.gps_sats[11].prn, 3);
}

TEST_F(NmeaReplay, ReplayWithoutTimesAndReplayErrors)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("untimed.nmea");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 4; ++i) f.write(test::nmea_sentence("GPGSA,A,3,04,05,,,,,,,,,,,2.5,1.3,2.1").c_str());
    }
    host::NmeaFileReplay replay;
    std::vector<std::string> errors, events;
    QObject::connect(&replay, &host::NmeaFileReplay::error_occurred,
                     [&](const QString& m) { errors.push_back(m.toStdString()); });
    QObject::connect(&replay, &host::NmeaFileReplay::connected_changed,
                     [&](bool on, const QString& what) { events.push_back((on ? "on " : "off ") + what.toStdString()); });
    replay.set_time_scale(0.1);
    ASSERT_TRUE(replay.start(path, 20, true)); // 50 ms apart, shortened to 5; repeating
    EXPECT_FALSE(replay.is_timed());
    EXPECT_EQ(events[0], "on untimed.nmea, 20 sentences/s");
    ASSERT_TRUE(passes_until([&] { return echoes().size() >= 6; })); // went round once
    EXPECT_TRUE(replay.is_running());
    replay.stop();
    EXPECT_EQ(events.back(), "off stopped");
    EXPECT_EQ(ems::gps.gps_fix_type, 3);

    EXPECT_FALSE(replay.start(dir.filePath("missing.log"), 5, false));
    QFile(dir.filePath("empty.log")).open(QIODevice::WriteOnly);
    EXPECT_FALSE(replay.start(dir.filePath("empty.log"), 5, false));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("Cannot open the NMEA log"), std::string::npos);
    EXPECT_NE(errors[1].find("holds no NMEA lines"), std::string::npos);
    EXPECT_FALSE(replay.is_running());
}

} // namespace
