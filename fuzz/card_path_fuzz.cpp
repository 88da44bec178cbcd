// Fuzzes card path resolution and the card operations behind it on a card
// laid out with the awkward entries a card folder can hold: names in other
// letter case, a nested folder, a FIFO, links inside the card, links out of
// it (to a file, a folder and /dev/zero), a dangling link and a link loop.
//
// Input: one byte choosing the operation (read, write, remove, replace,
// listing), then the card path; for a replace the path is "SRC\0DEST". No
// operation may block, leave the working directory, or change the file kept
// outside the card.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/card/core/card_folder.h"

namespace {

namespace fs = std::filesystem;

const char OUTSIDE_TEXT[] = "outside the card";

fs::path root;      // the working directory, with the card folder
fs::path root_real;
fs::path outside;   // another folder beside it, which links lead to

void remove_folders()
{
    fs::remove_all(root);
    fs::remove_all(outside);
}

// Puts every fixture entry back (operations may have removed or replaced them).
void lay_out_card()
{
    std::error_code ec;
    const fs::path card = root / "SDCARD";
    fs::create_directories(card / "InfoPage" / "deeper", ec);
    auto file = [](const fs::path& p, const char* text) {
        if (!fs::exists(fs::symlink_status(p))) std::ofstream(p) << text;
    };
    auto link = [&](const fs::path& to, const fs::path& at) {
        if (!fs::exists(fs::symlink_status(at))) fs::create_symlink(to, at, ec);
    };
    file(outside / "OUTSIDE.TXT", OUTSIDE_TEXT);
    file(card / "sorvik2.ems", "settings");
    file(card / "InfoPage" / "radio.mif", "mif");
    if (!fs::exists(fs::symlink_status(card / "FIFO.MIF"))) ::mkfifo((card / "FIFO.MIF").c_str(), 0644);
    link("sorvik2.ems", card / "INLINK.EMS");
    link("InfoPage", card / "INFOLINK");
    link(outside / "OUTSIDE.TXT", card / "OUTLINK.TXT");
    link(fs::path("../..") / outside.filename() / "OUTSIDE.TXT", card / "UPLINK.TXT");
    link(outside, card / "OUTDIR");
    link("/dev/zero", card / "ZERO.MIF");
    link(outside / "NOWHERE", card / "DANGLING.TMP");
    link("LOOP.B", card / "LOOP.A");
    link("LOOP.A", card / "LOOP.B");
}

void check_outside_intact()
{
    std::ifstream in(outside / "OUTSIDE.TXT");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text != OUTSIDE_TEXT) std::abort();
    std::error_code ec;
    if (std::distance(fs::directory_iterator(outside, ec), fs::directory_iterator()) != 2) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static host::CardFolder& card = [] () -> host::CardFolder& {
        root = host::make_temp_card_dir("card-path-fuzz");
        root_real = fs::canonical(root);
        outside = host::make_temp_card_dir("card-path-outside");
        std::atexit(remove_folders);
        static host::CardFolder folder(root);
        return folder;
    }();
    if (size < 1 || size > 256) return 0;
    lay_out_card();
    // The card as SDCARD below the working directory, or as a folder chosen
    // by itself (the same folder here, so the same bounds hold).
    card.set_card_dir(data[0] & 0x80 ? root / "SDCARD" : fs::path());
    const uint8_t op = data[0] % 5;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string path = text.substr(0, text.find('\0'));
    const std::string dest = path.size() < text.size() ? text.substr(path.size() + 1) : std::string("SDCARD\\X");

    const fs::path resolved = card.resolve(path.c_str());
    if (!resolved.empty()) {
        // Whatever it names lies in the working directory.
        std::error_code ec;
        const fs::path real = fs::weakly_canonical(resolved, ec);
        const fs::path rel = real.lexically_relative(root_real);
        if (!ec && (rel.empty() || *rel.begin() == "..")) std::abort();
    }
    switch (op) {
    case 0: {
        const int f = card.file_open(path.c_str(), ems::FileMode::Read);
        uint8_t buf[64];
        if (f >= 0) {
            card.file_read(f, buf, sizeof buf);
            card.file_close(f);
        }
        break;
    }
    case 1: {
        const int f = card.file_open(path.c_str(), ems::FileMode::Write);
        if (f >= 0) {
            card.file_write(f, reinterpret_cast<const uint8_t*>("w"), 1);
            card.file_close(f);
        }
        break;
    }
    case 2: card.file_remove(path.c_str()); break;
    case 3: card.file_replace(path.c_str(), dest.c_str()); break;
    default: {
        const int d = card.dir_open(path.c_str());
        char name[32];
        while (d >= 0 && card.dir_next(d, name, sizeof name)) {}
        card.dir_close(d);
    }
    }
    check_outside_intact();
    return 0;
}
