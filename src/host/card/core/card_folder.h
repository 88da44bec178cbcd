// The SD card as a folder on disk. Card paths use backslashes as the
// firmware writes them ("SDCARD\\SPLASH.MIF") and resolve below a working
// directory; paths that climb out of it ("..") are refused. Like the FAT card
// it stands for, it ignores letter case: a "sorvik2.ems" copied there from a PC
// is the file "SDCARD\\SORVIK2.EMS". It is the card of every program: the
// window's, the tests', the benchmarks' and the fuzzers'.
#pragma once
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/card/core/card_writer.h"
#include "system/platform.h"

namespace host {

class CardFolder : public ems::CardStorage {
public:
    explicit CardFolder(std::filesystem::path working_dir = std::filesystem::current_path());
    ~CardFolder() override;
    CardFolder(const CardFolder&) = delete;
    CardFolder& operator=(const CardFolder&) = delete;

    const std::filesystem::path& working_dir() const { return root_; }
    // The folder that stands for the card: SDCARD in the working directory,
    // or the folder set_card_dir chose (users keep one card per aircraft,
    // wherever they like). Set it only while no card file is open.
    std::filesystem::path card_dir() const;
    void set_card_dir(std::filesystem::path dir);
    bool files_open() const; // a card file is open for reading or writing
    // Maps a card path to a file system path, component by component, each to
    // the existing entry of the same name in any letter case (the exact name
    // first); links are followed to where they lead. Empty when the path is
    // unsafe: it climbs out, a link leads out of the card folder or nowhere,
    // or an entry on the way is neither a regular file nor a folder. Every
    // card operation goes through it.
    std::filesystem::path resolve(const char* card_path) const;

    // Only regular files open, and never block. Opening for writing always
    // makes a new file (an old one is removed first; a link or a
    // write-protected file is refused), so nothing is ever written through an
    // existing entry.
    int file_open(const char* card_path, ems::FileMode mode) override;
    size_t file_read(int handle, uint8_t* data, size_t length) override;
    size_t file_write(int handle, const uint8_t* data, size_t length) override;
    bool file_close(int handle) override;
    // Renames src over dest and syncs the folder; a write-protected dest is refused.
    bool file_replace(const char* src_path, const char* dest_path) override;
    bool file_remove(const char* card_path) override;
    int dir_open(const char* card_path) override;
    bool dir_next(int handle, char* name, size_t size) override;
    void dir_close(int handle) override;
    // Makes the last folder of the path (never through a link); its parent must exist.
    bool folder_create(const char* card_path) override;
    // A new regular file only (an existing entry of the name is refused);
    // written and finished by the card's writer thread (card_writer.h).
    int append_open(const char* card_path) override;
    // An existing regular file (not a link, not write-protected), at its
    // end; only while the writer thread is idle.
    int append_resume(const char* card_path) override;
    bool append_write(int handle, const uint8_t* data, size_t length) override;
    bool append_close(int handle) override;
    // Waits until the writer thread has written everything handed over.
    void settle() { writer_.drain(); }

private:
    // What a card path stands for on disk.
    struct Entry {
        bool ok = false;              // a safe path
        bool exists = false;          // an entry is there
        bool link = false;            // the last entry is a link (inside the card)
        bool folder = false;          // it is, or leads to, a folder
        std::filesystem::path path;   // the entry itself
        std::filesystem::path target; // where it leads (path itself unless a link)
    };
    Entry find(const char* card_path) const;

    static constexpr const char* CARD_NAME = "SDCARD";
    std::filesystem::path root_;
    std::filesystem::path card_dir_; // empty: SDCARD below root_
    std::vector<std::FILE*> files_;
    std::vector<bool> writing_; // opened for writing: synced to disk on close
    std::vector<std::vector<std::string>> dirs_;
    std::vector<size_t> dir_pos_;
    std::vector<bool> dir_used_;
    CardWriter writer_;
};

// Creates a fresh temporary working directory with an empty SDCARD folder
// (under base, or the system's temporary directory when base is empty).
std::filesystem::path make_temp_card_dir(const char* prefix, const std::filesystem::path& base = {});

} // namespace host
