// The settings file: CRC, save and recall round trip, refusal of damaged,
// short and out-of-range files, and saves that fail part-way.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ops/settings_card.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "support/settings_test_support.h"
#include "system/platform.h"
#include "system/system_state.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace {

namespace fs = std::filesystem;
using ems::UnitSettings;

// A card whose operations can be made to fail.
class FaultyCard : public test::FakePlatform {
public:
    bool refuse_write_open = false;
    size_t write_limit = SIZE_MAX; // bytes taken by one write before it comes up short
    bool close_fails = false;
    bool replace_fails = false;
    std::function<void()> before_write;
    // When set, reading the settings file reads these bytes instead of the disk
    // (for loops over many files: the real close syncs each one to disk).
    const std::vector<uint8_t>* served = nullptr;

    int file_open(const char* p, ems::FileMode m) override
    {
        if (m == ems::FileMode::Write && refuse_write_open) return -1;
        if (m == ems::FileMode::Read && served && std::strcmp(p, ems::SETTINGS_FILE) == 0) {
            served_pos = 0;
            return SERVED_HANDLE;
        }
        return FakePlatform::file_open(p, m);
    }
    size_t file_read(int h, uint8_t* d, size_t n) override
    {
        if (h != SERVED_HANDLE) return FakePlatform::file_read(h, d, n);
        const size_t k = std::min(n, served->size() - served_pos);
        std::memcpy(d, served->data() + served_pos, k);
        served_pos += k;
        return k;
    }
    size_t file_write(int h, const uint8_t* d, size_t n) override
    {
        if (before_write) before_write();
        return FakePlatform::file_write(h, d, n < write_limit ? n : write_limit);
    }
    bool file_close(int h) override
    {
        if (h == SERVED_HANDLE) return true;
        return FakePlatform::file_close(h) && !close_fails;
    }
    bool file_replace(const char* s, const char* d) override
    {
        return !replace_fails && FakePlatform::file_replace(s, d);
    }

private:
    static constexpr int SERVED_HANDLE = 1000;
    size_t served_pos = 0;
};

void misc_page() {}

class SettingsFile : public ::testing::Test {
public:
    void SetUp() override
    {
        ems::settings = {};
        ems::settings_load_defaults();
        ems::ScreenHandler = nullptr;
        ems::return_screen = misc_page;
        ems::nav = {};
    }
    void TearDown() override
    {
        ems::settings_load_defaults();
        ems::ScreenHandler = nullptr;
        ems::return_screen = nullptr;
        ems::sys = {};
    }

    fs::path file() const { return card.card() / "SORVIK2.EMS"; }
    fs::path temp() const { return card.card() / "SORVIK2.TMP"; }

    // Recalls a file with these bytes and expects it refused with nothing changed.
    ::testing::AssertionResult refused(const std::vector<uint8_t>& bytes, bool from_memory = false)
    {
        if (from_memory)
            card.served = &bytes;
        else
            test::write_file(file(), bytes);
        struct Unserve {
            FaultyCard& c;
            ~Unserve() { c.served = nullptr; }
        } unserve{card};
        const UnitSettings before = ems::settings;
        const ems::DerivedSettings derived_before = ems::derived;
        ems::ScreenHandler = nullptr;
        if (ems::settings_recall_from_card()) return ::testing::AssertionFailure() << "accepted";
        if (ems::ScreenHandler != ems::screen_invalid_settings)
            return ::testing::AssertionFailure() << "no INVALID SETTINGS FILE notice";
        if (!test::same_block(before, ems::settings))
            return ::testing::AssertionFailure() << "settings changed";
        if (derived_before.rpm1_scale != ems::derived.rpm1_scale ||
            derived_before.fuel_config != ems::derived.fuel_config)
            return ::testing::AssertionFailure() << "derived values changed";
        return ::testing::AssertionSuccess();
    }

