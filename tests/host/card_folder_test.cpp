// The card folder as a boundary: what is not a regular file or a folder, and
// links that lead out of the card, are neither read nor written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/mif.h"
#include "ops/settings_card.h"
#include "settings/settings.h"
#include "support/fake_platform.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> settings_bytes()
{
    ems::settings_load_defaults();
    std::vector<uint8_t> out(ems::SETTINGS_FILE_BYTES);
    std::memcpy(out.data(), &ems::settings, sizeof(ems::UnitSettings));
    const uint16_t crc = ems::settings_crc16(out.data(), sizeof(ems::UnitSettings));
    out[sizeof(ems::UnitSettings)] = uint8_t(crc >> 8);
    out[sizeof(ems::UnitSettings) + 1] = uint8_t(crc & 0xFF);
    return out;
}

void write(const fs::path& p, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(p.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<uint8_t> read(const fs::path& p)
{
    std::vector<uint8_t> out;
    if (std::FILE* f = std::fopen(p.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) out.push_back(uint8_t(c));
        std::fclose(f);
    }
    return out;
}

class CardBoundary : public ::testing::Test {
protected:
    void TearDown() override { ems::settings_load_defaults(); }
    fs::path card() const { return platform.card(); }
    test::FakePlatform platform;
};

// Each would block for ever (a FIFO nobody writes or reads) or never end (/dev/zero).
TEST_F(CardBoundary, FifosAndDevicesAreNotCardFiles)
{
    for (const char* name : {"SPLASH.MIF", "SORVIK2.EMS", "SORVIK2.TMP"})
        ASSERT_EQ(::mkfifo((card() / name).c_str(), 0644), 0) << name;
    EXPECT_FALSE(ems::load_mif_file(0, 0, "SDCARD\\SPLASH.MIF"));
    EXPECT_FALSE(ems::settings_recall_from_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_invalid_settings);
    EXPECT_FALSE(ems::settings_save_to_card()) << "a FIFO in the temporary file's place";
    EXPECT_EQ(ems::ScreenHandler, ems::screen_save_failed);
    EXPECT_TRUE(fs::is_fifo(card() / "SORVIK2.EMS")) << "left as it was";

    fs::remove(card() / "SPLASH.MIF");
    fs::create_symlink("/dev/zero", card() / "SPLASH.MIF");
    fs::remove(card() / "SORVIK2.EMS");
    fs::create_symlink("/dev/zero", card() / "SORVIK2.EMS");
    EXPECT_FALSE(ems::load_mif_file(0, 0, "SDCARD\\SPLASH.MIF"));
    EXPECT_FALSE(ems::settings_recall_from_card());
    // A link inside the card to a FIFO inside the card is no better.
    fs::remove(card() / "SPLASH.MIF");
    fs::create_symlink("SORVIK2.TMP", card() / "SPLASH.MIF");
    EXPECT_FALSE(ems::load_mif_file(0, 0, "SDCARD\\SPLASH.MIF"));
    EXPECT_TRUE(platform.resolve("SDCARD\\SPLASH.MIF").empty());
}

TEST_F(CardBoundary, LinksOutOfTheCardAreNeitherReadNorWritten)
{
    const std::vector<uint8_t> good = settings_bytes();
    const fs::path outside = platform.dir() / "outside.bin";
    write(outside, good);

    // The temporary file a link to a file outside: the save fails and
    // neither that file nor the settings file changes.
    write(card() / "SORVIK2.EMS", good);
    fs::create_symlink(outside, card() / "SORVIK2.TMP");
    ems::settings.volts_low_alarm = 111;
    EXPECT_FALSE(ems::settings_save_to_card());
    EXPECT_EQ(ems::ScreenHandler, ems::screen_save_failed);
    EXPECT_EQ(read(outside), good);
    EXPECT_EQ(read(card() / "SORVIK2.EMS"), good);
    EXPECT_FALSE(fs::is_symlink(card() / "SORVIK2.EMS"));
    EXPECT_TRUE(fs::is_symlink(card() / "SORVIK2.TMP")) << "only a regular file is cleared away";

    // The settings file a link out (also by "..", or dangling): not read, not replaced.
    fs::remove(card() / "SORVIK2.TMP");
    fs::remove(card() / "SORVIK2.EMS");
    for (const fs::path& to : {outside, fs::path("../outside.bin"), platform.dir() / "none"}) {
        SCOPED_TRACE(to.string());
        fs::remove(card() / "SORVIK2.EMS");
        fs::create_symlink(to, card() / "SORVIK2.EMS");
        EXPECT_FALSE(ems::settings_recall_from_card());
        EXPECT_FALSE(ems::settings_save_to_card());
        EXPECT_EQ(read(outside), good);
        EXPECT_FALSE(fs::exists(platform.dir() / "none"));
        EXPECT_FALSE(fs::exists(card() / "SORVIK2.TMP"));
    }
    // A folder on the way that leads out is refused as well.
    fs::create_directory(platform.dir() / "elsewhere");
    fs::create_symlink(platform.dir() / "elsewhere", card() / "INFOPAGE");
    EXPECT_LT(platform.dir_open("SDCARD\\INFOPAGE"), 0);
    EXPECT_LT(platform.file_open("SDCARD\\INFOPAGE\\X.MIF", ems::FileMode::Write), 0);
    EXPECT_FALSE(fs::exists(platform.dir() / "elsewhere" / "X.MIF"));
}

// Links that stay on the card, and a card folder that is itself a link to a
// card mounted elsewhere, work as before; a stale temporary file is replaced.
TEST_F(CardBoundary, LinksInsideTheCardAndStaleTemporaryFiles)
{
    const std::vector<uint8_t> good = settings_bytes();
    const fs::path mounted = platform.dir() / "mnt";
    fs::rename(card(), mounted);
    fs::create_directory_symlink(mounted, card());
    fs::create_directory(mounted / "KEEP");
    write(mounted / "KEEP" / "ORIG.EMS", good);
    fs::create_symlink("KEEP/ORIG.EMS", mounted / "SORVIK2.EMS");
    EXPECT_TRUE(ems::settings_recall_from_card());

    write(mounted / "SORVIK2.TMP", {1, 2, 3});
    ems::settings.volts_low_alarm = 111;
    ASSERT_TRUE(ems::settings_save_to_card());
    EXPECT_FALSE(fs::exists(mounted / "SORVIK2.TMP"));
    EXPECT_FALSE(fs::is_symlink(mounted / "SORVIK2.EMS")) << "the link itself is replaced";
    EXPECT_EQ(read(mounted / "KEEP" / "ORIG.EMS"), good) << "not what it pointed to";
    EXPECT_TRUE(ems::settings_recall_from_card());
    EXPECT_EQ(ems::settings.volts_low_alarm, 111);
}

} // namespace

namespace {

// Recordings: a new file only, never through a link or over an old file; a
// file removed while it is written fails its stream instead of swallowing data.
TEST_F(CardBoundary, RecordingsAreNewFilesInsideTheCard)
{
    const uint8_t line[] = "1,2\r\n";
    fs::create_directory(platform.dir() / "elsewhere");
    fs::create_symlink(platform.dir() / "elsewhere", card() / "DATA");
    EXPECT_FALSE(platform.folder_create("SDCARD\\DATA"));
    EXPECT_LT(platform.append_open("SDCARD\\DATA\\A.CSV"), 0);
    fs::remove(card() / "DATA");
    EXPECT_FALSE(platform.folder_create("SDCARD\\NONE\\DATA")) << "the parent must exist";

    ASSERT_TRUE(platform.folder_create("SDCARD\\DATA"));
    EXPECT_TRUE(platform.folder_create("SDCARD\\data")) << "an existing folder, in any case";
    write(card() / "DATA" / "OLD.CSV", {'x'});
    fs::create_symlink(platform.dir() / "elsewhere" / "L.CSV", card() / "DATA" / "LINK.CSV");
    EXPECT_LT(platform.append_open("SDCARD\\DATA\\OLD.CSV"), 0);
    EXPECT_LT(platform.append_open("SDCARD\\DATA\\LINK.CSV"), 0);
    EXPECT_EQ(read(card() / "DATA" / "OLD.CSV"), std::vector<uint8_t>{'x'});
    EXPECT_FALSE(fs::exists(platform.dir() / "elsewhere" / "L.CSV"));

    const int h = platform.append_open("SDCARD\\DATA\\NEW.CSV");
    ASSERT_GE(h, 0);
    EXPECT_TRUE(platform.append_write(h, line, 5));
    platform.settle();
    fs::remove(card() / "DATA" / "NEW.CSV");
    EXPECT_TRUE(platform.append_write(h, line, 5)); // handed over; the writer finds the file gone
    platform.settle();
    EXPECT_FALSE(platform.append_write(h, line, 5));
    EXPECT_FALSE(platform.append_close(h));
}

} // namespace
