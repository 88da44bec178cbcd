// Helpers for the settings tests: a bitwise CRC to check the table-driven one
// against, settings files built from a block, and card file access.
#pragma once
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "settings/settings.h"

namespace test {

// CRC-16/MODBUS one bit at a time.
inline uint16_t crc16_bitwise(const uint8_t* data, size_t length)
{
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

inline std::vector<uint8_t> block_bytes(const ems::UnitSettings& s)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&s);
    return {p, p + sizeof s};
}

// The settings file for a block: the block, then its CRC high byte first.
inline std::vector<uint8_t> settings_file_for(const ems::UnitSettings& s)
{
    std::vector<uint8_t> bytes = block_bytes(s);
    const uint16_t crc = crc16_bitwise(bytes.data(), bytes.size());
    bytes.push_back(uint8_t(crc >> 8));
    bytes.push_back(uint8_t(crc & 0xFF));
    return bytes;
}

inline void write_file(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool same_block(const ems::UnitSettings& a, const ems::UnitSettings& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace test
