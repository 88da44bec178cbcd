#!/usr/bin/env python3
# Writes crc16_tables.cpp, the CRC-16/MODBUS byte tables of the settings file.
# Run from the repository root:
#   python3 src/firmware/config/crc16_tables.py > src/firmware/config/crc16_tables.cpp
table = []
for i in range(256):
    c = i
    for _ in range(8):
        c = (c >> 1) ^ 0xA001 if c & 1 else c >> 1
    table.append(c)


def rows(values):
    return "\n".join("    " + ", ".join("0x%02X" % v for v in values[r:r + 12]) + ","
                     for r in range(0, 256, 12))


print("""// CRC-16/MODBUS byte tables: entry i is the CRC register after shifting the
// byte i through the reflected polynomial 0xA001, split into its two bytes.
// Generated file, do not edit. Produced by:
//   python3 src/firmware/config/crc16_tables.py > src/firmware/config/crc16_tables.cpp
#include "config/crc16_tables.h"

namespace ems {

const uint8_t CRC16_TABLE_LO[256] = {""")
print(rows([v & 0xFF for v in table]))
print("""};

const uint8_t CRC16_TABLE_HI[256] = {""")
print(rows([v >> 8 for v in table]))
print("""};

} // namespace ems""")
