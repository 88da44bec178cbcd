#include "config/unit_switch.h"

#include <cstring>

#include "config/settings_schema.h"

namespace ems {

namespace {

// a / b rounded to nearest, halves away from zero (b > 0).
int64_t div_round(int64_t a, int64_t b)
{
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

int64_t clamp(int64_t v, FieldRange r) { return v < r.min ? r.min : v > r.max ? r.max : v; }

using Convert = int32_t (*)(int32_t value, uint8_t from, uint8_t to);

// Converts, in the record at `bytes` and in its sub-records, every number
// whose setup range follows the unit option `unit_field`, then clamps it to
// its range in the new unit. The schema says which fields those are, so a
// limit added to the schema follows its unit without a change here.
void convert_fields(const RecordSchema& record, uint8_t* bytes, const char* unit_field, uint8_t from,
                    uint8_t to, Convert convert)
{
    for (uint16_t i = 0; i < record.field_count; ++i) {
        const SettingsField& f = record.fields[i];
        for (uint16_t e = 0; e < f.count; ++e) {
            uint8_t* element = bytes + f.offset + size_t(e) * f.size;
            if (f.kind == FieldKind::Record) {
                convert_fields(*f.record, element, unit_field, from, to, convert);
            } else if (f.unit_ranges && std::strcmp(f.unit_ranges->unit_field, unit_field) == 0) {
                const int32_t value = int32_t(schema_read(f, element));
                schema_write(f, element, clamp(convert(value, from, to), field_range(f, to)));
            }
        }
    }
}

// After a two-unit option of UnitSettings changed from `from` to `to`:
// converts what follows it.
void convert_settings(const char* unit_field, uint8_t from, uint8_t to, Convert convert)
{
    if (from == to || from > 1 || to > 1) return;
    convert_fields(UNIT_SETTINGS_SCHEMA, reinterpret_cast<uint8_t*>(&settings), unit_field, from, to, convert);
}

// One step of each pressure unit in tenths of a micro-bar: 0.1 bar, 1 psi
// (68947.6 ubar), 0.1 psi.
constexpr int64_t UBAR_PER_STEP_X10[3] = {1000000, 689476, 68948};

} // namespace

int32_t temperature_convert(int32_t value, uint8_t from, uint8_t to)
{
    if (from == to) return value;
    if (to == 1) return int32_t(div_round(int64_t(value) * 9, 5) + 32); // C to F
    return int32_t(div_round((int64_t(value) - 32) * 5, 9));            // F to C
}

int32_t map_convert(int32_t value, uint8_t from, uint8_t to)
{
    // 1 inHg = 33.8639 mb: 0.1 inHg = 3.38639 mb.
    if (from == to) return value;
    if (to == 1) return int32_t(div_round(int64_t(value) * 100000, 338639));
    return int32_t(div_round(int64_t(value) * 338639, 100000));
}

int32_t pressure_convert(int32_t value, uint8_t from, uint8_t to)
{
    if (from == to || from > 2 || to > 2) return value;
    return int32_t(div_round(int64_t(value) * UBAR_PER_STEP_X10[from], UBAR_PER_STEP_X10[to]));
}

void temp_unit_switch(uint8_t unit)
{
    const uint8_t from = settings.temp_unit;
    settings.temp_unit = unit;
    convert_settings("temp_unit", from, unit, temperature_convert);
}

void oat_unit_switch(uint8_t unit)
{
    const uint8_t from = settings.oat_unit;
    settings.oat_unit = unit;
    convert_settings("oat_unit", from, unit, temperature_convert);
}

void map_unit_switch(uint8_t unit)
{
    const uint8_t from = settings.map_unit;
    settings.map_unit = unit;
    convert_settings("map_unit", from, unit, map_convert);
}

void pressure_unit_switch(PressureSenderConfig& p, uint8_t unit)
{
    const uint8_t from = p.unit;
    p.unit = unit;
    if (from == unit) return;
    // A unit from a damaged file has no conversion: the values are only clamped.
    convert_fields(PRESSURE_SCHEMA, reinterpret_cast<uint8_t*>(&p), "unit", from, unit, pressure_convert);
}

} // namespace ems
