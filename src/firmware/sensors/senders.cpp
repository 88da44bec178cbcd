// Sender lookup and the analog-input handlers. Section index: lookup and
// curve selection; shared channel steps; pressure; temperature; current;
// generic.
#include "sensors/senders.h"

#include "alarms/alarm_words.h"
#include "sensors/minmax.h"
#include "sensors/convert.h"
#include "sensors/ecu_data.h"
#include "sensors/thermocouple.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace ems {

SenderOutputs senders;

// ---- Lookup and curve selection ----------------------------------------------

bool sender_lookup(const SenderCalibrationTable& table, int32_t raw, int32_t& value)
{
    const size_t count = table.count < CAL_POINT_SLOTS ? table.count : CAL_POINT_SLOTS;
    if (count < 2) return false;
    const CalPoint* p = table.point;
    const size_t last = count - 1;

    size_t seg = count; // no segment yet
    if (p[0].adc < p[1].adc) {
        if (raw < p[0].adc)
            seg = 0;
        else if (raw > p[last].adc)
            seg = last - 1;
        else
            for (size_t i = 0; i < last; ++i)
                if (p[i].adc <= raw && raw <= p[i + 1].adc) { seg = i; break; }
    } else {
        if (raw >= p[0].adc)
            seg = 0;
        else if (raw <= p[last].adc)
            seg = last - 1;
        else
            for (size_t i = 0; i < last; ++i)
                if (p[i].adc >= raw && raw >= p[i + 1].adc) { seg = i; break; }
    }
    if (seg >= last) return false;
    // A segment with equal ADC ends has no slope: treated like a broken table.
    if (p[seg].adc == p[seg + 1].adc) return false;
    value = interpolate(p[seg].adc, p[seg + 1].adc, p[seg].display, p[seg + 1].display, raw);
    return true;
}

const SenderCalibrationTable& temperature_curve(uint8_t sender)
{
    return sender < 4 ? TEMPERATURE_CURVES[sender] : TEMPERATURE_CURVES[1];
}

const SenderCalibrationTable& vdo_curve(uint8_t vdo_model, bool input2)
{
    const uint8_t m = vdo_model < 3 ? vdo_model : 2;
    return input2 ? VDO_INPUT2_CURVES[m] : VDO_CURVES[m];
}

uint8_t uma_curve_index(uint8_t uma_model)
{
    return UMA_MODEL_CURVE[uma_model < 12 ? uma_model : 0];
}

int16_t ntc_cht_lookup(uint16_t raw)
{
    int32_t v = 0;
    sender_lookup(TEMPERATURE_CURVES[1], raw, v); // a fixed falling curve: always a segment
    return int16_t(v);
}

namespace {

// ---- Shared channel steps -----------------------------------------------------

constexpr uint8_t SENDER_TEMP_LM335 = 4;
constexpr uint8_t SENDER_TEMP_USER = 5;

int16_t clamp_0_999(int32_t v) { return v < 0 ? 0 : v > 999 ? 999 : int16_t(v); }

bool holdoff() { return tick.alarm_holdoff != 0; }

// ---- Pressure ---------------------------------------------------------------------

// Converts a "VDO" value in 0.1 bar to the record's unit.
int32_t from_tenth_bar(int64_t v, uint8_t unit)
{
    switch (unit) {
    case 1: return round_tenths(saturate32(v * 145 / 10));
    case 2: return round_tenths(saturate32(v * 145));
    default: return saturate32(v);
    }
}

// Converts a "UMA" value in its curve's native unit to the record's unit.
int32_t from_uma(int64_t v, UmaUnit native, uint8_t unit)
{
    switch (native) {
    case UmaUnit::PsiTenths:
        if (unit == 0) return round_tenths(saturate32(v * 100 / 145));
        if (unit == 1) return round_tenths(saturate32(v));
        return saturate32(v);
    case UmaUnit::InHg:
        if (unit == 0) return round_tenths(saturate32(v * 10000 / 2953));
        if (unit == 1) return round_tenths(saturate32(v * 10000 / 2036));
        return round_tenths(saturate32(v * 100000 / 2036));
    case UmaUnit::Psi:
        if (unit == 0) return round_tenths(saturate32(v * 1000 / 145));
        if (unit == 1) return saturate32(v);
        return saturate32(v * 10);
    }
    return saturate32(v);
}

} // namespace

bool pressure_value(const PressureSenderConfig& cfg, uint16_t raw, bool input2, int32_t& value)
{
    int32_t v = 0;
    switch (cfg.type) {
    case 0: // RESISTIVE: 1 VDO, otherwise USER
        if (cfg.sender != 1) return sender_lookup(cfg.cal, raw, value);
        if (!sender_lookup(vdo_curve(cfg.vdo_model, input2), raw, v)) return false;
        value = from_tenth_bar(v, cfg.unit);
        return true;
    case 1: // VOLTAGE: 1 UMA, 2 0.5-4.5V, otherwise USER
        if (cfg.sender == 1) {
            const uint8_t c = uma_curve_index(cfg.uma_model);
            if (!sender_lookup(UMA_CURVES[c], raw, v)) return false;
            value = from_uma(v, UMA_CURVE_UNIT[c], cfg.unit);
            return true;
        }
        if (cfg.sender == 2) {
            value = interpolate(408, 3705, cfg.p_low_point, cfg.p_high_point, raw);
            return true;
        }
        return sender_lookup(cfg.cal, raw, value);
    case 2: // CURRENT: 1 4-20mA, otherwise USER
        if (cfg.sender == 1) {
            value = interpolate(556, 1780, cfg.p_low_point, cfg.p_high_point, raw);
            return true;
        }
        return sender_lookup(cfg.cal, raw, value);
    default:
        return false;
    }
}

