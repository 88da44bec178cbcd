// The two 256-entry byte tables of the table-driven CRC-16/MODBUS.
#pragma once
#include <cstdint>

namespace ems {

extern const uint8_t CRC16_TABLE_LO[256]; // low byte of the register change for each index byte
extern const uint8_t CRC16_TABLE_HI[256]; // high byte of the register change for each index byte

} // namespace ems
