#include "settings/unit_switch.h"

#include <cstring>

#include "sensors/fuel.h"
#include "settings/settings_schema.h"

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

// The display values of a sender table, in the unit of the record it belongs
// to. Slots past the points in use convert too unless empty, so a table
// lengthened later still agrees with its limits.
void convert_table(SenderCalibrationTable& table, uint8_t from, uint8_t to, Convert convert)
{
    const FieldRange range = cal_point_fields::display.range;
    for (size_t k = 0; k < CAL_POINT_SLOTS; ++k) {
        CalPoint& p = table.point[k];
        if (k >= table.count && p.display == 0 && p.adc == 0) continue;
        p.display = int16_t(clamp(convert(p.display, from, to), range));
    }
}

// ---- Tank quantities ----

enum TankUnit : uint8_t { WHOLE_LITRES, TENTH_LITRES, TENTH_GALLONS };

TankUnit tank_unit(uint8_t fuel_unit, uint8_t resolution)
{
    if (fuel_unit & 1) return TENTH_GALLONS;
    return resolution == 1 ? TENTH_LITRES : WHOLE_LITRES;
}

// One step of each tank unit in microlitres (a US gallon is 3.785411784 L).
constexpr int64_t UL_PER_STEP[3] = {1000000, 100000, 378541};
// Flow-sender pulses are counted ten times finer into the calculated contents
// with tenths of a litre, and into the fuel-used totals with any tenths.
constexpr int64_t CONTENTS_PER_PULSE[3] = {1, 10, 1};
constexpr int64_t USED_PER_PULSE[3] = {1, 10, 10};

// value x mul / div, rounded; counts saturate at their 32 bits.
int64_t rescale(int64_t value, int64_t mul, int64_t div) { return div_round(value * mul, div); }
uint32_t rescale_u32(uint32_t value, int64_t mul, int64_t div)
{
    const int64_t v = rescale(value, mul, div);
    return v > int64_t(UINT32_MAX) ? UINT32_MAX : uint32_t(v);
}

struct TankFields {
    int16_t& size;
    int16_t& low_alarm;
    int16_t& low_caution;
    uint16_t& level;
    uint32_t& contents;
};

void convert_tank(TankFields t, const SettingsField& size_field, TankUnit from, TankUnit to)
{
    const int64_t a = UL_PER_STEP[from];
    const int64_t b = UL_PER_STEP[to];
    t.size = int16_t(clamp(rescale(t.size, a, b), size_field.range));
    const FieldRange up_to_size{0, t.size};
    t.low_alarm = int16_t(clamp(rescale(t.low_alarm, a, b), up_to_size));
    t.low_caution = int16_t(clamp(rescale(t.low_caution, a, b), up_to_size));
    t.level = uint16_t(clamp(rescale(t.level, a, b), up_to_size));
    t.contents = rescale_u32(t.contents, CONTENTS_PER_PULSE[to], CONTENTS_PER_PULSE[from]);
}

// After fuel_unit or tank_resolution changed: converts what is kept in the
// tank unit.
void convert_tanks(TankUnit from, TankUnit to)
{
    if (from == to) return;
    FuelData& fd = fuel_hobbs.fuel;
    // Packed fields are copied out and back: no reference may bind to them.
    for (int t = 0; t < 2; ++t) {
        int16_t size = t == 0 ? settings.tank1_size : settings.tank2_size;
        int16_t low = t == 0 ? settings.tank1_low_alarm : settings.tank2_low_alarm;
        int16_t caution = t == 0 ? settings.tank1_low_caution : settings.tank2_low_caution;
        uint32_t contents = t == 0 ? fd.tank1_contents : fd.tank2_contents;
        convert_tank({size, low, caution, fuel.tank_level[t], contents},
                     t == 0 ? unit_fields::tank1_size : unit_fields::tank2_size, from, to);
        (t == 0 ? settings.tank1_size : settings.tank2_size) = size;
        (t == 0 ? settings.tank1_low_alarm : settings.tank2_low_alarm) = low;
        (t == 0 ? settings.tank1_low_caution : settings.tank2_low_caution) = caution;
        (t == 0 ? fd.tank1_contents : fd.tank2_contents) = contents;
    }
    fd.fuel_used1 = rescale_u32(fd.fuel_used1, USED_PER_PULSE[to], USED_PER_PULSE[from]);
    fd.fuel_used2 = rescale_u32(fd.fuel_used2, USED_PER_PULSE[to], USED_PER_PULSE[from]);
}

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
    if (from == unit || from > 1 || unit > 1) return;
    for (TemperatureSenderConfig& record : settings.temperature_cfg)
        convert_table(record.cal, from, unit, temperature_convert);
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
    convert_table(p.cal, from, unit, pressure_convert);
}

void fuel_unit_switch(uint8_t unit)
{
    const TankUnit from = tank_unit(settings.fuel_unit, settings.tank_resolution);
    settings.fuel_unit = unit;
    convert_tanks(from, tank_unit(unit, settings.tank_resolution));
}

void tank_resolution_switch(uint8_t resolution)
{
    const TankUnit from = tank_unit(settings.fuel_unit, settings.tank_resolution);
    settings.tank_resolution = resolution;
    convert_tanks(from, tank_unit(settings.fuel_unit, resolution));
}

} // namespace ems
