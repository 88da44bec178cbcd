// Range check of a settings block read from the card. A file with a correct
// CRC can still carry values that no setup page can produce (written by a
// damaged unit or by hand); the fields checked here index tables and arrays or
// divide, so such a block is refused as a whole instead of being used.
//
// What is checked follows each field's row in the settings schema:
// - option fields and flags: at most the last index of their list (a pressure
//   record's sender: of the longest per-type list, VOLTAGE; the channel page
//   itself turns a sender beyond the list of the present type back into USER,
//   so that state is expected, not broken);
// - text fields: NUL-terminated within their array;
// - divisors (rpm1_full_scale, rpm2_full_scale, rpm1_pulses, rpm2_pulses,
//   k_factor1, k_factor2): not zero;
// - checked numbers (egt_channels, cht_channels, every calibration point
//   count): within their range.
// Two rules that join several values are code below: egt_channels +
// cht_channels at most 12 thermocouple inputs; no two neighbouring tank1_cal
// or tank2_cal readings equal.
// Not checked: limits, display ranges, sizes and other plain numbers, which
// the readers use as numbers only (and which the setup pages wrap anyway).
#include <cstdio>
#include <cstring>

#include "settings/settings.h"
#include "settings/settings_schema.h"

namespace ems {

namespace {

// The name of the field found out of range: "UnitSettings::channel_mode[2]",
// "PressureSenderConfig::cal.count" (a record in the block is named by its type).
char bad_field[64];

const char* name_bad(const char* owner, const char* path, const SettingsField& f, int element)
{
    if (element < 0) std::snprintf(bad_field, sizeof bad_field, "%s::%s%s", owner, path, f.name);
    else std::snprintf(bad_field, sizeof bad_field, "%s::%s%s[%d]", owner, path, f.name, element);
    return bad_field;
}

bool element_ok(const SettingsField& f, const uint8_t* element)
{
    switch (f.kind) {
    case FieldKind::Flag:
    case FieldKind::Option:
    case FieldKind::Checked: {
        const int64_t v = schema_read(f, element);
        return v >= f.range.min && v <= f.range.max;
    }
    case FieldKind::Divisor: return schema_read(f, element) != 0;
    default: return true;
    }
}

// The checks of one record at `base`: nullptr, or the name of the first field out of range.
const char* check_record(const RecordSchema& r, const uint8_t* base, const char* owner, const char* path)
{
    const bool top = &r == &UNIT_SETTINGS_SCHEMA;
    for (uint16_t i = 0; i < r.field_count; ++i) {
        const SettingsField& f = r.fields[i];
        const uint8_t* at = base + f.offset;
        if (f.kind == FieldKind::Text) {
            if (!std::memchr(at, 0, f.count)) return name_bad(owner, path, f, -1);
        } else if (f.kind == FieldKind::Record) {
            char inner[48];
            std::snprintf(inner, sizeof inner, "%s%s.", path, f.name);
            for (uint16_t k = 0; k < f.count; ++k) {
                const uint8_t* element = at + size_t(k) * f.size;
                const char* bad = top ? check_record(*f.record, element, f.record->name, "")
                                      : check_record(*f.record, element, owner, inner);
                if (bad) return bad;
            }
        } else {
            for (uint16_t k = 0; k < f.count; ++k)
                if (!element_ok(f, at + size_t(k) * f.size))
                    return name_bad(owner, path, f, f.count > 1 ? k : -1);
        }
    }
    return nullptr;
}

bool tank_steps_ok(const uint16_t (&cal)[6])
{
    for (int k = 1; k < 6; ++k)
        if (cal[k] == cal[k - 1]) return false;
    return true;
}

} // namespace

const char* settings_validate(const UnitSettings& s)
{
    const char* bad = check_record(UNIT_SETTINGS_SCHEMA, reinterpret_cast<const uint8_t*>(&s),
                                   UNIT_SETTINGS_SCHEMA.name, "");
    if (bad) return bad;

    if (s.egt_channels + s.cht_channels > 12) return "UnitSettings::egt_channels + cht_channels";

    // Copies: the arrays sit at odd offsets in the packed block.
    uint16_t cal[6];
    std::memcpy(cal, s.tank1_cal, sizeof cal);
    if (!tank_steps_ok(cal)) return "UnitSettings::tank1_cal";
    std::memcpy(cal, s.tank2_cal, sizeof cal);
    if (!tank_steps_ok(cal)) return "UnitSettings::tank2_cal";
    return nullptr;
}

} // namespace ems
