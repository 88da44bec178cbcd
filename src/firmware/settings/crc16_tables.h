// The two 256-entry byte tables of the table-driven CRC-16/MODBUS, computed
// at compile time: entry i is the CRC register after shifting the byte i
// through the reflected polynomial 0xA001, split into its two bytes.
#pragma once
#include <array>
#include <cstdint>

namespace ems {

namespace crc16_detail {

constexpr uint16_t register_after(uint8_t byte)
{
    uint16_t c = byte;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? uint16_t((c >> 1) ^ 0xA001) : uint16_t(c >> 1);
    return c;
}

constexpr std::array<uint8_t, 256> byte_table(int shift)
{
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) t[size_t(i)] = uint8_t(register_after(uint8_t(i)) >> shift);
    return t;
}

} // namespace crc16_detail

// low byte of the register change for each index byte
inline constexpr std::array<uint8_t, 256> CRC16_TABLE_LO = crc16_detail::byte_table(0);
// high byte of the register change for each index byte
inline constexpr std::array<uint8_t, 256> CRC16_TABLE_HI = crc16_detail::byte_table(8);

namespace crc16_detail {

// The catalogued check value of CRC-16/MODBUS: the CRC of "123456789" is 0x4B37.
constexpr bool tables_give_check_value()
{
    uint8_t lo = 0xFF, hi = 0xFF;
    for (char ch : {'1', '2', '3', '4', '5', '6', '7', '8', '9'}) {
        const uint8_t index = uint8_t(lo ^ uint8_t(ch));
        lo = uint8_t(hi ^ CRC16_TABLE_LO[index]);
        hi = CRC16_TABLE_HI[index];
    }
    return hi == 0x4B && lo == 0x37;
}
static_assert(tables_give_check_value());

} // namespace crc16_detail

} // namespace ems
