// Save-state files: what goes in comes out, and a file that is not whole and
// ours is refused without touching what the caller holds.
#include <gtest/gtest.h>

#include <cstring>

#include "host/state/core/save_state.h"
#include "support/firmware_reset.h"

namespace {

using host::decode_save_state;
using host::encode_save_state;
using host::SaveState;

SaveState sample_state()
{
    test::reset_firmware();
    ems::settings_load_defaults();
    SaveState s = host::capture_firmware_state();
    s.settings.utc_offset = -330;
    s.calibration.oat_cal_offset = -7;
    s.counters.hobbs = {59, 1234, 5, 99};
    s.flight.log_count = 2;
    s.flight.log_next = 2;
    s.flight.log[1].flight_seconds = 4321;
    std::strcpy(s.flight.log[1].registration, "G-ABCD");
    s.run_page = 3;
    s.host = {{"EMS/CJC:", "2450"}, {"GPS/Source:", "UDP port"}, {"power", "on"}};
    return s;
}

// A test that damages the payload on purpose writes a length and CRC that
// match, so that the checks behind them are reached.
void write_header(std::string& file)
{
    const uint32_t length = uint32_t(file.size() - 20);
    for (int i = 0; i < 4; ++i) file[12 + i] = char(uint8_t(length >> (8 * i)));
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 20; i < file.size(); ++i) {
        c ^= uint8_t(file[i]);
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    c ^= 0xFFFFFFFFu;
    for (int i = 0; i < 4; ++i) file[16 + i] = char(uint8_t(c >> (8 * i)));
}

TEST(SaveState, ReadsBackWhatItWrote)
{
    const SaveState s = sample_state();
    const std::string file = encode_save_state(s);
    SaveState back;
    std::string error;
    ASSERT_TRUE(decode_save_state(file, back, error)) << error;
    EXPECT_EQ(encode_save_state(back), file);
    EXPECT_EQ(int(back.settings.utc_offset), -330); // copies: the settings block is packed
    EXPECT_EQ(int(back.counters.hobbs.hobbs_hours), 1234);
    EXPECT_STREQ(back.flight.log[1].registration, "G-ABCD");
    EXPECT_EQ(back.run_page, 3);
    ASSERT_NE(host::save_state_value(back, "GPS/Source:"), nullptr);
    EXPECT_EQ(*host::save_state_value(back, "GPS/Source:"), "UDP port");
}

TEST(SaveState, AUnitNeverSwitchedOnIsSavedWithItsFactorySettings)
{
    test::reset_firmware();
    ems::settings = {};
    SaveState back;
    std::string error;
    EXPECT_TRUE(decode_save_state(encode_save_state(host::capture_firmware_state()), back, error)) << error;
    EXPECT_EQ(uint32_t(ems::settings.rpm1_full_scale), 0u) << "the unit's own settings stay";
}

TEST(SaveState, RefusesWhatIsNotWholeOrNotOursAndKeepsTheTarget)
{
    const std::string good = encode_save_state(sample_state());
    auto refused = [](const std::string& file) {
        SaveState target;
        target.run_page = 2;
        target.host = {{"kept", "yes"}};
        std::string error;
        const bool ok = decode_save_state(file, target, error);
        EXPECT_EQ(target.run_page, 2);
        EXPECT_EQ(target.host.size(), 1u);
        return !ok && !error.empty() ? error : std::string("accepted");
    };
    for (size_t cut : {size_t(0), size_t(7), size_t(20), good.size() / 2, good.size() - 1})
        EXPECT_NE(refused(good.substr(0, cut)), "accepted") << "cut at " << cut;

    std::string newer = good;
    newer[8] = char(host::SAVE_STATE_VERSION + 1);
    EXPECT_NE(refused(newer).find("another version"), std::string::npos);

    std::string flipped = good;
    flipped[good.size() - 40] ^= 0x10;
    EXPECT_NE(refused(flipped).find("checksum"), std::string::npos);

    SaveState bad = sample_state();
    bad.counters.hobbs.hobbs_minutes = 60;
    EXPECT_NE(refused(encode_save_state(bad)), "accepted");
    bad = sample_state();
    std::memset(bad.flight.log[0].registration, 'X', 9); // no terminator left
    EXPECT_NE(refused(encode_save_state(bad)), "accepted");
    bad = sample_state();
    bad.settings.speed_unit = 200;
    EXPECT_NE(refused(encode_save_state(bad)).find("settings"), std::string::npos);

    // A section of the wrong length, behind a checksum that fits.
    std::string grown = good;
    grown.insert(20 + 8 + sizeof(ems::UnitSettings), "x");
    write_header(grown);
    EXPECT_NE(refused(grown).find("sections"), std::string::npos);
}

} // namespace
