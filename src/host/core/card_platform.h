// A platform whose card is a folder on disk and which has no desktop: no
// clock beyond a settable one, no message boxes, no panel, check boxes from an
// array (the card is mounted). The window, the test fake, the benchmarks and
// the fuzzers build on it.
#pragma once
#include <filesystem>

#include "host/core/card_folder.h"
#include "system/platform.h"

namespace host {

class CardPlatform : public ems::Platform {
public:
    explicit CardPlatform(std::filesystem::path working_dir);

    CardFolder& card_folder() { return card_; }
    std::filesystem::path working_dir() const { return card_.working_dir(); }

    ems::LocalTime now{};                               // what local_time returns
    bool boxes[size_t(ems::CheckBox::Count)] = {};      // check-box states; SD card mounted at start

    ems::LocalTime local_time() override { return now; }
    int file_open(const char* p, ems::FileMode m) override { return card_.file_open(p, m); }
    size_t file_read(int h, uint8_t* d, size_t n) override { return card_.file_read(h, d, n); }
    size_t file_write(int h, const uint8_t* d, size_t n) override { return card_.file_write(h, d, n); }
    bool file_close(int h) override { return card_.file_close(h); }
    bool file_replace(const char* s, const char* d) override { return card_.file_replace(s, d); }
    bool file_remove(const char* p) override { return card_.file_remove(p); }
    int dir_open(const char* p) override { return card_.dir_open(p); }
    bool dir_next(int h, char* n, size_t s) override { return card_.dir_next(h, n, s); }
    void dir_close(int h) override { card_.dir_close(h); }
    void message_box(const char*) override {}
    void present() override {}
    bool check_box(ems::CheckBox b) override { return boxes[size_t(b)]; }
    void serial_echo(const char*) override {}

private:
    CardFolder card_;
};

// Creates a fresh temporary working directory with an empty SDCARD folder
// (under base, or the system's temporary directory when base is empty).
std::filesystem::path make_temp_card_dir(const char* prefix, const std::filesystem::path& base = {});

} // namespace host
