// Factory defaults of the settings block and the calibration constants, and
// the values derived from them.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "support/settings_test_support.h"

namespace {

// Reads tests/settings/default_settings.hex ("OFFSET: bytes" lines, '#' comments).
std::vector<uint8_t> load_hex_block()
{
    std::ifstream in(std::string(EMS_SOURCE_DIR) + "/tests/settings/default_settings.hex");
    std::vector<uint8_t> bytes;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line.substr(line.find(':') + 1));
        unsigned value;
        while (fields >> std::hex >> value) bytes.push_back(uint8_t(value));
    }
    return bytes;
}

class SettingsDefaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ems::settings = {};
        ems::derived = {};
        ems::settings_load_defaults();
    }
    const ems::UnitSettings& s = ems::settings;
};

TEST_F(SettingsDefaults, WholeBlockMatchesReference)
{
    const std::vector<uint8_t> expected = load_hex_block();
    ASSERT_EQ(expected.size(), sizeof(ems::UnitSettings));
    const std::vector<uint8_t> actual = test::block_bytes(s);
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(int(actual[i]), int(expected[i])) << "first difference at block offset " << i;
}

TEST_F(SettingsDefaults, SpotChecksAcrossTheBlock)
{
    EXPECT_EQ(+s.version, 218);
    EXPECT_EQ(+s.oat_display_min, -50);
    EXPECT_EQ(+s.volts_high_caution, 140);
    EXPECT_STREQ(s.volts_label, "BAT ");
    EXPECT_EQ(+s.map_high_alarm, 413);
    EXPECT_EQ(+s.map_unit, 1);
    EXPECT_EQ(+s.rpm1_full_scale, 6000u);
    EXPECT_EQ(+s.rpm1_high_alarm, 5800u);
    EXPECT_STREQ(s.rpm1_label, "ENGINE");
    EXPECT_EQ(+s.rpm2_display, 2);
    EXPECT_EQ(+s.rpm2_display_max, 1500u);
    EXPECT_STREQ(s.rpm2_label, "ROTOR ");
    EXPECT_EQ(+s.gps_position_format, 2);
    EXPECT_EQ(+s.gps_baud, 3);
    EXPECT_STREQ(s.registration, "REG NO  ");
    EXPECT_EQ(+s.flight_detect_min_speed, 30);
    EXPECT_EQ(+s.channel_mode[0], 2);
    EXPECT_EQ(+s.channel_mode[1], 1);
    EXPECT_EQ(+s.channel_mode[2], 1);
    EXPECT_EQ(+s.channel_mode[3], 4);
    EXPECT_STREQ(s.temperature_cfg[0].label, "OILT");
    EXPECT_STREQ(s.temperature_cfg[1].label, "AUX ");
    EXPECT_STREQ(s.pressure_cfg[1].label, "OILP");
    EXPECT_STREQ(s.pressure_cfg[3].label, "AUX ");
    EXPECT_EQ(+s.pressure_cfg[2].vdo_model, 2);
    EXPECT_EQ(+s.temperature_cfg[3].sender, 1);
    EXPECT_EQ(+s.current_cfg[2].gain, 315);
    EXPECT_EQ(+s.current_cfg[0].display_min, -50);
    EXPECT_STREQ(s.generic_cfg[3].unit_label, "%  ");
    EXPECT_EQ(+s.hobbs_min_rpm, 1000u);
    EXPECT_EQ(+s.hobbs_start, 1);
    EXPECT_EQ(+s.egt_display_max, 850);
    EXPECT_EQ(+s.cht_high_alarm, 130);
    EXPECT_EQ(+s.k_factor1, 7000);
    EXPECT_EQ(+s.k_factor2, 7000);
    EXPECT_EQ(+s.tank2_mode, ems::TANK_OFF);
    EXPECT_EQ(+s.tank1_cal[0], 809);
    EXPECT_EQ(+s.tank2_cal[5], 251);
    EXPECT_EQ(+s.tank1_filter, 3);
    EXPECT_EQ(+s.backlight, 31);
    EXPECT_EQ(+s.gps_source, 1);
    EXPECT_EQ(+s.doc_last_name[0], '\0');
    EXPECT_EQ(+s.fuel_pressure_display, 1);
    EXPECT_EQ(+s.fuel_pressure_cfg.type, 1);
    EXPECT_EQ(+s.fuel_pressure_cfg.sender, 2);
    EXPECT_EQ(+s.fuel_pressure_cfg.unit, 2);
    EXPECT_EQ(+s.fuel_pressure_cfg.label[0], '\0');
    EXPECT_EQ(+s.main_current_cfg.high_alarm, 40);
    EXPECT_EQ(+s.rpm1_pulses, 600u);
    EXPECT_EQ(+s.rpm2_pulses, 100u);
    EXPECT_EQ(+s.rpm1_avoid_high, 3500u);
    EXPECT_EQ(+s.rpm2_avoid_low, 800u);
}

