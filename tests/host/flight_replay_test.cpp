// A record turned into raw inputs and a fix: the same figures recorded in
// other units drive the same inputs, an empty field drives nothing, and the
// paced play finds the record due across gaps in the recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/replay/core/flight_replay.h"
#include "support/firmware_reset.h"

namespace {

using host::DrivenInput;
using host::SimInput;

host::FlightData read(const std::string& text)
{
    host::FlightData d;
    std::string error;
    EXPECT_TRUE(host::read_flight_data(text, d, error)) << error;
    return d;
}

bool drives(const std::vector<DrivenInput>& in, SimInput input, int index)
{
    return std::any_of(in.begin(), in.end(), [&](const DrivenInput& d) { return d.input == input && d.index == index; });
}

TEST(FlightReplay, TheSameFiguresInOtherUnitsDriveTheSameInputs)
{
    test::reset_firmware();
    const auto metric = host::replay_inputs(
        read("UTC,T (s),RPM1 (RPM),MAP (inHg),EGT1 (C),EGT2 (C),CHT1 (C),CHT2 (C),AIN1 (C),AIN2 (BAR),FLOW1 (L/h),"
             "TANK1 (L),OAT (C)\n2026-12-07 12:00:00,0,2400,24.1,700,690,180,170,90,3.9,37.9,45,15\n"),
        0);
    const auto imperial = host::replay_inputs(
        read("UTC,T (s),RPM1 (RPM),MAP (mb),EGT1 (F),EGT2 (F),CHT1 (F),CHT2 (F),AIN1 (F),AIN2 (PSI),FLOW1 (gal/h),"
             "TANK1 (gal),OAT (F)\n2026-12-07 12:00:00,0,2400,816,1292,1274,356,338,194,56.6,10.01,11.89,59\n"),
        0);
    ASSERT_EQ(metric.size(), imperial.size());
    for (size_t i = 0; i < metric.size(); ++i) {
        EXPECT_EQ(metric[i].input, imperial[i].input);
        EXPECT_EQ(metric[i].index, imperial[i].index);
        EXPECT_NEAR(metric[i].value, imperial[i].value, 2) << int(metric[i].input) << "/" << int(metric[i].index);
    }
    // Each cylinder its own temperature.
    auto tc = [&](int ch) {
        return std::find_if(metric.begin(), metric.end(),
                            [&](const DrivenInput& d) { return d.input == SimInput::Tc && d.index == ch; })->value;
    };
    EXPECT_NE(tc(0), tc(1));
    EXPECT_NE(tc(2), tc(3));
}

TEST(FlightReplay, EmptyFieldsAndPercentRpmDriveNothing)
{
    test::reset_firmware();
    const auto in = host::replay_inputs(
        read("UTC,T (s),RPM1 (%),MAP (inHg),EGT1 (C),EGT2 (C),VOLTS (V),TANK1 (L),TANK2 (L)\n"
             "2026-12-07 12:00:00,0,85,,700,,13.8,,20\n"),
        0);
    EXPECT_FALSE(drives(in, SimInput::RpmPeriod, 0));
    EXPECT_FALSE(drives(in, SimInput::Map, 0));
    EXPECT_TRUE(drives(in, SimInput::Tc, 0));
    EXPECT_FALSE(drives(in, SimInput::Tc, 1));
    EXPECT_TRUE(drives(in, SimInput::Volts, 0));
    EXPECT_FALSE(drives(in, SimInput::FuelLevel, 0));
    EXPECT_TRUE(drives(in, SimInput::FuelLevel, 1));
    std::string error;
    EXPECT_FALSE(host::replay_usable(read("UTC,T (s),X\n2026-12-07 12:00:00,0,1\n"), error));
    EXPECT_FALSE(error.empty());
}

TEST(FlightReplay, TheFixCarriesTheRecordsTimeAndPositionAndThePaceFindsTheRecordDue)
{
    const host::FlightData d = read("UTC,T (s),VOLTS (V),LAT (deg),LON (deg),SPEED (mph),ALT (m),COURSE (deg)\n"
                                    "2026-12-07 11:58:00,0,13.8,,,,,\n"
                                    "2026-12-07 11:58:01,1,13.8,48.11729,-11.51669,115,1000,80\n"
                                    "2026-12-07 11:58:05,5,13.8,48.2,-11.5,115,1000,80\n"
                                    "2026-12-07 11:58:06,6,13.8,48.3,-11.5,115,1000,80\n");
    EXPECT_EQ(host::replay_nmea(d, 0), "");
    const std::string fix = host::replay_nmea(d, 1);
    EXPECT_NE(fix.find("$GPRMC,115801.00,A,4807.0374,N,01131.0014,W,99.9,80.0,071226"), std::string::npos) << fix;
    EXPECT_NE(fix.find(",1000.0,M,"), std::string::npos) << fix; // GGA altitude in metres, by way of feet
    for (auto [played, row] : {std::pair{0.0, 0u}, {0.99, 0u}, {1.0, 1u}, {4.9, 1u}, {5.0, 2u}, {1e9, 3u}})
        EXPECT_EQ(host::replay_row_at(d, played), row) << played;
}

} // namespace
