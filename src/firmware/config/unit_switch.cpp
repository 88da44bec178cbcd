#include "config/unit_switch.h"

#include "config/settings_schema.h"

namespace ems {

namespace {

// a / b rounded to nearest, halves away from zero (b > 0).
int64_t div_round(int64_t a, int64_t b)
{
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

int32_t clamp(int32_t v, FieldRange r) { return v < r.min ? r.min : v > r.max ? r.max : v; }

// One int16 limit converted and clamped into the field's range in the new unit.
template <typename Convert>
int16_t moved(int16_t value, const SettingsField& f, uint8_t from, uint8_t to, Convert convert)
{
    return int16_t(clamp(convert(value, from, to), field_range(f, to)));
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
    if (from == unit || from > 1 || unit > 1) return;
    const auto c = temperature_convert;
    using F = unit_fields;
    settings.egt_display_max = moved(settings.egt_display_max, F::egt_display_max, from, unit, c);
    settings.egt_display_min = moved(settings.egt_display_min, F::egt_display_min, from, unit, c);
    settings.egt_high_alarm = moved(settings.egt_high_alarm, F::egt_high_alarm, from, unit, c);
    settings.egt_high_caution = moved(settings.egt_high_caution, F::egt_high_caution, from, unit, c);
    settings.cht_display_max = moved(settings.cht_display_max, F::cht_display_max, from, unit, c);
    settings.cht_display_min = moved(settings.cht_display_min, F::cht_display_min, from, unit, c);
    settings.cht_high_alarm = moved(settings.cht_high_alarm, F::cht_high_alarm, from, unit, c);
    settings.cht_high_caution = moved(settings.cht_high_caution, F::cht_high_caution, from, unit, c);
    using T = temperature_fields;
    for (TemperatureSenderConfig& t : settings.temperature_cfg) {
        t.display_max = moved(t.display_max, T::display_max, from, unit, c);
        t.display_min = moved(t.display_min, T::display_min, from, unit, c);
        t.low_alarm = moved(t.low_alarm, T::low_alarm, from, unit, c);
        t.high_alarm = moved(t.high_alarm, T::high_alarm, from, unit, c);
        t.low_caution = moved(t.low_caution, T::low_caution, from, unit, c);
        t.high_caution = moved(t.high_caution, T::high_caution, from, unit, c);
    }
}

void oat_unit_switch(uint8_t unit)
{
    const uint8_t from = settings.oat_unit;
    settings.oat_unit = unit;
    if (from == unit || from > 1 || unit > 1) return;
    const auto c = temperature_convert;
    using F = unit_fields;
    settings.oat_display_max = moved(settings.oat_display_max, F::oat_display_max, from, unit, c);
    settings.oat_display_min = moved(settings.oat_display_min, F::oat_display_min, from, unit, c);
    settings.oat_low_alarm = moved(settings.oat_low_alarm, F::oat_low_alarm, from, unit, c);
    settings.oat_high_alarm = moved(settings.oat_high_alarm, F::oat_high_alarm, from, unit, c);
}

void map_unit_switch(uint8_t unit)
{
    const uint8_t from = settings.map_unit;
    settings.map_unit = unit;
    if (from == unit || from > 1 || unit > 1) return;
    const auto c = map_convert;
    using F = unit_fields;
    settings.map_display_max = moved(settings.map_display_max, F::map_display_max, from, unit, c);
    settings.map_display_min = moved(settings.map_display_min, F::map_display_min, from, unit, c);
    settings.map_low_alarm = moved(settings.map_low_alarm, F::map_low_alarm, from, unit, c);
    settings.map_high_alarm = moved(settings.map_high_alarm, F::map_high_alarm, from, unit, c);
    settings.map_low_caution = moved(settings.map_low_caution, F::map_low_caution, from, unit, c);
    settings.map_high_caution = moved(settings.map_high_caution, F::map_high_caution, from, unit, c);
}

void pressure_unit_switch(PressureSenderConfig& p, uint8_t unit)
{
    const uint8_t from = p.unit;
    p.unit = unit;
    if (from == unit) return;
    // A unit from a damaged file has no conversion: the values are only clamped.
    const auto c = pressure_convert;
    using P = pressure_fields;
    p.p_low_point = moved(p.p_low_point, P::p_low_point, from, unit, c);
    p.p_high_point = moved(p.p_high_point, P::p_high_point, from, unit, c);
    p.display_max = moved(p.display_max, P::display_max, from, unit, c);
    p.display_min = moved(p.display_min, P::display_min, from, unit, c);
    p.low_alarm = moved(p.low_alarm, P::low_alarm, from, unit, c);
    p.high_alarm = moved(p.high_alarm, P::high_alarm, from, unit, c);
    p.low_caution = moved(p.low_caution, P::low_caution, from, unit, c);
    p.high_caution = moved(p.high_caution, P::high_caution, from, unit, c);
}

} // namespace ems
