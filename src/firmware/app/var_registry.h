// Firmware variables by their code names, for the scenario runner's dump and
// for tests: "volts_x10", "tc_input" (an array), "settings.rpm1_label" ...
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

enum class VarType : uint8_t { U8, I8, U16, I16, U32, I32, F32, Text, AtomicU8 };

struct VarInfo {
    const char* name;
    const void* ptr;
    VarType type;
    uint16_t count; // array elements (1 for a scalar); the byte size for Text
};

// The variable with this name, or nullptr. A settings field ("settings." and
// its path) is found by walking the settings schema; its entry stays valid
// until the next find_var.
const VarInfo* find_var(const char* name);
// All known variables, the settings fields among them (a settings entry from
// var_at stays valid until the next var_at).
size_t var_count();
const VarInfo& var_at(size_t i);

// Reads element i of a numeric variable as a 64-bit integer (floats truncated).
int64_t var_int(const VarInfo& v, size_t i);
double var_double(const VarInfo& v, size_t i);

} // namespace ems