    // A valid file of settings that differ from the defaults almost everywhere.
    static UnitSettings edited_block()
    {
        UnitSettings s = ems::settings;
        s.oat_display_max = 77;
        s.volts_low_alarm = 105;
        std::strcpy(s.volts_label, "VLT1");
        s.map_unit = 0;
        s.rpm1_full_scale = 5800;
        s.reserved_85[1] = 0x42;
        std::strcpy(s.rpm2_label, "PROP  ");
        s.gps_manual_variation = -12;
        std::strcpy(s.registration, "G-ABCD  ");
        s.flight_detect_min_rpm2 = 2500;
        s.pilot_number = 200;
        s.channel_mode[3] = ems::CHANNEL_CURRENT;
        s.pressure_cfg[2].cal.count = 21;
        s.pressure_cfg[2].cal.point[20] = {-7, 4001};
        s.temperature_cfg[1].cal_offset = -3;
        s.current_cfg[3].gain = 999;
        s.utc_offset = -330;
        s.egt_channels = 8;
        s.cht_channels = 4;
        s.tank1_cal[4] = 300;
        s.doc_last_kind = 2;
        std::strcpy(s.doc_last_name, "SDCARD\\CHECKLST\\PREFLT.ECL");
        s.fuel_pressure_cfg.p_high_point = 850;
        s.main_current_cfg.low_caution = -21;
        s.ecu_type = 1;
        s.rpm1_pulses = 400;
        std::strcpy(s.generic_cfg[2].unit_label, "BAR");
        s.rpm2_avoid_zone = 1;
        return s;
    }

    FaultyCard card;
};

TEST(SettingsCrc, CheckValueAndTables)
{
    const char* check = "123456789";
    EXPECT_EQ(ems::settings_crc16(reinterpret_cast<const uint8_t*>(check), 9), 0x4B37);
    EXPECT_EQ(ems::settings_crc16(nullptr, 0), 0xFFFF);

    std::mt19937 rng(7);
    std::vector<uint8_t> data(600);
    for (uint8_t& b : data) b = uint8_t(rng());
    for (size_t length : {1u, 2u, 255u, 256u, 599u})
        EXPECT_EQ(ems::settings_crc16(data.data(), length), test::crc16_bitwise(data.data(), length))
            << length;
}

TEST_F(SettingsFile, SaveWritesBlockThenCrcHighByteFirst)
{
    ems::sys.sd_card_mounted = 1;
    ASSERT_TRUE(ems::settings_save_to_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_done);
    EXPECT_EQ(ems::nav.menu_cursor, 1);
    EXPECT_FALSE(fs::exists(temp()));

    const std::vector<uint8_t> bytes = test::read_file(file());
    ASSERT_EQ(bytes.size(), 1875u);
    EXPECT_EQ(bytes, test::settings_file_for(ems::settings));
    const uint16_t crc = test::crc16_bitwise(bytes.data(), 1873);
    EXPECT_EQ(bytes[1873], crc >> 8);
    EXPECT_EQ(bytes[1874], crc & 0xFF);
}

TEST_F(SettingsFile, SaveThenRecallRestoresEveryByte)
{
    const UnitSettings edited = edited_block();
    ASSERT_EQ(ems::settings_validate(edited), nullptr);
    ems::settings = edited;
    ASSERT_TRUE(ems::settings_save_to_card());

    ems::settings_load_defaults();
    ems::ScreenHandler = nullptr;
    ASSERT_TRUE(ems::settings_recall_from_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_done);
    EXPECT_EQ(ems::nav.menu_cursor, 2);
    EXPECT_TRUE(test::same_block(ems::settings, edited));
    EXPECT_EQ(ems::derived.rpm1_scale, 150 * 15586);

    const std::vector<uint8_t> bytes = test::read_file(file());
    const uint16_t stored = uint16_t(bytes[1873] << 8 | bytes[1874]);
    EXPECT_EQ(ems::settings_crc16(reinterpret_cast<const uint8_t*>(&ems::settings), 1873), stored);
}

