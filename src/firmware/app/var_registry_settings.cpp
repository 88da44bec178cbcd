// The settings fields as variables, by path: "settings.rpm1_pulses",
// "settings.channel_mode" (the whole array) or "settings.channel_mode[2]",
// "settings.pressure_cfg[1].label", "settings.generic_cfg[3].cal.point[20].adc".
// The path is walked through the settings schema, so every field it describes
// is reachable and nothing needs regenerating when a field is added. Arrays
// of records are named by element; reserved bytes are not listed.
#include <cstdio>
#include <cstring>

#include "app/var_registry_table.h"
#include "settings/settings.h"
#include "settings/settings_schema.h"

namespace ems {
namespace {

constexpr const char* ROOT = "settings.";
constexpr size_t ROOT_LENGTH = 9;
constexpr size_t NAME_SIZE = 96;

VarType var_type_of(FieldType t)
{
    switch (t) {
    case FieldType::U8: return VarType::U8;
    case FieldType::I8: return VarType::I8;
    case FieldType::U16: return VarType::U16;
    case FieldType::I16: return VarType::I16;
    case FieldType::U32: return VarType::U32;
    case FieldType::I32: return VarType::I32;
    case FieldType::Char:
    case FieldType::Record: break;
    }
    return VarType::Text;
}

// The entry handed out, with its own copy of the name; one for find_var and
// one for var_at, each valid until the next call of the same function.
struct Slot {
    VarInfo info;
    char name[NAME_SIZE];
};

const VarInfo& fill(Slot& slot, const char* name, const SettingsField& f, size_t offset, uint16_t count)
{
    std::snprintf(slot.name, sizeof slot.name, "%s", name);
    const uint8_t* block = reinterpret_cast<const uint8_t*>(&settings);
    slot.info = {slot.name, block + offset, var_type_of(f.type), count};
    return slot.info;
}

// "[n]" at p with n below `count`: the index, with p moved past it; else -1.
int take_index(const char*& p, uint16_t count)
{
    if (*p != '[') return -1;
    const char* q = p + 1;
    long n = 0;
    if (*q < '0' || *q > '9') return -1;
    while (*q >= '0' && *q <= '9' && n < 100000) n = n * 10 + (*q++ - '0');
    if (*q != ']' || n >= count) return -1;
    p = q + 1;
    return int(n);
}

// Every listed field in layout order: visit(path, field, byte offset in the
// block) until it returns true. Returns true when stopped.
template <typename Visit>
bool walk(const RecordSchema& r, size_t base, char* path, size_t length, Visit& visit)
{
    for (uint16_t i = 0; i < r.field_count; ++i) {
        const SettingsField& f = r.fields[i];
        if (f.kind == FieldKind::Reserved) continue;
        const size_t at = base + f.offset;
        const int n = std::snprintf(path + length, NAME_SIZE - length, "%s", f.name);
        const size_t end = length + size_t(n);
        if (f.kind != FieldKind::Record) {
            if (visit(path, f, at)) return true;
            continue;
        }
        for (uint16_t k = 0; k < f.count; ++k) {
            const int m = f.count > 1 ? std::snprintf(path + end, NAME_SIZE - end, "[%u].", unsigned(k))
                                      : std::snprintf(path + end, NAME_SIZE - end, ".");
            if (walk(*f.record, at + size_t(k) * f.size, path, end + size_t(m), visit)) return true;
        }
    }
    return false;
}

template <typename Visit>
void walk_settings(Visit visit)
{
    char path[NAME_SIZE];
    std::snprintf(path, sizeof path, "%s", ROOT);
    walk(UNIT_SETTINGS_SCHEMA, 0, path, ROOT_LENGTH, visit);
}

} // namespace

const VarInfo* find_settings_var(const char* name)
{
    static Slot slot;
    if (std::strncmp(name, ROOT, ROOT_LENGTH) != 0) return nullptr;
    const char* p = name + ROOT_LENGTH;
    const RecordSchema* record = &UNIT_SETTINGS_SCHEMA;
    size_t offset = 0;
    for (;;) {
        const char* end = p;
        while (*end && *end != '.' && *end != '[') ++end;
        const SettingsField* f = schema_find(*record, p, size_t(end - p));
        if (!f || f->kind == FieldKind::Reserved) return nullptr;
        p = end;
        const bool indexed = *p == '[';
        const int index = take_index(p, f->count);
        if (indexed && (index < 0 || f->count == 1)) return nullptr;
        offset += f->offset + size_t(index < 0 ? 0 : index) * f->size;
        if (f->kind == FieldKind::Record) {
            if ((f->count > 1 && !indexed) || *p != '.') return nullptr;
            record = f->record;
            ++p;
            continue;
        }
        if (*p || (indexed && f->type == FieldType::Char)) return nullptr;
        return &fill(slot, name, *f, offset, indexed ? 1 : f->count);
    }
}

size_t settings_var_count()
{
    static const size_t count = [] {
        size_t n = 0;
        walk_settings([&n](const char*, const SettingsField&, size_t) { return ++n, false; });
        return n;
    }();
    return count;
}

const VarInfo& settings_var_at(size_t i)
{
    static Slot slot;
    size_t n = 0;
    walk_settings([&](const char* path, const SettingsField& f, size_t offset) {
        if (n++ != i) return false;
        fill(slot, path, f, offset, f.count);
        return true;
    });
    return slot.info;
}

} // namespace ems
