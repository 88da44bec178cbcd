// A recording's record carries the signs of negative values, also of those
// between -1 and 0 (a position just west of Greenwich, a small discharge).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "gps/gps_data.h"
#include "ops/data_recording.h"
#include "sensors/channels.h"
#include "support/firmware_reset.h"

using namespace ems;

namespace {

std::vector<std::string> fields(const char* line)
{
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ',');) out.push_back(f);
    return out;
}

TEST(RecordingColumns, NegativeValuesKeepTheirSign)
{
    test::reset_firmware();
    settings.current_display = 1;
    gps.gps_fix_valid = 1;
    const struct {
        float lat, lon;
        int16_t current_x10;
        const char *want_lat, *want_lon, *want_amps;
    } cases[] = {
        {-33.5f, -70.25f, -123, "-33.50000", "-70.25000", "-12.3"},
        {-0.5f, -0.25f, -5, "-0.50000", "-0.25000", "-0.5"},
        {51.5f, 0.25f, 5, "51.50000", "0.25000", "0.5"},
    };
    char header[RECORDING_LINE_MAX], line[RECORDING_LINE_MAX];
    ASSERT_TRUE(recording_header(header, sizeof header));
    const auto names = fields(header);
    auto column = [&](const char* name) {
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return i;
        ADD_FAILURE() << "no column " << name;
        return size_t(0);
    };
    for (const auto& c : cases) {
        gps.gps_latitude = c.lat;
        gps.gps_longitude = c.lon;
        sens.current_x10 = c.current_x10;
        ASSERT_TRUE(recording_record(line, sizeof line, 1796645880u, 0));
        const auto f = fields(line);
        EXPECT_EQ(f[column("LAT (deg)")], c.want_lat);
        EXPECT_EQ(f[column("LON (deg)")], c.want_lon);
        EXPECT_EQ(f[column("AMPS (A)")], c.want_amps);
    }
}

} // namespace
