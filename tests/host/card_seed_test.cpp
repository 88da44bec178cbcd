// Filling a user's card from the sample card: what is there stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/card/core/card_folder.h"
#include "host/card/core/card_seed.h"

namespace {

namespace fs = std::filesystem;

void write(const fs::path& p, const std::string& text)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p) << text;
}

std::string read(const fs::path& p)
{
    std::ifstream in(p);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(CardSeed, CopiesOnlyWhatIsMissingAndLeavesTheUsersEntriesAlone)
{
    const fs::path dir = host::make_temp_card_dir("card-seed");
    const fs::path sample = dir / "sample", elsewhere = dir / "elsewhere", card = dir / "card";
    write(sample / "SPLASH.MIF", "sample splash");
    write(sample / "CHECKLST/RUNUP.ECL", "sample runup");
    write(sample / "INFOPAGE/RADIO.MIF", "sample radio");
    fs::permissions(sample / "CHECKLST/RUNUP.ECL", fs::perms::owner_read); // as installed read-only
    // The user's card lives elsewhere, behind a link; it has its own splash
    // and a link where the sample has a folder.
    write(elsewhere / "SPLASH.MIF", "my splash");
    fs::create_directory_symlink(dir / "somewhere", elsewhere / "INFOPAGE");
    fs::create_directory_symlink(elsewhere, card);

    const host::SeedResult r = host::seed_card(sample, card);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.copied, 1);
    EXPECT_EQ(read(elsewhere / "SPLASH.MIF"), "my splash");
    EXPECT_EQ(read(elsewhere / "CHECKLST/RUNUP.ECL"), "sample runup");
    EXPECT_TRUE((fs::status(elsewhere / "CHECKLST/RUNUP.ECL").permissions() & fs::perms::owner_write) !=
                fs::perms::none);
    EXPECT_TRUE(fs::is_symlink(elsewhere / "INFOPAGE"));
    EXPECT_FALSE(fs::exists(dir / "somewhere"));
    // Nothing is left beside the copies.
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere / "CHECKLST"), fs::directory_iterator()), 1);

    fs::remove_all(dir);
}

} // namespace
