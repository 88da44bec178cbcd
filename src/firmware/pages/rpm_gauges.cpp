// RPM readouts, the twin RPM gauge (ARCS and CLASSIC styles) and the
// magneto-check panels.
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "settings/settings.h"
#include "system/raw_inputs.h"

namespace ems {

using namespace gauge_detail;

namespace {

// Where a readout stands: alone, or on the left or right side of the twin gauge.
enum class Side : uint8_t { Alone, Left, Right };

int32_t rpm_of(uint8_t instrument) { return instrument == 0 ? sens.rpm : raw.rpm2; }
int32_t percent_of(uint8_t instrument) { return instrument == 0 ? sens.rpm_percent : raw.rpm2_percent; }

// Label text (at most 6 characters) of RPM 1 or RPM 2.
void rpm_label(uint8_t instrument, char* buf)
{
    std::snprintf(buf, 8, "%.6s", instrument == 0 ? settings.rpm1_label : settings.rpm2_label);
}

void rpm_readout(uint8_t instrument, const RpmReadout& r, Side side)
{
    const int16_t vx = r.value.x, vy = r.value.y, lx = r.label.x, ly = r.label.y;
    uint8_t display = instrument == 0 ? settings.rpm1_display : settings.rpm2_display;
    char label[8];
    rpm_label(instrument, label);
    draw_text(lx, int16_t(ly - 13), label, 8, ALIGN_CENTRE, COLOUR_SILVER);
    draw_text(lx, ly, display == 0 ? "RPM" : "RPM %", 8, ALIGN_CENTRE, COLOUR_SILVER);
    char text[16];
    std::snprintf(text, sizeof text, "%ld", long(display == 1 ? percent_of(instrument) : rpm_of(instrument)));
    text_with_level(vx, vy, text, 16, r.align, 1, int16_t(vy + 2), int16_t(vy + 29),
                    rpm_level(rpm_of(instrument), rpm_scale(instrument)));
    if (side == Side::Alone) return;
    bool crossed = instrument == 0 ? engine_link_invalid() : ecu.vexa_data_valid == 0;
    if (!crossed) return;
    if (side == Side::Left) {
        cross_out(int16_t(vx - 40), 40, int16_t(vx + 57), 140);
    } else {
        // The compact MAP readout sits below the right readout: the first line stops short.
        if (settings.map_display == 1) draw_line(int16_t(vx - 60), 40, int16_t(vx + 5), 105, COLOUR_RED);
        else draw_line(int16_t(vx - 60), 40, int16_t(vx + 38), 140, COLOUR_RED);
        draw_line(int16_t(vx - 60), 140, int16_t(vx + 38), 40, COLOUR_RED);
    }
}

// ---- ARCS style -----------------------------------------------------------------

void arc_instrument(uint8_t instrument, int16_t cx, int16_t cy, bool mirrored)
{
    Scale l = rpm_scale(instrument);
    const Arc arc{
        .centre = {cx, cy}, .radius = 60, .band = 7, .start = 120, .sweep = 120, .mirrored = mirrored};
    scale_bands(arc, l);
    int16_t a = scale_angle(rpm_of(instrument), l, arc);
    for (int16_t dy = 0; dy < 2; ++dy) {
        radial_line(cx, int16_t(cy - dy), 35, 53, a, COLOUR_WHITE, mirrored);
        radial_line(cx, int16_t(cy - dy), 53, 60, a, COLOUR_BLACK, mirrored);
    }
}

// ---- CLASSIC style --------------------------------------------------------------

int16_t classic_angle(int32_t p)
{
    if (p < 55) p = 55;
    if (p > 116) p = 116;
    return int16_t(140 + (p - 55) * 90 / 61);
}

struct Tick {
    uint8_t percent, r1, r2;
};
constexpr Tick CLASSIC_TICKS[] = {
    {70, 60, 70}, {80, 60, 70}, {90, 60, 70}, {100, 60, 70},
    {65, 65, 70}, {75, 65, 70}, {85, 65, 70}, {95, 65, 70}, {105, 65, 70},
    {110, 60, 93}, {104, 71, 83}, {97, 72, 77}, {70, 70, 75}, {60, 60, 84},
};

struct ScaleNumber {
    const char* text;
    int16_t left_dx, right_dx, dy;
};
constexpr ScaleNumber CLASSIC_NUMBERS[] = {
    {"110", 32, 108, 20}, {"100", 40, 100, 32}, {"90", 52, 96, 46},
    {"80", 53, 94, 59},   {"70", 50, 96, 72},   {"60", 43, 103, 83},
};

void classic_scale(int16_t x, int16_t y, int16_t cx, bool mirrored, int32_t percent)
{
    for (int16_t dx = 0; dx < 2; ++dx) {
        if (mirrored) draw_arc_mirrored(cx, int16_t(y + 61), 70, 140, 229, COLOUR_GREY);
        else draw_arc(int16_t(cx + dx), int16_t(y + 61), 70, 140, 229, COLOUR_GREY);
        if (mirrored) break; // the mirrored arc is two pixels wide already
    }
    for (const Tick& t : CLASSIC_TICKS)
        for (int16_t row = 61; row <= 62; ++row)
            radial_line(cx, int16_t(y + row), t.r1, t.r2, classic_angle(t.percent), COLOUR_GREY, mirrored);
    for (const ScaleNumber& n : CLASSIC_NUMBERS)
        draw_text(int16_t(x + (mirrored ? n.left_dx : n.right_dx)), int16_t(y + n.dy), n.text, 6,
                  ALIGN_LEFT, COLOUR_GREY);
    int16_t a = classic_angle(percent);
    radial_line(cx, int16_t(y + 61), 40, 70, a, COLOUR_WHITE, mirrored);
    radial_line(cx, int16_t(y + 60), 40, 70, a, COLOUR_WHITE, mirrored);
}

// One horizontal span of the emblem: row, first and last column relative to
// the emblem's left edge (x + 64), colour slot.
enum : uint8_t { E_LEFT, E_RIGHT, E_GREEN, E_GREY, E_YELLOW };
struct Span {
    uint8_t row, x1, x2, slot;
};

// The emblem between the CLASSIC scales (x + 64 .. x + 96, y + 2 .. y + 105):
// two pointed wings on top (the left instrument's colour red, the right one's
// yellow), a green chevron, a column of strokes and a yellow chevron below.
constexpr int EMBLEM_SPANS_MAX = 256;
struct Emblem {
    Span span[EMBLEM_SPANS_MAX];
    int count;
};

constexpr Emblem make_emblem()
{
    Emblem e{};
    auto add = [&e](int row, int x1, int x2, uint8_t slot) {
        if (e.count < EMBLEM_SPANS_MAX) e.span[e.count++] = {uint8_t(row), uint8_t(x1), uint8_t(x2), slot};
    };
    // Upper pair of pointed shapes meeting at the centre line, widest at row 8.
    for (int r = 0; r < 22; ++r) {
        int w = r < 8 ? r + 3 : 11 - (r - 8) * 10 / 13;
        if (w < 1) w = 1;
        add(r, 15 - w, 15, E_LEFT);
        add(r, 17, 17 + w, E_RIGHT);
    }
    // Green chevron pointing down, closed by a short plate.
    for (int r = 0; r < 10; ++r) {
        add(25 + r, 3 + r, 6 + r, E_GREEN);
        add(25 + r, 26 - r, 29 - r, E_GREEN);
    }
    for (int r = 35; r < 39; ++r) add(r, 12, 20, E_GREEN);
    // Vertical strokes down the narrow middle: grey outer pair, green centre.
    for (int r = 42; r < 83; ++r) {
        add(r, 12, 13, E_GREY);
        add(r, 19, 20, E_GREY);
        if (r > 45 && r < 80) add(r, 15, 17, E_GREEN);
    }
    // Lower yellow chevron pointing up.
    for (int r = 0; r < 15; ++r) {
        add(87 + r, 16 - r - 1 < 0 ? 0 : 16 - r - 1, 16 - r + 1, E_YELLOW);
        add(87 + r, 16 + r - 1, 16 + r + 1 > 32 ? 32 : 16 + r + 1, E_YELLOW);
    }
    return e;
}
constexpr Emblem CLASSIC_EMBLEM = make_emblem();
static_assert(CLASSIC_EMBLEM.count < EMBLEM_SPANS_MAX, "every emblem span fits");

void classic_emblem(int16_t x, int16_t y, bool rpm1_left)
{
    for (int i = 0; i < CLASSIC_EMBLEM.count; ++i) {
        const Span& s = CLASSIC_EMBLEM.span[i];
        uint8_t colour = COLOUR_GREY;
        switch (s.slot) {
        case E_LEFT: colour = rpm1_left ? COLOUR_RED : COLOUR_YELLOW; break;
        case E_RIGHT: colour = rpm1_left ? COLOUR_YELLOW : COLOUR_RED; break;
        case E_GREEN: colour = COLOUR_GREEN; break;
        case E_YELLOW: colour = COLOUR_YELLOW; break;
        default: break;
        }
        draw_hline(int16_t(x + 64 + s.x1), int16_t(x + 64 + s.x2), int16_t(y + 2 + s.row), colour);
    }
}

} // namespace

void rpm1_readout(const RpmReadout& r) { rpm_readout(0, r, Side::Alone); }

void rpm2_readout(const RpmReadout& r) { rpm_readout(1, r, Side::Alone); }

void twin_rpm_gauge(int16_t x, int16_t y)
{
    uint8_t left = settings.rpm2_position == 1 ? 1 : 0;
    uint8_t right = 1 - left;
    if (settings.rpm2_style == 1) {
        arc_instrument(left, int16_t(x + 15), int16_t(y + 55), true);
        arc_instrument(right, int16_t(x + 140), int16_t(y + 55), false);
    } else {
        classic_scale(x, y, int16_t(x + 8), true, percent_of(left));
        classic_scale(x, y, int16_t(x + 150), false, percent_of(right));
        classic_emblem(x, y, left == 0);
    }
    rpm_readout(left, {.value = {44, 75}, .label = {39, 52}}, Side::Left);
    rpm_readout(right, {.value = {207, 75}, .label = {207, 52}}, Side::Right);
}

void mag_check_single()
{
    int16_t x = settings.map_display == 1 ? 180 : 65;
    char text[16];
    draw_text(x, 40, "MAG CHECK", 9, ALIGN_CENTRE, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "%ld", long(int64_t(sens.rpm) - gauges.mag_check_rpm1));
    draw_text(x, 70, text, 16, ALIGN_CENTRE, COLOUR_WHITE);
    char label[8];
    rpm_label(0, label);
    draw_text(x, 110, label, 8, ALIGN_CENTRE, COLOUR_SILVER);
    draw_text(x, 125, "RPM", 8, ALIGN_CENTRE, COLOUR_SILVER);
    if (engine_link_invalid()) cross_out(int16_t(x - 50), 35, int16_t(x + 50), 140);
}

void mag_check_twin()
{
    char text[16];
    char label[8];
    draw_text(125, 40, "*** MAGNETO CHECK ***", 9, ALIGN_CENTRE, COLOUR_WHITE);
    rpm_label(0, label);
    draw_text(5, 67, label, 8, ALIGN_LEFT, COLOUR_SILVER);
    std::snprintf(text, sizeof text, "%ld", long(int64_t(sens.rpm) - gauges.mag_check_rpm1));
    draw_text(80, 60, text, 16, ALIGN_LEFT, COLOUR_WHITE);
    rpm_label(1, label);
    draw_text(5, 107, label, 8, ALIGN_LEFT, COLOUR_SILVER);
    std::snprintf(text, sizeof text, "%ld", long(int64_t(raw.rpm2) - gauges.mag_check_rpm2));
    draw_text(80, 100, text, 16, ALIGN_LEFT, COLOUR_WHITE);
    if (engine_link_invalid()) cross_out(5, 65, 160, 85);
    if (ecu.vexa_data_valid == 0) cross_out(5, 105, 160, 125);
}

} // namespace ems
