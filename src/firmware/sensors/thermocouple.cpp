#include "sensors/thermocouple.h"

#include <algorithm>
#include <cstring>

#include "alarms/alarm_words.h"
#include "sensors/channels.h"
#include "sensors/convert.h"
#include "sensors/ecu_data.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace ems {

ThermocoupleState thermo;

namespace {

const TcTable& table_of(uint8_t type) { return TC_TABLES[type <= TC_TYPE_E ? type : TC_TYPE_K]; }

// Channel roles by the EGT and CHT counts (their sum is at most 12; larger
// counts are cut at the twelfth channel).
uint8_t egt_count() { return settings.egt_channels < TC_CHANNELS ? settings.egt_channels : TC_CHANNELS; }
uint8_t cht_end()
{
    const unsigned end = unsigned(egt_count()) + settings.cht_channels;
    return uint8_t(end < TC_CHANNELS ? end : TC_CHANNELS);
}
bool is_egt(uint8_t ch) { return ch < egt_count(); }
bool is_cht(uint8_t ch) { return ch >= egt_count() && ch < cht_end(); }

// EGT/CHT condition over all channels, with the values they hold now.
bool egt_cht_condition()
{
    if (settings.egt_high_alarm_on) {
        for (uint8_t ch = 0; ch < egt_count(); ++ch) {
            const int16_t v = thermo.tc_value[ch];
            if (v < TC_OPEN_BELOW || v >= settings.egt_high_alarm) return true;
        }
    }
    if (settings.cht_high_alarm_on) {
        for (uint8_t ch = egt_count(); ch < cht_end(); ++ch) {
            const int16_t v = thermo.tc_value[ch];
            if (v < TC_OPEN_BELOW || v >= settings.cht_high_alarm) return true;
        }
    }
    return false;
}

int16_t channel_temperature_c(uint8_t ch)
{
    if (ecu_substitution_active()) return ecu_selected_lane().egt_cht[ch];
    if (settings.cht_probe == CHT_PROBE_NTC && is_cht(ch))
        return ntc_cht_lookup(raw.raw_aux[ch == egt_count() ? 2 : 3]);
    return tc_reading_c(raw.tc_input[ch], tc_channel_type(ch));
}

void append_history(uint8_t ch)
{
    if (thermo.tc_history_phase[ch]) {
        thermo.tc_history_phase[ch] = 0;
        return;
    }
    int16_t* h = thermo.tc_history[ch];
    std::memmove(h, h + 1, (TC_HISTORY - 1) * sizeof h[0]);
    h[TC_HISTORY - 1] = thermo.tc_value[ch];
    thermo.tc_history_phase[ch] = 1;
}

void lean_find(uint8_t ch, int16_t drop)
{
    const int16_t v = thermo.tc_value[ch];
    const int16_t p = thermo.tc_peak[ch];
    if (v < p) {
        thermo.tc_delta[ch] = int16_t(v - p);
        if (p - drop >= v && thermo.tc_peak_order[ch] == 0) {
            thermo.tc_peak_order[ch] = thermo.lean_order_next;
            ++thermo.lean_order_next;
        }
    } else if (thermo.tc_peak_order[ch] <= 0) {
        thermo.tc_peak[ch] = v; // the peak follows the rising temperature
        thermo.tc_delta[ch] = 0;
    } else {
        thermo.tc_delta[ch] = int16_t(v - p);
    }
}

} // namespace

int32_t tc_emf(int32_t temp_c, uint8_t type)
{
    const TcTable& t = table_of(type);
    const int32_t b = t.first_x10 / 10;
    const int32_t s = t.step;
    // First segment that holds temp_c (the one it ends, on a table point);
    // below the table the first, above it the last. Points are s apart.
    const int64_t above = int64_t(temp_c) - b;
    const int64_t ends = above <= 0 ? 0 : (above + s - 1) / s - 1;
    const int32_t c = int32_t(std::min<int64_t>(ends, t.count - 2));
    const int32_t t0 = b + c * s;
    // Rise over the offset first, then one division: exact at the table points.
    const float rise = float(t.emf[c + 1] - t.emf[c]) * float(int64_t(temp_c) - t0);
    const float part = rise / float(s);
    const float v = float(t.emf[c]) + part;
    return float_to_i32(v);
}

int32_t tc_temp_x10(int32_t emf_uv, uint8_t type)
{
    const TcTable& t = table_of(type);
    const int64_t e = int64_t(emf_uv) + tc_emf(thermo.cjc_c, type);
    // The first segment that holds e (the one it ends, on a table point): the
    // tables rise with temperature, so a search by halves finds it.
    int32_t i;
    if (e < t.emf[0] || e > t.emf[t.count - 1])
        i = e < 0 ? 0 : t.count - 3;
    else
        i = std::max<int32_t>(int32_t(std::lower_bound(t.emf, t.emf + t.count, e) - t.emf) - 1, 0);
    // The line through the two points one segment above the one found; in the
    // last segment there is none above, so the last segment's own line.
    if (i > t.count - 3) i = t.count - 3;
    const int32_t b = t.first_x10 / 10;
    const float t1 = float(b + (i + 1) * t.step);
    const float t2 = float(b + (i + 2) * t.step);
    const float r = float(t.emf[i + 2] - t.emf[i + 1]) / (t2 - t1);
    const float intercept = float(t.emf[i + 2]) - t2 * r;
    const float temp = (float(e) - intercept) / r;
    return float_to_i32(temp * 10.0f);
}

int16_t tc_reading_c(int16_t input_c, uint8_t type)
{
    const int32_t emf = tc_emf(input_c, TC_TYPE_K) - tc_emf(thermo.cjc_c, TC_TYPE_K);
    return int16_t(round_tenths(tc_temp_x10(emf, type)));
}

uint8_t tc_channel_type(uint8_t ch) { return is_egt(ch) ? settings.egt_probe : settings.cht_probe; }

void process_cjc()
{
    thermo.cjc_c = int16_t(int32_t(raw.raw_cjc) * 1220 / 10000 - 273);
}

void process_thermocouple(uint8_t ch)
{
    if (ch >= TC_CHANNELS) return;
    const int16_t c = channel_temperature_c(ch);
    const bool fahrenheit = settings.temp_unit == 1;
    thermo.tc_value_c[ch] = c;
    thermo.tc_value[ch] = fahrenheit ? c_to_f(c) : c;
    const int16_t v = thermo.tc_value[ch];
    const int16_t drop = fahrenheit ? 15 : 10;

    // The maxima are kept from the first pass, hold-off or not.
    if (v > minmax.tc_max[ch]) {
        minmax.tc_max[ch] = v;
        minmax_changed();
    }

    if (tick.alarm_holdoff == 0) channel_alarm(ALARM_EGT_CHT, egt_cht_condition());

    append_history(ch);

    if (thermo.lean_mode == 1 && is_egt(ch)) lean_find(ch, drop);
    if (thermo.cruise_mode == 1) thermo.tc_delta[ch] = int16_t(v - thermo.tc_peak[ch]);
}

} // namespace ems
