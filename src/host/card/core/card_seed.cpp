#include "host/card/core/card_seed.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace host {

namespace fs = std::filesystem;

namespace {

void fail(SeedResult& r, const std::string& what)
{
    if (r.ok) r.error = what;
    r.ok = false;
}

// Copies one file to dest unless dest exists by then. The copy is the
// user's to edit, whatever the installed file's mode.
void seed_file(const fs::path& src, const fs::path& dest, SeedResult& r)
{
    const fs::path aside =
        dest.parent_path() / (".sorvik-seed-" + std::to_string(::getpid()) + "-" + dest.filename().string());
    std::error_code ec;
    if (!fs::copy_file(src, aside, ec)) return fail(r, "cannot copy " + src.string() + ": " + ec.message());
    fs::permissions(aside, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    const int linked = ::link(aside.c_str(), dest.c_str());
    const int err = errno;
    fs::remove(aside, ec);
    if (linked == 0) ++r.copied;
    else if (err != EEXIST) fail(r, "cannot write " + dest.string() + ": " + std::strerror(err));
}

// The card itself may be a link to a folder elsewhere (a card kept on
// another disk); below it, a link is the user's entry and is left alone.
void seed_folder(const fs::path& sample, const fs::path& card, SeedResult& r, bool top)
{
    std::error_code ec;
    fs::create_directory(card, ec);
    if (!fs::is_directory(top ? fs::status(card, ec) : fs::symlink_status(card, ec)))
        return fail(r, "cannot make the folder " + card.string());
    fs::directory_iterator it(sample, ec), end;
    if (ec) return fail(r, "cannot read " + sample.string() + ": " + ec.message());
    for (; it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        const fs::file_status st = it->symlink_status(ec);
        const fs::path dest = card / name;
        if (fs::is_directory(st)) {
            const fs::file_status have = fs::symlink_status(dest, ec);
            if (!fs::exists(have) || fs::is_directory(have)) seed_folder(it->path(), dest, r, false);
        } else if (fs::is_regular_file(st) && !fs::exists(fs::symlink_status(dest, ec))) {
            seed_file(it->path(), dest, r);
        }
    }
    if (ec) fail(r, "cannot read " + sample.string() + ": " + ec.message());
}

} // namespace

SeedResult seed_card(const fs::path& sample, const fs::path& card)
{
    SeedResult r;
    std::error_code ec;
    fs::create_directories(card.parent_path(), ec);
    seed_folder(sample, card, r, true);
    return r;
}

} // namespace host
