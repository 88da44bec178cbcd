// Fuzzes the settings recall: each input becomes SDCARD/SORVIK2.EMS in a
// temporary card folder and is recalled. Random bytes almost never carry a
// valid CRC, so unless the first input byte is odd the CRC bytes are fixed up
// first and the range checks behind the CRC get exercised. A refused file must
// leave the settings untouched; an accepted one must pass the range checks and
// save again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/card/core/card_folder.h"
#include "ops/settings_card.h"
#include "settings/settings.h"
#include "system/platform.h"

namespace {

std::filesystem::path card_dir;

void remove_card_dir() { std::filesystem::remove_all(card_dir); }

host::CardFolder& setup()
{
    // A memory file system when there is one: closing a card file syncs it.
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    card_dir = host::make_temp_card_dir("ems-settings-fuzz", base);
    std::atexit(remove_card_dir);
    static host::CardFolder card(card_dir);
    ems::set_platform({.card = &card});
    return card;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static host::CardFolder& card = setup();
    (void)card;

    static uint8_t file[4096];
    if (size > sizeof file) size = sizeof file;
    std::memcpy(file, data, size);
    const size_t block = sizeof(ems::UnitSettings);
    if (size >= ems::SETTINGS_FILE_BYTES && (size == 0 || (file[0] & 1) == 0)) {
        const uint16_t crc = ems::settings_crc16(file, block);
        file[block] = uint8_t(crc >> 8);
        file[block + 1] = uint8_t(crc & 0xFF);
    }
    const std::string path = (card_dir / "SDCARD" / "SORVIK2.EMS").string();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file, 1, size, f);
        std::fclose(f);
    }

    ems::settings = {};
    ems::settings_load_defaults();
    static ems::UnitSettings before;
    before = ems::settings;

    if (ems::settings_recall_from_card()) {
        if (ems::settings_validate(ems::settings) != nullptr) std::abort();
        if (!ems::settings_save_to_card()) std::abort();
    } else if (std::memcmp(&before, &ems::settings, block) != 0) {
        std::abort();
    }
    return 0;
}
