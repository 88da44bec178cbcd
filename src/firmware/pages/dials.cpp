// The circular dials (RPM 1 and MAP), the compact MAP readout and the scale
// geometry they share with the ARCS twin gauge.
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "settings/settings.h"

namespace ems {

namespace gauge_detail {

namespace {

// Offset in degrees of limit L, held within 0 .. sweep. scale > 0.
int32_t scale_offset(int64_t limit, int64_t min, float scale, int16_t sweep)
{
    return trunc_held(float(limit - min) / scale, 0, sweep);
}

float degrees_scale(const Scale& l, int16_t sweep)
{
    float span = float(l.max - l.min);
    // The dial's own constant: 160 degrees as 0.00625 units per degree.
    return sweep == 160 ? span * 0.00625f : span / float(sweep);
}

void band(const Arc& arc, int32_t from, int32_t to, uint8_t colour)
{
    if (to <= from) return;
    const ScreenPoint c = arc.centre;
    if (arc.mirrored)
        draw_radial_band_mirrored(c.x, c.y, arc.band, arc.radius, int16_t(from), int16_t(to),
                                  colour);
    else draw_radial_band(c.x, c.y, arc.band, arc.radius, int16_t(from), int16_t(to), colour);
}

} // namespace

void scale_bands(const Arc& arc, const Scale& l)
{
    if (l.max <= l.min) return; // no span: no scale to colour
    const int16_t start = arc.start, sweep = arc.sweep;
    float s = degrees_scale(l, sweep);
    int32_t o_la = scale_offset(l.limits.low_alarm, l.min, s, sweep);
    int32_t o_lc = scale_offset(l.limits.low_caution, l.min, s, sweep);
    int32_t o_hc = scale_offset(l.limits.high_caution, l.min, s, sweep);
    int32_t o_ha = scale_offset(l.limits.high_alarm, l.min, s, sweep);
    if (o_la > 0) band(arc, start, start + o_la, COLOUR_RED);
    band(arc, start + o_la, start + o_lc, COLOUR_YELLOW);
    band(arc, start + o_lc, start + o_hc, COLOUR_GREEN);
    band(arc, start + o_hc, start + o_ha, COLOUR_YELLOW);
    if (o_ha < sweep) band(arc, start + o_ha, start + sweep, COLOUR_RED);
    if (l.avoid.on) {
        int32_t from = start + trunc_held(float(l.avoid.low - l.min) / s, 0, sweep);
        int32_t to = start + trunc_held(float(l.avoid.high - l.min) / s, 0, sweep);
        band(arc, from, to, COLOUR_ORANGE);
    }
}

int16_t scale_angle(int64_t v, const Scale& l, const Arc& arc)
{
    if (l.max <= l.min) return arc.start;
    float a = float(arc.sweep) * float(v - l.min) / float(l.max - l.min) + float(arc.start);
    return int16_t(trunc_held(a, arc.start, arc.start + arc.sweep));
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

Scale rpm_scale(uint8_t instrument)
{
    const UnitSettings& s = settings;
    if (instrument == 0)
        return {.min = s.rpm1_display_min,
                .max = s.rpm1_display_max,
                .limits = {.low_alarm = s.rpm1_low_alarm,
                           .low_caution = s.rpm1_low_caution,
                           .high_caution = s.rpm1_high_caution,
                           .high_alarm = s.rpm1_high_alarm,
                           .low_alarm_on = s.rpm1_low_alarm_on != 0,
                           .high_alarm_on = s.rpm1_high_alarm_on != 0},
                .avoid = {.on = s.rpm1_avoid_zone == 1,
                          .low = s.rpm1_avoid_low,
                          .high = s.rpm1_avoid_high}};
    return {.min = s.rpm2_display_min,
            .max = s.rpm2_display_max,
            .limits = {.low_alarm = s.rpm2_low_alarm,
                       .low_caution = s.rpm2_low_caution,
                       .high_caution = s.rpm2_high_caution,
                       .high_alarm = s.rpm2_high_alarm,
                       .low_alarm_on = s.rpm2_low_alarm_on != 0,
                       .high_alarm_on = s.rpm2_high_alarm_on != 0},
            .avoid = {.on = s.rpm2_avoid_zone == 1, .low = s.rpm2_avoid_low, .high = s.rpm2_avoid_high}};
}

Level rpm_level(int64_t rpm, const Scale& l)
{
    Level level = limit_level(rpm, l.limits);
    if (level == Level::Normal && l.avoid.on && rpm > l.avoid.low && rpm < l.avoid.high)
        return Level::Avoid;
    return level;
}

} // namespace gauge_detail

using namespace gauge_detail;

namespace {

Scale map_scale()
{
    const UnitSettings& s = settings;
    return {.min = s.map_display_min,
            .max = s.map_display_max,
            .limits = {.low_alarm = s.map_low_alarm,
                       .low_caution = s.map_low_caution,
                       .high_caution = s.map_high_caution,
                       .high_alarm = s.map_high_alarm,
                       .low_alarm_on = s.map_low_alarm_on != 0,
                       .high_alarm_on = s.map_high_alarm_on != 0}};
}

// Band, then the needle: white from needle_from to the band, black across it.
void dial(const Dial& d, const Scale& l, int64_t v)
{
    const Arc arc{
        .centre = d.centre, .radius = d.radius, .band = d.band, .start = 150, .sweep = 160};
    scale_bands(arc, l);
    int16_t a = scale_angle(v, l, arc);
    const int16_t cx = d.centre.x, cy = d.centre.y, band_inner = int16_t(d.radius - d.band);
    radial_line(cx, cy, d.needle_from, band_inner, a, COLOUR_WHITE, false);
    radial_line(cx, cy, band_inner, d.radius, a, COLOUR_BLACK, false);
}

} // namespace

void map_dial(const MapDial& d)
{
    Scale l = map_scale();
    dial(d.dial, l, sens.map_disp);
    draw_text(d.label.x, d.label.y, "MAP", 8, ALIGN_LEFT, COLOUR_SILVER);
    char text[16];
    map_value_text(text);
    const ScreenPoint v = d.value;
    text_with_level(v.x, v.y, text, 16, ALIGN_CENTRE, 0, int16_t(v.y + 2), int16_t(v.y + 29),
                    limit_level(sens.map_disp, l.limits));
    draw_text(d.unit.x, d.unit.y, map_unit_text(), 8, ALIGN_LEFT, COLOUR_SILVER);
    if (ecu.vexa_data_valid == 0) cross_out(0, 35, 110, 140);
}

void map_compact(const MapCompact& m)
{
    Scale l = map_scale();
    draw_text(m.label.x, m.label.y, "MAP", 8, ALIGN_LEFT, COLOUR_SILVER);
    char text[16];
    map_value_text(text);
    const ScreenPoint v = m.value;
    text_with_level(v.x, v.y, text, 12, ALIGN_RIGHT, 0, int16_t(v.y + 2), int16_t(v.y + 20),
                    limit_level(sens.map_disp, l.limits));
    draw_text(m.unit.x, m.unit.y, map_unit_text(), 8, ALIGN_LEFT, COLOUR_SILVER);
    if (ecu.vexa_data_valid == 0) cross_out(185, 115, 245, 140);
}

void rpm_dial(const Dial& d)
{
    dial(d, rpm_scale(0), sens.rpm);
    const int16_t cx = d.centre.x;
    if (engine_link_invalid()) cross_out(int16_t(cx - 50), 35, int16_t(cx + 50), 140);
}

} // namespace ems
