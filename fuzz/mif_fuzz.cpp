// Fuzzes the MIF decoders: the input is written to a card file and loaded
// into the background, and drawn as a picture of known size onto the frame.
// The first four bytes place the picture (x, y as 16-bit little-endian), the
// rest is the MIF stream.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/mif.h"
#include "host/core/card_folder.h"
#include "system/platform.h"

namespace {

// Card files in a private temporary folder; everything else does nothing.
class FuzzPlatform : public ems::Platform {
public:
    explicit FuzzPlatform(const std::filesystem::path& dir) : card_(dir) {}
    ems::LocalTime local_time() override { return {}; }
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
    bool check_box(ems::CheckBox) override { return false; }
    void serial_echo(const char*) override {}

private:
    host::CardFolder card_;
};

std::filesystem::path card_dir()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "mif-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::filesystem::create_directories(std::filesystem::path(pattern) / "SDCARD");
        return std::filesystem::path(pattern);
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzPlatform platform(card_dir());
    ems::set_platform(&platform);
    if (size < 4) return 0;
    const auto x = int16_t(data[0] | (data[1] << 8));
    const auto y = int16_t(data[2] | (data[3] << 8));
    const uint8_t* mif = data + 4;
    const size_t mif_size = size - 4;

    const std::filesystem::path file = card_dir() / "SDCARD" / "FUZZ.MIF";
    if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
        if (mif_size) std::fwrite(mif, 1, mif_size, f);
        std::fclose(f);
        ems::load_mif_file(x, y, "SDCARD\\FUZZ.MIF");
    }
    ems::draw_image(x, y, mif, mif_size);
    return 0;
}
