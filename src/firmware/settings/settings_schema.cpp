#include "settings/settings_schema.h"

#include <cstring>

namespace ems {

const SettingsField* schema_find(const RecordSchema& record, const char* name, size_t length)
{
    for (uint16_t i = 0; i < record.field_count; ++i) {
        const SettingsField& f = record.fields[i];
        if (std::strlen(f.name) == length && std::memcmp(f.name, name, length) == 0) return &f;
    }
    return nullptr;
}

namespace {

template <typename T>
int64_t load(const uint8_t* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
void store(uint8_t* p, int64_t value)
{
    const T v = static_cast<T>(value);
    std::memcpy(p, &v, sizeof v);
}

} // namespace

int64_t schema_read(const SettingsField& f, const uint8_t* element)
{
    switch (f.type) {
    case FieldType::U8: return load<uint8_t>(element);
    case FieldType::I8: return load<int8_t>(element);
    case FieldType::U16: return load<uint16_t>(element);
    case FieldType::I16: return load<int16_t>(element);
    case FieldType::U32: return load<uint32_t>(element);
    case FieldType::I32: return load<int32_t>(element);
    case FieldType::Char:
    case FieldType::Record: return 0;
    }
    return 0;
}

void schema_write(const SettingsField& f, uint8_t* element, int64_t value)
{
    switch (f.type) {
    case FieldType::U8: store<uint8_t>(element, value); break;
    case FieldType::I8: store<int8_t>(element, value); break;
    case FieldType::U16: store<uint16_t>(element, value); break;
    case FieldType::I16: store<int16_t>(element, value); break;
    case FieldType::U32: store<uint32_t>(element, value); break;
    case FieldType::I32: store<int32_t>(element, value); break;
    case FieldType::Char:
    case FieldType::Record: break;
    }
}

} // namespace ems
