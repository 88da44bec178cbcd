// The settings file on the card: CRC, save and recall.
//
// File layout, 1875 bytes:
//   0..1872   UnitSettings byte for byte
//   1873      CRC-16/MODBUS of bytes 0..1872, high byte
//   1874      its low byte
#include <cstring>

#include "settings/crc16_tables.h"
#include "settings/settings.h"
#include "system/card_files.h"
#include "system/hooks.h"
#include "system/platform.h"

namespace ems {

namespace {

constexpr size_t BLOCK_BYTES = sizeof(UnitSettings);

// File image for save and recall (static: no allocation at run time).
uint8_t file_image[SETTINGS_FILE_BYTES];
// A recalled block waits here until it has passed every check.
UnitSettings recalled;

} // namespace

uint16_t settings_crc16(const uint8_t* data, size_t length)
{
    uint8_t lo = 0xFF, hi = 0xFF;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t index = uint8_t(lo ^ data[i]);
        lo = uint8_t(hi ^ CRC16_TABLE_LO[index]);
        hi = CRC16_TABLE_HI[index];
    }
    return uint16_t(hi << 8 | lo);
}

// The new file is written beside the old one and replaces it only once every
// byte is on the card, so a save that fails part-way leaves the last good file.
SettingsWrite settings_write_file()
{
    std::memcpy(file_image, &settings, BLOCK_BYTES);
    const uint16_t crc = settings_crc16(file_image, BLOCK_BYTES);
    file_image[BLOCK_BYTES] = uint8_t(crc >> 8);
    file_image[BLOCK_BYTES + 1] = uint8_t(crc & 0xFF);

    CardStorage& card = platform().card();
    bool ok = false;
    const int handle = card.file_open(SETTINGS_TEMP_FILE, FileMode::Write);
    if (handle >= 0) {
        const bool written = card.file_write(handle, file_image, SETTINGS_FILE_BYTES) ==
                             SETTINGS_FILE_BYTES;
        const bool closed = card.file_close(handle);
        ok = written && closed && card.file_replace(SETTINGS_TEMP_FILE, SETTINGS_FILE);
        if (!ok) card.file_remove(SETTINGS_TEMP_FILE);
    }

    if (ok) return SettingsWrite::Ok;
    // A file of ours left over is replaced, but not one the card will not
    // let go of: only the user can clear it.
    const bool in_the_way = handle < 0 && card_lists(card, SETTINGS_TEMP_FILE);
    return in_the_way ? SettingsWrite::TempInTheWay : SettingsWrite::Failed;
}

bool settings_read_file()
{
    CardStorage& card = platform().card();
    const int handle = card.file_open(SETTINGS_FILE, FileMode::Read);
    if (handle < 0) return false;
    // A longer file is read as far as the block and its CRC go.
    const size_t got = card.file_read(handle, file_image, SETTINGS_FILE_BYTES);
    card.file_close(handle);

    bool ok = got == SETTINGS_FILE_BYTES;
    if (ok) {
        const uint16_t stored = uint16_t(file_image[BLOCK_BYTES] << 8 | file_image[BLOCK_BYTES + 1]);
        ok = settings_crc16(file_image, BLOCK_BYTES) == stored;
    }
    if (ok) {
        std::memcpy(&recalled, file_image, BLOCK_BYTES);
        ok = settings_validate(recalled) == nullptr;
    }
    if (!ok) return false;

    settings = recalled;
    settings.version = FIRMWARE_VERSION;
    settings_changed();
    fuel_config_derive();
    rpm1_scale_update();
    return true;
}

} // namespace ems