TEST_F(SettingsDefaults, CalibrationTablesAandB)
{
    const ems::SenderCalibrationTable& a = s.pressure_cfg[0].cal;
    EXPECT_EQ(a.count, 16);
    EXPECT_EQ(+a.point[0].display, 10);
    EXPECT_EQ(+a.point[0].adc, 100);
    EXPECT_EQ(+a.point[15].display, 160);
    EXPECT_EQ(+a.point[15].adc, 1600);
    EXPECT_EQ(+a.point[16].adc, 0); // unused slots are zero
    EXPECT_TRUE(std::memcmp(&a, &s.temperature_cfg[2].cal, sizeof a) == 0);
    EXPECT_TRUE(std::memcmp(&a, &s.fuel_pressure_cfg.cal, sizeof a) == 0);

    const ems::SenderCalibrationTable& b = s.generic_cfg[1].cal;
    EXPECT_EQ(b.count, 2);
    EXPECT_EQ(+b.point[1].display, 100);
    EXPECT_EQ(+b.point[1].adc, 4095);
    EXPECT_EQ(+b.point[2].adc, 0);
}

TEST_F(SettingsDefaults, DerivedValuesAndOwnValidation)
{
    EXPECT_EQ(ems::derived.rpm1_scale, 1558600); // 60000 / 600 = 100, x 15586
    EXPECT_EQ(ems::derived.fuel_config, 0);      // flow 1 into sender tank 1, tank 2 off
    EXPECT_EQ(ems::settings_validate(s), nullptr);
}

TEST_F(SettingsDefaults, ReservedBytesAreLeftAlone)
{
    ems::settings.reserved_85[0] = 0xA5;
    ems::settings.reserved_126[1] = 0x5A;
    ems::settings.reserved_1221 = 7;
    ems::settings_load_defaults();
    EXPECT_EQ(+s.reserved_85[0], 0xA5);
    EXPECT_EQ(+s.reserved_126[1], 0x5A);
    EXPECT_EQ(+s.reserved_1221, 0); // this one the defaults do write
}

TEST(CalibrationDefaults, TrimsResetSerialNumberKept)
{
    ems::calibration.volts_cal_percent = 120;
    ems::calibration.oat_cal_offset = -5;
    ems::calibration.map_cal_offset = 20;
    ems::calibration.current_zero[3] = 100;
    ems::calibration.main_current_zero = 200;
    ems::calibration.serial_number = 1234567;
    ems::calibration_load_defaults();
    EXPECT_EQ(ems::calibration.volts_cal_percent, 100);
    EXPECT_EQ(ems::calibration.oat_cal_offset, 0);
    EXPECT_EQ(ems::calibration.map_cal_offset, 0);
    for (uint16_t zero : ems::calibration.current_zero) EXPECT_EQ(zero, 32768);
    EXPECT_EQ(ems::calibration.main_current_zero, 32768);
    EXPECT_EQ(ems::calibration.serial_number, 1234567);
    ems::calibration = {};
}

TEST(Rpm1Scale, FollowsPulsesPerRevolution)
{
    ems::settings_load_defaults();
    ems::settings.rpm1_pulses = 100; // 1 pulse per revolution
    ems::rpm1_scale_update();
    EXPECT_EQ(ems::derived.rpm1_scale, 600 * 15586);
    ems::settings.rpm1_pulses = 700; // 935160000 / 700, exact
    ems::rpm1_scale_update();
    EXPECT_EQ(ems::derived.rpm1_scale, 1335942);
    ems::settings.rpm1_pulses = 0; // never divides by zero: keeps the last scale
    ems::rpm1_scale_update();
    EXPECT_EQ(ems::derived.rpm1_scale, 1335942);
    ems::settings_load_defaults();
}

} // namespace
