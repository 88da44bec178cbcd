// The horizontal bar, the bar readouts (volts, OAT, current, analog channels)
// and the helpers the other widgets share.
#include <cmath>
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/senders.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/tick.h"

namespace ems {

GaugeState gauges;

namespace gauge_detail {

int32_t trunc_held(float f, int32_t lo, int32_t hi)
{
    if (std::isnan(f)) return lo;
    if (f <= float(lo)) return lo;
    if (f >= float(hi)) return hi;
    return int32_t(f);
}

Level limit_level(int64_t v, const Limits& l)
{
    if (v < l.low_alarm || v > l.high_alarm) return Level::Alarm;
    if (v < l.low_caution || v > l.high_caution) return Level::Caution;
    return Level::Normal;
}

void text_with_level(int16_t x, int16_t y, const char* text, uint8_t font, uint8_t align,
                     int16_t pad, int16_t y1, int16_t y2, Level level)
{
    draw_text(x, y, text, font, align, COLOUR_WHITE);
    switch (level) {
    case Level::Alarm:
        if (tick.blink_flag == 1)
            highlight_text(x, y, text, font, align, pad, y1, y2, COLOUR_RED, COLOUR_WHITE);
        break;
    case Level::Caution:
        highlight_text(x, y, text, font, align, pad, y1, y2, COLOUR_YELLOW, COLOUR_BLACK);
        break;
    case Level::Avoid:
        highlight_text(x, y, text, font, align, pad, y1, y2, COLOUR_ORANGE, COLOUR_WHITE);
        break;
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
    draw_line(x1, y1, x2, y2, COLOUR_RED);
    draw_line(x1, y2, x2, y1, COLOUR_RED);
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
void bar_segment(const Bar& b, int32_t from, int32_t to, uint8_t colour)
{
    if (from < b.x) from = b.x;
    if (to > b.x + b.width) to = b.x + b.width;
    if (to < from) return;
    fill_rect(int16_t(from), b.y, int16_t(to), int16_t(b.y + b.thickness), colour);
}

void bar_pointer(const Bar& b, float scale)
{
    int32_t p;
    if (scale > 0) p = trunc_held(float(b.x) + float(b.value - b.scale.min) / scale,
                                  b.x + 2, b.x + b.width + 2);
    else p = b.x + 2; // no usable scale: the pointer rests at the low end
    if (p < b.x + 2) p = b.x + 2;
    fill_rect(int16_t(p - 2), int16_t(b.y - 3), int16_t(p + 2), int16_t(b.y + b.thickness + 3),
              COLOUR_WHITE);
}

// Units per pixel, or 0 when the bar has no usable scale (zero or negative
// width or span).
float bar_scale(const Bar& b)
{
    if (b.width <= 0 || b.scale.max <= b.scale.min) return 0;
    return float(b.scale.max - b.scale.min) / float(b.width);
}

} // namespace

void bar_gauge(const Bar& b)
{
    const Limits& l = b.scale.limits;
    int64_t min = b.scale.min;
    int64_t la = l.low_alarm < min ? min : l.low_alarm;
    int64_t lc = l.low_caution < min ? min : l.low_caution;
    float scale = bar_scale(b);
    if (scale > 0) {
        int32_t o_la = b.x + bar_offset(la, min, scale, b.width);
        int32_t o_lc = b.x + bar_offset(lc, min, scale, b.width);
        int32_t o_hc = b.x + bar_offset(l.high_caution, min, scale, b.width);
        int32_t o_ha = b.x + bar_offset(l.high_alarm, min, scale, b.width);
        bar_segment(b, b.x, o_la, COLOUR_RED);
        bar_segment(b, o_la, o_lc, COLOUR_YELLOW);
        bar_segment(b, o_lc, o_hc, COLOUR_GREEN);
        bar_segment(b, o_hc, o_ha, COLOUR_YELLOW);
        bar_segment(b, o_ha, b.x + b.width, COLOUR_RED);
    }
    bar_pointer(b, scale);
}

void bar_gauge_low(const Bar& b)
{
    float scale = bar_scale(b);
    if (scale > 0) {
        int32_t o_la = b.x + bar_offset(b.scale.limits.low_alarm, b.scale.min, scale, b.width);
        int32_t o_lc = b.x + bar_offset(b.scale.limits.low_caution, b.scale.min, scale, b.width);
        bar_segment(b, b.x, o_la, COLOUR_RED);
        bar_segment(b, o_la, o_lc, COLOUR_YELLOW);
        bar_segment(b, o_lc, b.x + b.width, COLOUR_GREEN);
    }
    bar_pointer(b, scale);
}

namespace {

// What one bar readout shows besides its bar. value_dx is the value's distance
// from the bar's right end, unit_dx the unit's.
struct ReadoutText {
    const char* label = "";
    const char* value = "";
    int16_t value_dx = 17;
    const char* unit = "";
    int16_t unit_dx = 0;
};

void bar_readout(const BarReadout& at, const Scale& scale, int64_t value, const ReadoutText& t,
                 bool crossed)
{
    const int16_t x = at.x, y = at.y, w = at.width, th = at.thickness;
    bar_gauge({.x = x, .y = y, .width = w, .thickness = th, .scale = scale, .value = value});
    draw_text(x, int16_t(y - th - 12), t.label, 8, ALIGN_LEFT, COLOUR_SILVER);
    text_with_level(int16_t(x + w - t.value_dx), int16_t(y - th - 14), t.value, 9, ALIGN_RIGHT, 2,
                    int16_t(y - th - 13), int16_t(y - th + 2), limit_level(value, scale.limits));
    draw_text(int16_t(x + w + t.unit_dx), int16_t(y - th - 12), t.unit, 8, ALIGN_RIGHT,
              COLOUR_SILVER);
    if (crossed) cross_out(x, int16_t(y - th - 12), int16_t(x + w), int16_t(y + th));
}

void current_text(char* buf, int16_t x10, int16_t a)
{
    if (x10 >= -99 && x10 <= 99) std::snprintf(buf, 16, "%.1f", x10 * 0.1);
    else std::snprintf(buf, 16, "%d", a);
}

// Scale of a sender, current or generic record.
template <class Record>
Scale record_scale(const Record& c)
{
    return {.min = c.display_min, .max = c.display_max, .limits = record_limits(c)};
}

} // namespace

void volts_readout(const BarReadout& at)
{
    const UnitSettings& s = settings;
    Scale scale{.min = s.volts_display_min,
                .max = s.volts_display_max,
                .limits = {.low_alarm = s.volts_low_alarm,
                           .low_caution = s.volts_low_caution,
                           .high_caution = s.volts_high_caution,
                           .high_alarm = s.volts_high_alarm,
                           .low_alarm_on = s.volts_low_alarm_on != 0,
                           .high_alarm_on = s.volts_high_alarm_on != 0}};
    char label[8];
    std::snprintf(label, sizeof label, "%.7s", s.volts_label);
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", sens.volts_x10 * 0.1);
    bar_readout(at, scale, sens.volts_x10,
                {.label = label, .value = text, .value_dx = 15, .unit = "V"}, false);
}

void oat_readout(const BarReadout& at)
{
    const UnitSettings& s = settings;
    // OAT has no caution band: its cautions are its alarms.
    Scale scale{.min = s.oat_display_min,
                .max = s.oat_display_max,
                .limits = {.low_alarm = s.oat_low_alarm,
                           .low_caution = s.oat_low_alarm,
                           .high_caution = s.oat_high_alarm,
                           .high_alarm = s.oat_high_alarm,
                           .low_alarm_on = s.oat_low_alarm_on != 0,
                           .high_alarm_on = s.oat_high_alarm_on != 0}};
    char text[16];
    int16_t v = sens.oat_disp;
    if (v > (s.oat_unit == 1 ? 300 : 150)) std::snprintf(text, sizeof text, "---");
    else std::snprintf(text, sizeof text, "%d", v);
    bar_readout(at, scale, v, {.label = "OAT", .value = text, .unit = degree_unit_text(s.oat_unit)},
                false);
}

void current_readout(const BarReadout& at)
{
    char text[16];
    current_text(text, sens.current_x10, sens.current_a);
    bar_readout(at, record_scale(settings.main_current_cfg), sens.current_a,
                {.label = "AMPS", .value = text, .unit = "A"}, ecu.vexa_data_valid == 0);
}

void aux_readout(uint8_t i, uint8_t mode, const BarReadout& at)
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
        bar_readout(at, record_scale(c), v,
                    {.label = label,
                     .value = text,
                     .value_dx = 25,
                     .unit = pressure_unit_text(c.unit),
                     .unit_dx = 2},
                    crossed);
        break;
    }
    case CHANNEL_TEMPERATURE: {
        const TemperatureSenderConfig& c = s.temperature_cfg[i];
        int16_t v = senders.aux_temp[i];
        std::snprintf(text, sizeof text, "%d", v);
        std::snprintf(label, sizeof label, "%.6s", c.label);
        bool crossed = (i == 0 && s.ecu_type == 2) ? ecu.ul_data_valid == 0 : vexa_lost;
        bar_readout(at, record_scale(c), v,
                    {.label = label, .value = text, .unit = degree_unit_text(s.temp_unit)}, crossed);
        break;
    }
    case CHANNEL_CURRENT:
        current_text(text, senders.aux_current_x10[i], senders.aux_current[i]);
        bar_readout(at, record_scale(s.current_cfg[i]), senders.aux_current[i],
                    {.label = "AMPS", .value = text, .unit = "A"}, vexa_lost);
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
        bar_readout(at, record_scale(c), v,
                    {.label = label, .value = text, .value_dx = 25, .unit = unit, .unit_dx = 2},
                    vexa_lost);
        break;
    }
    default: break;
    }
}

} // namespace ems