TEST_F(SettingsFile, RecallTakesOtherVersionsAndDerivesValues)
{
    UnitSettings s = ems::settings;
    s.version = 205;
    s.rpm1_pulses = 200;
    s.flow2_on = 1;
    s.flow1_on = 0;
    s.tank2_mode = ems::TANK_CALCULATED;
    s.k_factor1 = 6500;
    s.k_factor2 = 7100;
    test::write_file(file(), test::settings_file_for(s));

    ASSERT_TRUE(ems::settings_recall_from_card());
    EXPECT_EQ(+ems::settings.version, 218);
    EXPECT_EQ(ems::derived.rpm1_scale, 300 * 15586);
    EXPECT_EQ(ems::derived.fuel_config, 14);
    EXPECT_EQ(+ems::settings.k_factor1, 7100); // one sender, two tanks
}

TEST_F(SettingsFile, EveryAlteredByteIsRefused)
{
    const std::vector<uint8_t> good = test::settings_file_for(edited_block());
    card.served = &good; // the unaltered file is taken
    ASSERT_TRUE(ems::settings_recall_from_card());
    card.served = nullptr;
    ems::settings_load_defaults();
    int accepted = 0;
    for (size_t pos = 0; pos < good.size(); ++pos) {
        std::vector<uint8_t> bad = good;
        bad[pos] ^= uint8_t(pos % 255 + 1);
        const auto result = refused(bad, true);
        if (!result) {
            ADD_FAILURE() << "byte " << pos << ": " << result.message();
            if (++accepted > 5) break;
        }
    }
}

TEST_F(SettingsFile, ShortMissingAndEmptyFilesAreRefused)
{
    const std::vector<uint8_t> good = test::settings_file_for(edited_block());
    for (size_t size : {0u, 1u, 1000u, 1872u, 1873u, 1874u})
        EXPECT_TRUE(refused({good.begin(), good.begin() + long(size)})) << size << " bytes";

    fs::remove(file());
    ems::ScreenHandler = nullptr;
    EXPECT_FALSE(ems::settings_recall_from_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_invalid_settings);

    fs::create_directory(file()); // a folder where the file should be
    EXPECT_FALSE(ems::settings_recall_from_card());
}

TEST_F(SettingsFile, TrailingBytesAfterTheCrcAreIgnored)
{
    std::vector<uint8_t> bytes = test::settings_file_for(edited_block());
    bytes.insert(bytes.end(), {1, 2, 3, 4});
    test::write_file(file(), bytes);
    EXPECT_TRUE(ems::settings_recall_from_card());
    EXPECT_TRUE(test::same_block(ems::settings, edited_block()));
}