namespace {

// Clamp, then (outside the hold-off) maximum and alarm.
void finish_pressure(const PressureSenderConfig& cfg, int16_t& out, int16_t& kept_max, uint32_t bit)
{
    out = clamp_0_999(out);
    if (holdoff()) return;
    kept_max = minmax_higher(kept_max, out);
    alarm_on_limits(bit, out, record_limits(cfg));
}

} // namespace

void aux_pressure_input(uint8_t n)
{
    if (n >= 4) return;
    const PressureSenderConfig& cfg = settings.pressure_cfg[n];
    int16_t out = senders.aux_pressure[n];
    int32_t v = 0;
    if (ecu_substitution_active() && n <= 2) {
        // Only input 2 has a lane value; inputs 1 and 3 keep theirs.
        if (n == 1) out = clamp_0_999(int32_t(ecu_selected_lane().oil_pressure / 100));
    } else if (pressure_value(cfg, raw.raw_aux[n], n == 1, v)) {
        out = clamp_0_999(v);
    }
    int16_t kept = minmax.aux_pressure_max[n];
    finish_pressure(cfg, out, kept, ALARM_AUX1 << n);
    senders.aux_pressure[n] = out;
    minmax.aux_pressure_max[n] = kept;
}

void process_fuel_pressure()
{
    const PressureSenderConfig& cfg = settings.fuel_pressure_cfg;
    int16_t out = senders.fuel_pressure;
    int32_t v = 0;
    if (pressure_value(cfg, raw.raw_fuel_pressure, false, v)) out = clamp_0_999(v);
    int16_t kept = minmax.fuel_pressure_max;
    finish_pressure(cfg, out, kept, ALARM_FUEL_PRESSURE);
    senders.fuel_pressure = out;
    minmax.fuel_pressure_max = kept;
}

// ---- Temperature --------------------------------------------------------------------

bool temperature_value(const TemperatureSenderConfig& cfg, uint16_t raw_value, int32_t& value)
{
    if (cfg.sender == SENDER_TEMP_LM335) {
        // 10 mV per kelvin on the 5 V, 12-bit converter.
        value = int32_t(raw_value) * 1221 / 10000 - 273 + cfg.cal_offset;
        return true;
    }
    if (cfg.sender == SENDER_TEMP_USER) return sender_lookup(cfg.cal, raw_value, value);
    return sender_lookup(temperature_curve(cfg.sender), raw_value, value);
}

void aux_temperature_input(uint8_t n)
{
    if (n >= 4) return;
    const TemperatureSenderConfig& cfg = settings.temperature_cfg[n];
    // Input 3's separate converter input under a ROTAX 912iS is tied to the
    // same "Input 3:" reading here.
    const uint16_t raw_value = raw.raw_aux[n];
    int32_t value = 0;
    bool have = false;
    if (ecu_substitution_active() && n <= 2) {
        // Input 2 has no lane value and keeps its reading.
        if (n == 0) { value = ecu_selected_lane().oil_temperature; have = true; }
        if (n == 2) { value = ecu_selected_lane().coolant_temperature; have = true; }
    } else {
        have = temperature_value(cfg, raw_value, value);
    }
    if (have) {
        const int16_t c = saturate16(value);
        senders.aux_temp_c[n] = c;
        int32_t t = (cfg.sender != SENDER_TEMP_USER && settings.temp_unit == 1) ? c_to_f(c) : c;
        if (t < -100) t = -99;
        if (t > 999) t = 999;
        senders.aux_temp[n] = int16_t(t);
    }
    if (holdoff()) return;
    minmax.aux_temp_max[n] = minmax_higher(minmax.aux_temp_max[n], senders.aux_temp[n]);
    alarm_on_limits(ALARM_AUX1 << n, senders.aux_temp[n], record_limits(cfg));
}

// ---- Current ---------------------------------------------------------------------------

void aux_current_input(uint8_t n)
{
    if (n >= 4) return;
    const CurrentSensorConfig& cfg = settings.current_cfg[n];
    // The zero reading is kept in 1/16 converter counts, so the reading is
    // scaled alike: full scale (4096 counts) is 65536.
    const int32_t x10 = interpolate(calibration.current_zero[n], 65536, 0, int32_t(cfg.gain) * 10,
                                    int32_t(raw.raw_aux[n]) * 16);
    senders.aux_current_x10[n] = saturate16(x10);
    senders.aux_current[n] = int16_t(senders.aux_current_x10[n] / 10);
    if (holdoff()) return;
    const int16_t a = senders.aux_current[n];
    alarm_on_limits(ALARM_AUX1 << n, a, record_limits(cfg));
    minmax.aux_current_min[n] = minmax_lower(minmax.aux_current_min[n], a);
    minmax.aux_current_max[n] = minmax_higher(minmax.aux_current_max[n], a);
}

// ---- Generic ------------------------------------------------------------------------------

void aux_generic_input(uint8_t n)
{
    if (n >= 4) return;
    const GenericSensorConfig& cfg = settings.generic_cfg[n];
    int32_t v = 0;
    if (sender_lookup(cfg.cal, raw.raw_aux[n], v)) senders.aux_generic[n] = clamp_0_999(v);
    if (holdoff()) return;
    minmax.aux_generic_max[n] = minmax_higher(minmax.aux_generic_max[n], senders.aux_generic[n]);
    alarm_on_limits(ALARM_AUX1 << n, senders.aux_generic[n], record_limits(cfg));
}

} // namespace ems
