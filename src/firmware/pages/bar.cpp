// The horizontal bar, the bar readouts (volts, OAT, current, analog channels)
// and the helpers the other widgets share.
#include <cmath>
#include <cstdio>

#include "config/options.h"
#include "config/settings.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/senders.h"
#include "system/tick.h"

namespace ems {

BarParams bar_params;
GaugeState gauges;

namespace gauge_detail {

int32_t trunc_held(float f, int32_t lo, int32_t hi)
{
    if (std::isnan(f)) return lo;
    if (f <= float(lo)) return lo;
    if (f >= float(hi)) return hi;
    return int32_t(f);
}

Level limit_level(int64_t v, int64_t low_alarm, int64_t low_caution, int64_t high_caution,
                  int64_t high_alarm)
{
    if (v < low_alarm || v > high_alarm) return Level::Alarm;
    if (v < low_caution || v > high_caution) return Level::Caution;
    return Level::Normal;
}

void text_with_level(int16_t x, int16_t y, const char* text, uint8_t font, uint8_t align,
                     int16_t pad, int16_t y1, int16_t y2, Level level)
{
    draw_text(x, y, text, font, align, WHITE);
    switch (level) {
    case Level::Alarm:
        if (tick.blink_flag == 1) highlight_text(x, y, text, font, align, pad, y1, y2, RED, WHITE);
        break;
    case Level::Caution: highlight_text(x, y, text, font, align, pad, y1, y2, YELLOW, BLACK); break;
    case Level::Avoid: highlight_text(x, y, text, font, align, pad, y1, y2, ORANGE, WHITE); break;
    case Level::Normal: break;
    }
}

void dashed_5_5(int16_t x1, int16_t x2, int16_t y, uint8_t colour)
{
    for (int32_t x = x1; x <= x2; x += 10) {
        int32_t end = x + 4 < x2 ? x + 4 : x2;
        draw_hline(int16_t(x), int16_t(end), y, colour);
    }
}

const char* pressure_unit_text(uint8_t unit) { return option_gauge_text(options::PRESSURE_UNIT, unit); }

const char* degree_unit_text(uint8_t unit) { return option_gauge_text(options::DEGREE_UNIT, unit); }

void map_value_text(char* buf)
{
    if (settings.map_unit == 1) std::snprintf(buf, 16, "%.1f", sens.map_disp * 0.1);
    else std::snprintf(buf, 16, "%d", sens.map_disp);
}

const char* map_unit_text() { return option_gauge_text(options::MAP_UNIT, settings.map_unit); }

} // namespace gauge_detail

using namespace gauge_detail;

bool engine_link_invalid()
{
    if (settings.ecu_type == 2) return ecu.ul_data_valid == 0;
    return ecu.vexa_data_valid == 0;
}

void cross_out(int16_t x1, int16_t y1, int16_t x2, int16_t y2)
{
    draw_line(x1, y1, x2, y2, RED);
    draw_line(x1, y2, x2, y1, RED);
}

void highlight_text(int16_t x, int16_t y, const char* text, uint8_t font, uint8_t align,
                    int16_t left_pad, int16_t y1, int16_t y2, uint8_t box, uint8_t text_colour)
{
    fill_rect(int16_t(text_start_x - left_pad), y1, text_end_x, y2, box);
    draw_text(x, y, text, font, align, text_colour);
}

namespace {

// Pixel offset of limit L from the bar's left end, held just outside the bar
// (segments are clipped to it anyway).
int32_t bar_offset(int64_t limit, int64_t min, float scale, int16_t w)
{
    return trunc_held(float(limit - min) / scale, -1, int32_t(w) + 1);
}

// Fills columns a..b of the bar, clipped to x..x + w; nothing when b < a.
void bar_segment(const BarParams& b, int32_t from, int32_t to, uint8_t colour)
{
    if (from < b.x) from = b.x;
    if (to > b.x + b.width) to = b.x + b.width;
    if (to < from) return;
    fill_rect(int16_t(from), b.y, int16_t(to), int16_t(b.y + b.thickness), colour);
}

void bar_pointer(const BarParams& b, float scale)
{
    int32_t p;
    if (scale > 0) p = trunc_held(float(b.x) + float(int64_t(b.value) - b.display_min) / scale,
                                  b.x + 2, b.x + b.width + 2);
    else p = b.x + 2; // no usable scale: the pointer rests at the low end
    if (p < b.x + 2) p = b.x + 2;
    fill_rect(int16_t(p - 2), int16_t(b.y - 3), int16_t(p + 2), int16_t(b.y + b.thickness + 3), WHITE);
}

// Units per pixel, or 0 when the bar has no usable scale (zero or negative
// width or span).
float bar_scale(const BarParams& b)
{
    if (b.width <= 0 || b.display_max <= b.display_min) return 0;
    return float(int64_t(b.display_max) - b.display_min) / float(b.width);
}

} // namespace

void bar_gauge()
{
    const BarParams& b = bar_params;
    int64_t min = b.display_min;
    int64_t la = b.low_alarm < min ? min : b.low_alarm;
    int64_t lc = b.low_caution < min ? min : b.low_caution;
    float scale = bar_scale(b);
    if (scale > 0) {
        int32_t o_la = b.x + bar_offset(la, min, scale, b.width);
        int32_t o_lc = b.x + bar_offset(lc, min, scale, b.width);
        int32_t o_hc = b.x + bar_offset(b.high_caution, min, scale, b.width);
        int32_t o_ha = b.x + bar_offset(b.high_alarm, min, scale, b.width);
        bar_segment(b, b.x, o_la, RED);
        bar_segment(b, o_la, o_lc, YELLOW);
        bar_segment(b, o_lc, o_hc, GREEN);
        bar_segment(b, o_hc, o_ha, YELLOW);
        bar_segment(b, o_ha, b.x + b.width, RED);
    }
    bar_pointer(b, scale);
}

void bar_gauge_low()
{
    const BarParams& b = bar_params;
    float scale = bar_scale(b);
    if (scale > 0) {
        int32_t o_la = b.x + bar_offset(b.low_alarm, b.display_min, scale, b.width);
        int32_t o_lc = b.x + bar_offset(b.low_caution, b.display_min, scale, b.width);
        bar_segment(b, b.x, o_la, RED);
        bar_segment(b, o_la, o_lc, YELLOW);
        bar_segment(b, o_lc, b.x + b.width, GREEN);
    }
    bar_pointer(b, scale);
}

namespace {

struct Limits {
    int32_t max, min, la, lc, hc, ha;
};

// Bar, label, value with its highlight and unit of one bar readout; d is the
// value's distance from the bar's right end, unit_dx the unit's.
void bar_readout(int16_t x, int16_t y, int16_t w, int16_t t, const Limits& l, int32_t value,
                 const char* label, const char* text, int16_t d, const char* unit, int16_t unit_dx,
                 bool crossed)
{
    bar_params = {x, y, w, t, l.max, l.min, l.la, l.lc, l.hc, l.ha, value};
    bar_gauge();
    draw_text(x, int16_t(y - t - 12), label, 8, ALIGN_LEFT, SILVER);
    text_with_level(int16_t(x + w - d), int16_t(y - t - 14), text, 9, ALIGN_RIGHT, 2,
                    int16_t(y - t - 13), int16_t(y - t + 2), limit_level(value, l.la, l.lc, l.hc, l.ha));
    draw_text(int16_t(x + w + unit_dx), int16_t(y - t - 12), unit, 8, ALIGN_RIGHT, SILVER);
    if (crossed) cross_out(x, int16_t(y - t - 12), int16_t(x + w), int16_t(y + t));
}

void current_text(char* buf, int16_t x10, int16_t a)
{
    if (x10 >= -99 && x10 <= 99) std::snprintf(buf, 16, "%.1f", x10 * 0.1);
    else std::snprintf(buf, 16, "%d", a);
}

Limits current_limits(const CurrentSensorConfig& c)
{
    return {c.display_max, c.display_min, c.low_alarm, c.low_caution, c.high_caution, c.high_alarm};
}

} // namespace

void volts_readout(int16_t x, int16_t y, int16_t w, int16_t t)
{
    const UnitSettings& s = settings;
    Limits l{s.volts_display_max, s.volts_display_min, s.volts_low_alarm,
             s.volts_low_caution, s.volts_high_caution, s.volts_high_alarm};
    char label[8];
    std::snprintf(label, sizeof label, "%.7s", s.volts_label);
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", sens.volts_x10 * 0.1);
    bar_readout(x, y, w, t, l, sens.volts_x10, label, text, 15, "V", 0, false);
}

void oat_readout(int16_t x, int16_t y, int16_t w, int16_t t)
{
    const UnitSettings& s = settings;
    Limits l{s.oat_display_max, s.oat_display_min, s.oat_low_alarm,
             s.oat_low_alarm, s.oat_high_alarm, s.oat_high_alarm};
    char text[16];
    int16_t v = sens.oat_disp;
    if (v > (s.oat_unit == 1 ? 300 : 150)) std::snprintf(text, sizeof text, "---");
    else std::snprintf(text, sizeof text, "%d", v);
    bar_readout(x, y, w, t, l, v, "OAT", text, 17, degree_unit_text(s.oat_unit), 0, false);
}

void current_readout(int16_t x, int16_t y, int16_t w, int16_t t)
{
    char text[16];
    current_text(text, sens.current_x10, sens.current_a);
    bar_readout(x, y, w, t, current_limits(settings.main_current_cfg), sens.current_a, "AMPS",
                text, 17, "A", 0, ecu.vexa_data_valid == 0);
}

void aux_readout(uint8_t i, uint8_t mode, int16_t x, int16_t y, int16_t w, int16_t t)
{
    if (i > 3) return;
    const UnitSettings& s = settings;
    char text[16];
    char label[8];
    bool vexa_lost = ecu.vexa_data_valid == 0;
    switch (mode) {
    case CHANNEL_PRESSURE: {
        const PressureSenderConfig& c = s.pressure_cfg[i];
        int16_t v = senders.aux_pressure[i];
        if (c.unit == 1) std::snprintf(text, sizeof text, "%d", v);
        else std::snprintf(text, sizeof text, "%.1f", v * 0.1);
        std::snprintf(label, sizeof label, "%.6s", c.label);
        bool crossed = (i == 1 && s.ecu_type == 2) ? ecu.ul_data_valid == 0 : vexa_lost;
        Limits l{c.display_max, c.display_min, c.low_alarm, c.low_caution, c.high_caution, c.high_alarm};
        bar_readout(x, y, w, t, l, v, label, text, 25, pressure_unit_text(c.unit), 2, crossed);
        break;
    }
    case CHANNEL_TEMPERATURE: {
        const TemperatureSenderConfig& c = s.temperature_cfg[i];
        int16_t v = senders.aux_temp[i];
        std::snprintf(text, sizeof text, "%d", v);
        std::snprintf(label, sizeof label, "%.6s", c.label);
        bool crossed = (i == 0 && s.ecu_type == 2) ? ecu.ul_data_valid == 0 : vexa_lost;
        Limits l{c.display_max, c.display_min, c.low_alarm, c.low_caution, c.high_caution, c.high_alarm};
        bar_readout(x, y, w, t, l, v, label, text, 17, degree_unit_text(s.temp_unit), 0, crossed);
        break;
    }
    case CHANNEL_CURRENT:
        current_text(text, senders.aux_current_x10[i], senders.aux_current[i]);
        bar_readout(x, y, w, t, current_limits(s.current_cfg[i]), senders.aux_current[i], "AMPS",
                    text, 17, "A", 0, vexa_lost);
        break;
    case CHANNEL_GENERIC: {
        const GenericSensorConfig& c = s.generic_cfg[i];
        int16_t v = senders.aux_generic[i];
        if (c.decimals == 0) std::snprintf(text, sizeof text, "%d", v);
        else if (c.decimals == 1) std::snprintf(text, sizeof text, "%.1f", v * 0.1);
        else std::snprintf(text, sizeof text, "%.2f", v * 0.01);
        char unit[8];
        std::snprintf(label, sizeof label, "%.4s", c.label);
        std::snprintf(unit, sizeof unit, "%.3s", c.unit_label);
        Limits l{c.display_max, c.display_min, c.low_alarm, c.low_caution, c.high_caution, c.high_alarm};
        bar_readout(x, y, w, t, l, v, label, text, 25, unit, 2, vexa_lost);
        break;
    }
    default: break;
    }
}

} // namespace ems