// A save that fails anywhere keeps the previous file and reports the failure.
TEST_F(SettingsFile, FailedSavesKeepTheOldFile)
{
    const std::vector<uint8_t> old_file = test::settings_file_for(edited_block());
    struct Fault {
        const char* what;
        std::function<void(SettingsFile&)> arm;
    };
    const Fault faults[] = {
        {"card refuses new files", [](SettingsFile& t) { t.card.refuse_write_open = true; }},
        {"write stops part-way", [](SettingsFile& t) { t.card.write_limit = 1000; }},
        {"close cannot flush", [](SettingsFile& t) { t.card.close_fails = true; }},
        {"replace fails", [](SettingsFile& t) { t.card.replace_fails = true; }},
        {"temporary name a link to a device", [](SettingsFile& t) { fs::create_symlink("/dev/full", t.temp()); }},
        {"temporary name taken by a folder",
         [](SettingsFile& t) { fs::create_directory(t.temp()); }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        test::write_file(file(), old_file);
        card.refuse_write_open = card.close_fails = card.replace_fails = false;
        card.write_limit = SIZE_MAX;
        fault.arm(*this);

        // A link or folder left at the temporary name is the user's to
        // clear: the notice names it.
        std::error_code ec;
        const bool in_the_way = fs::is_directory(temp(), ec) || fs::is_symlink(temp(), ec);
        ems::ScreenHandler = nullptr;
        EXPECT_FALSE(ems::settings_save_to_card());
        EXPECT_EQ(ems::ScreenHandler, in_the_way ? ems::screen_save_failed : ems::screen_invalid_settings);
        EXPECT_EQ(ems::nav.menu_cursor, 1);
        EXPECT_EQ(test::read_file(file()), old_file);
        if (fs::is_directory(temp(), ec) || fs::is_symlink(temp(), ec))
            fs::remove(temp()); // not ours to clear away
        else
            EXPECT_FALSE(fs::exists(fs::symlink_status(temp()))) << "temporary file left behind";
    }
}

TEST_F(SettingsFile, ReadOnlyCardFolderKeepsTheOldFile)
{
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const std::vector<uint8_t> old_file = test::settings_file_for(edited_block());
    test::write_file(file(), old_file);
    fs::permissions(card.card(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(ems::settings_save_to_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_invalid_settings);
    fs::permissions(card.card(), fs::perms::owner_all);
    EXPECT_EQ(test::read_file(file()), old_file);
}

// Write protection is the file's own flag: it binds the superuser too.
TEST_F(SettingsFile, ReadOnlyFileIsNotReplaced)
{
    const std::vector<uint8_t> old_file = test::settings_file_for(edited_block());
    test::write_file(file(), old_file);
    const fs::perms read_only = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(file(), read_only);
    EXPECT_FALSE(ems::settings_save_to_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_invalid_settings);
    EXPECT_EQ(test::read_file(file()), old_file);
    EXPECT_EQ(fs::status(file()).permissions(), read_only);
    EXPECT_FALSE(fs::exists(temp()));
}

// A card written by a PC: its names may be in any letter case.
TEST_F(SettingsFile, NamesInAnyLetterCase)
{
    const fs::path folder = card.dir() / "sdcard";
    fs::rename(card.card(), folder);
    const fs::path pc_file = folder / "sorvik2.ems";
    test::write_file(pc_file, test::settings_file_for(edited_block()));
    ASSERT_TRUE(ems::settings_recall_from_card());
    EXPECT_TRUE(test::same_block(ems::settings, edited_block()));

    ems::settings_load_defaults();
    ASSERT_TRUE(ems::settings_save_to_card());
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"sorvik2.ems"}) << "replaced, not saved beside it";
    EXPECT_EQ(test::read_file(pc_file), test::settings_file_for(ems::settings));

    fs::create_directory(folder / "InfoPage");
    test::write_file(folder / "InfoPage" / "radio.mif", {1, 0, 1, 0, 0x81, 15});
    ems::CardStorage& p = ems::platform().card();
    const int dir = p.dir_open("SDCARD\\INFOPAGE");
    EXPECT_GE(dir, 0);
    p.dir_close(dir);
    const int f = p.file_open("SDCARD\\INFOPAGE\\RADIO.MIF", ems::FileMode::Read);
    EXPECT_GE(f, 0);
    p.file_close(f);
}

TEST_F(SettingsFile, CardFolderVanishingDuringSave)
{
    const std::vector<uint8_t> old_file = test::settings_file_for(edited_block());
    test::write_file(file(), old_file);
    const fs::path away = card.dir() / "SDCARD.gone";
    card.before_write = [&] {
        if (fs::exists(card.card())) fs::rename(card.card(), away);
    };
    EXPECT_FALSE(ems::settings_save_to_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_invalid_settings);
    EXPECT_EQ(test::read_file(away / "SORVIK2.EMS"), old_file);

    // With no card folder at all both directions fail cleanly.
    card.before_write = nullptr;
    EXPECT_FALSE(ems::settings_save_to_card());
    EXPECT_FALSE(ems::settings_recall_from_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_invalid_settings);
}

// Files with a correct CRC but a value that would index past a table, divide
// by zero or run off a text field.
TEST_F(SettingsFile, OutOfRangeFieldsAreRefused)
{
    struct Bad {
        const char* field;
        std::function<void(UnitSettings&)> spoil;
    };
    const Bad cases[] = {
        {"UnitSettings::channel_mode[2]", [](UnitSettings& s) { s.channel_mode[2] = 5; }},
        {"UnitSettings::egt_channels + cht_channels",
         [](UnitSettings& s) { s.egt_channels = 7, s.cht_channels = 6; }},
        {"UnitSettings::cht_channels", [](UnitSettings& s) { s.egt_channels = 0, s.cht_channels = 13; }},
        {"PressureSenderConfig::cal.count", [](UnitSettings& s) { s.pressure_cfg[3].cal.count = 22; }},
        {"PressureSenderConfig::cal.count", [](UnitSettings& s) { s.fuel_pressure_cfg.cal.count = 255; }},
        {"TemperatureSenderConfig::cal.count", [](UnitSettings& s) { s.temperature_cfg[1].cal.count = 0; }},
        {"GenericSensorConfig::cal.count", [](UnitSettings& s) { s.generic_cfg[0].cal.count = 1; }},
        {"UnitSettings::rpm1_pulses", [](UnitSettings& s) { s.rpm1_pulses = 0; }},
        {"UnitSettings::rpm2_pulses", [](UnitSettings& s) { s.rpm2_pulses = 0; }},
        {"UnitSettings::rpm1_full_scale", [](UnitSettings& s) { s.rpm1_full_scale = 0; }},
        {"UnitSettings::rpm2_full_scale", [](UnitSettings& s) { s.rpm2_full_scale = 0; }},
        {"UnitSettings::k_factor1", [](UnitSettings& s) { s.k_factor1 = 0; }},
        {"UnitSettings::k_factor2", [](UnitSettings& s) { s.k_factor2 = 0; }},
        {"UnitSettings::tank1_cal", [](UnitSettings& s) { s.tank1_cal[3] = s.tank1_cal[2]; }},
        {"UnitSettings::tank2_cal", [](UnitSettings& s) { s.tank2_cal[1] = s.tank2_cal[0]; }},
        {"UnitSettings::gps_baud", [](UnitSettings& s) { s.gps_baud = 10; }},
        {"UnitSettings::fuel_unit", [](UnitSettings& s) { s.fuel_unit = 6; }},
        {"UnitSettings::rpm1_increment", [](UnitSettings& s) { s.rpm1_increment = 5; }},
        {"UnitSettings::egt_scan_time", [](UnitSettings& s) { s.egt_scan_time = 7; }},
        {"UnitSettings::cht_probe", [](UnitSettings& s) { s.cht_probe = 4; }},
        {"UnitSettings::tank1_mode", [](UnitSettings& s) { s.tank1_mode = 3; }},
        {"UnitSettings::ecu_type", [](UnitSettings& s) { s.ecu_type = 3; }},
        {"UnitSettings::speed_unit", [](UnitSettings& s) { s.speed_unit = 0xFF; }},
        {"UnitSettings::oat_display", [](UnitSettings& s) { s.oat_display = 2; }},
        {"PressureSenderConfig::type", [](UnitSettings& s) { s.pressure_cfg[1].type = 3; }},
        {"PressureSenderConfig::sender", [](UnitSettings& s) { s.pressure_cfg[2].sender = 3; }},
        {"PressureSenderConfig::uma_model", [](UnitSettings& s) { s.pressure_cfg[0].uma_model = 12; }},
        {"PressureSenderConfig::vdo_model", [](UnitSettings& s) { s.fuel_pressure_cfg.vdo_model = 3; }},
        {"TemperatureSenderConfig::sender", [](UnitSettings& s) { s.temperature_cfg[2].sender = 6; }},
        {"GenericSensorConfig::decimals", [](UnitSettings& s) { s.generic_cfg[3].decimals = 3; }},
        {"CurrentSensorConfig::high_alarm_on", [](UnitSettings& s) { s.main_current_cfg.high_alarm_on = 9; }},
        {"UnitSettings::registration", [](UnitSettings& s) { std::memset(s.registration, 'X', 9); }},
        {"UnitSettings::rpm1_label", [](UnitSettings& s) { std::memset(s.rpm1_label, 'E', 7); }},
        {"UnitSettings::doc_last_name", [](UnitSettings& s) { std::memset(s.doc_last_name, 'A', 50); }},
        {"TemperatureSenderConfig::label", [](UnitSettings& s) { std::memset(s.temperature_cfg[0].label, 'T', 7); }},
        {"GenericSensorConfig::unit_label", [](UnitSettings& s) { std::memset(s.generic_cfg[2].unit_label, 'U', 4); }},
    };
    for (const Bad& bad : cases) {
        UnitSettings s = edited_block();
        bad.spoil(s);
        const char* found = ems::settings_validate(s);
        EXPECT_STREQ(found, bad.field);
        EXPECT_TRUE(refused(test::settings_file_for(s))) << bad.field;
    }
}

TEST_F(SettingsFile, ValuesAtTheEdgesAreAccepted)
{
    const std::function<void(UnitSettings&)> edges[] = {
        [](UnitSettings& s) { s.pressure_cfg[0].cal.count = 21, s.generic_cfg[1].cal.count = 2; },
        [](UnitSettings& s) { s.egt_channels = 12, s.cht_channels = 0; },
        [](UnitSettings& s) { s.egt_channels = 0, s.cht_channels = 0; },
        // A sender beyond its type's list: the channel page puts it back to USER.
        [](UnitSettings& s) { s.pressure_cfg[1].type = 0, s.pressure_cfg[1].sender = 2; },
        [](UnitSettings& s) { s.tank2_cal[0] = 0, s.tank2_cal[5] = 4096; },
        [](UnitSettings& s) { s.rpm1_pulses = 99000, s.k_factor1 = 1, s.rpm2_full_scale = 1; },
        [](UnitSettings& s) { s.gps_baud = 9, s.fuel_unit = 5, s.cht_probe = 3, s.doc_last_kind = 2; },
        [](UnitSettings& s) { s.tank1_size = 0, s.volts_display_max = s.volts_display_min; },
    };
    int n = 0;
    for (const auto& edge : edges) {
        UnitSettings s = ems::settings;
        edge(s);
        test::write_file(file(), test::settings_file_for(s));
        EXPECT_TRUE(ems::settings_recall_from_card()) << "edge case " << n;
        ++n;
    }
}

TEST_F(SettingsFile, MenuEntriesNeedTheCard)
{
    ems::ScreenHandler = nullptr;
    ems::return_screen = nullptr;
    ems::sys.sd_card_mounted = 0;
    ems::misc_save_settings(misc_page);
    EXPECT_EQ(ems::ScreenHandler, ems::screen_insert_card);
    EXPECT_EQ(ems::return_screen, misc_page);
    EXPECT_EQ(ems::nav.menu_cursor, 1);
    EXPECT_FALSE(fs::exists(file()));

    ems::return_screen = nullptr;
    ems::misc_recall_settings(misc_page);
    EXPECT_EQ(ems::ScreenHandler, ems::screen_insert_card);
    EXPECT_EQ(ems::return_screen, misc_page);
    EXPECT_EQ(ems::nav.menu_cursor, 2);

    ems::sys.sd_card_mounted = 1;
    ems::return_screen = nullptr;
    ems::misc_save_settings(misc_page);
    EXPECT_EQ(ems::ScreenHandler, ems::screen_done);
    EXPECT_EQ(ems::return_screen, misc_page);
    EXPECT_TRUE(fs::exists(file()));

    ems::ScreenHandler = nullptr;
    ems::misc_recall_settings(misc_page);
    EXPECT_EQ(ems::ScreenHandler, ems::screen_done);
    EXPECT_EQ(ems::nav.menu_cursor, 2);
}

} // namespace
