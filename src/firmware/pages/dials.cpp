// The circular dials (RPM 1 and MAP), the compact MAP readout and the scale
// geometry they share with the ARCS twin gauge.
#include <cstdio>

#include "config/settings.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"

namespace ems {

namespace gauge_detail {

namespace {

// Offset in degrees of limit L, held within 0 .. sweep. scale > 0.
int32_t scale_offset(int64_t limit, int64_t min, float scale, int16_t sweep)
{
    return trunc_held(float(limit - min) / scale, 0, sweep);
}

float degrees_scale(const ScaleLimits& l, int16_t sweep)
{
    float span = float(l.max - l.min);
    // The dial's own constant: 160 degrees as 0.00625 units per degree.
    return sweep == 160 ? span * 0.00625f : span / float(sweep);
}

void band(int16_t cx, int16_t cy, int16_t r, int16_t width, int32_t from, int32_t to, uint8_t colour,
          bool mirrored)
{
    if (to <= from) return;
    if (mirrored) draw_radial_band_mirrored(cx, cy, width, r, int16_t(from), int16_t(to), colour);
    else draw_radial_band(cx, cy, width, r, int16_t(from), int16_t(to), colour);
}

} // namespace

void scale_bands(int16_t cx, int16_t cy, int16_t r, int16_t width, int16_t start, int16_t sweep,
                 const ScaleLimits& l, bool mirrored)
{
    if (l.max <= l.min) return; // no span: no scale to colour
    float s = degrees_scale(l, sweep);
    int32_t o_la = scale_offset(l.low_alarm, l.min, s, sweep);
    int32_t o_lc = scale_offset(l.low_caution, l.min, s, sweep);
    int32_t o_hc = scale_offset(l.high_caution, l.min, s, sweep);
    int32_t o_ha = scale_offset(l.high_alarm, l.min, s, sweep);
    if (o_la > 0) band(cx, cy, r, width, start, start + o_la, RED, mirrored);
    band(cx, cy, r, width, start + o_la, start + o_lc, YELLOW, mirrored);
    band(cx, cy, r, width, start + o_lc, start + o_hc, GREEN, mirrored);
    band(cx, cy, r, width, start + o_hc, start + o_ha, YELLOW, mirrored);
    if (o_ha < sweep) band(cx, cy, r, width, start + o_ha, start + sweep, RED, mirrored);
    if (l.avoid_on) {
        int32_t from = start + trunc_held(float(l.avoid_low - l.min) / s, 0, sweep);
        int32_t to = start + trunc_held(float(l.avoid_high - l.min) / s, 0, sweep);
        band(cx, cy, r, width, from, to, ORANGE, mirrored);
    }
}

int16_t scale_angle(int64_t v, const ScaleLimits& l, int16_t start, int16_t sweep)
{
    if (l.max <= l.min) return start;
    float a = float(sweep) * float(v - l.min) / float(l.max - l.min) + float(start);
    return int16_t(trunc_held(a, start, start + sweep));
}

int16_t polar_x(int16_t cx, int16_t r, int16_t a, bool mirrored)
{
    float d = float(r) * cos_deg(a);
    return int16_t(mirrored ? float(cx) - d : float(cx) + d);
}

int16_t polar_y(int16_t cy, int16_t r, int16_t a) { return int16_t(float(cy) + float(r) * sin_deg(a)); }

void radial_line(int16_t cx, int16_t cy, int16_t r1, int16_t r2, int16_t a, uint8_t colour,
                 bool mirrored)
{
    draw_line(polar_x(cx, r1, a, mirrored), polar_y(cy, r1, a), polar_x(cx, r2, a, mirrored),
              polar_y(cy, r2, a), colour);
}

ScaleLimits rpm_limits(uint8_t instrument)
{
    const UnitSettings& s = settings;
    if (instrument == 0)
        return {s.rpm1_display_max, s.rpm1_display_min, s.rpm1_low_alarm, s.rpm1_low_caution,
                s.rpm1_high_caution, s.rpm1_high_alarm, s.rpm1_avoid_zone == 1, s.rpm1_avoid_low,
                s.rpm1_avoid_high};
    return {s.rpm2_display_max, s.rpm2_display_min, s.rpm2_low_alarm, s.rpm2_low_caution,
            s.rpm2_high_caution, s.rpm2_high_alarm, s.rpm2_avoid_zone == 1, s.rpm2_avoid_low,
            s.rpm2_avoid_high};
}

Level rpm_level(int64_t rpm, const ScaleLimits& l)
{
    Level level = limit_level(rpm, l.low_alarm, l.low_caution, l.high_caution, l.high_alarm);
    if (level == Level::Normal && l.avoid_on && rpm > l.avoid_low && rpm < l.avoid_high)
        return Level::Avoid;
    return level;
}

} // namespace gauge_detail

using namespace gauge_detail;

namespace {

ScaleLimits map_limits()
{
    const UnitSettings& s = settings;
    return {s.map_display_max, s.map_display_min, s.map_low_alarm, s.map_low_caution,
            s.map_high_caution, s.map_high_alarm, false, 0, 0};
}

// Band, then the needle: white from `inner` to the band, black across it.
void dial(int16_t cx, int16_t cy, int16_t r, int16_t width, int16_t inner, const ScaleLimits& l,
          int64_t v)
{
    scale_bands(cx, cy, r, width, 150, 160, l, false);
    int16_t a = scale_angle(v, l, 150, 160);
    radial_line(cx, cy, inner, int16_t(r - width), a, WHITE, false);
    radial_line(cx, cy, int16_t(r - width), r, a, BLACK, false);
}

} // namespace

void map_dial(int16_t cx, int16_t cy, int16_t r, int16_t band_width, int16_t lx, int16_t ly,
              int16_t vx, int16_t vy, int16_t inner, int16_t ux, int16_t uy)
{
    ScaleLimits l = map_limits();
    dial(cx, cy, r, band_width, inner, l, sens.map_disp);
    draw_text(lx, ly, "MAP", 8, ALIGN_LEFT, SILVER);
    char text[16];
    map_value_text(text);
    text_with_level(vx, vy, text, 16, ALIGN_CENTRE, 0, int16_t(vy + 2), int16_t(vy + 29),
                    limit_level(sens.map_disp, l.low_alarm, l.low_caution, l.high_caution, l.high_alarm));
    draw_text(ux, uy, map_unit_text(), 8, ALIGN_LEFT, SILVER);
    if (ecu.vexa_data_valid == 0) cross_out(0, 35, 110, 140);
}

void map_compact(int16_t vx, int16_t vy, int16_t lx, int16_t ly, int16_t ux, int16_t uy)
{
    ScaleLimits l = map_limits();
    draw_text(lx, ly, "MAP", 8, ALIGN_LEFT, SILVER);
    char text[16];
    map_value_text(text);
    text_with_level(vx, vy, text, 12, ALIGN_RIGHT, 0, int16_t(vy + 2), int16_t(vy + 20),
                    limit_level(sens.map_disp, l.low_alarm, l.low_caution, l.high_caution, l.high_alarm));
    draw_text(ux, uy, map_unit_text(), 8, ALIGN_LEFT, SILVER);
    if (ecu.vexa_data_valid == 0) cross_out(185, 115, 245, 140);
}

void rpm_dial(int16_t cx, int16_t cy, int16_t r, int16_t band_width, int16_t inner)
{
    dial(cx, cy, r, band_width, inner, rpm_limits(0), sens.rpm);
    if (engine_link_invalid()) cross_out(int16_t(cx - 50), 35, int16_t(cx + 50), 140);
}

} // namespace ems
