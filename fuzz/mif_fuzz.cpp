// Fuzzes the MIF decoders: the input is written to a card file and loaded
// into the background, and drawn as a picture of known size onto the frame.
// The first four bytes place the picture (x, y as 16-bit little-endian), the
// rest is the MIF stream.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/mif.h"
#include "host/card/core/card_folder.h"
#include "system/platform.h"

namespace {

std::filesystem::path card_dir()
{
    static const std::filesystem::path dir = host::make_temp_card_dir("mif-fuzz");
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static host::CardFolder card(card_dir());
    ems::set_platform({.card = &card});
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
