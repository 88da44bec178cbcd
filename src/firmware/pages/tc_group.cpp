// The EGT and CHT group of the engine page: big digital value, vertical bars
// with maximum marks and limit lines, lean-mode figures, cruise-mode delta
// bars and the history graphs.
#include <cstdio>
#include <initializer_list>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "pages/run_screen.h"
#include "sensors/minmax.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "system/tick.h"

namespace ems {

using namespace gauge_detail;

namespace {

// Channel counts held so that every index stays inside tc_value (EGT first,
// CHT after; together at most 12).
uint8_t egt_count()
{
    uint8_t n = settings.egt_channels;
    return n > TC_CHANNELS ? TC_CHANNELS : n;
}

uint8_t cht_count()
{
    uint8_t m = settings.cht_channels;
    uint8_t room = uint8_t(TC_CHANNELS - egt_count());
    return m > room ? room : m;
}

// Thermocouples have high limits only: their low levels sit at the bottom of
// any reading, so they never colour or highlight anything.
Scale tc_scale(uint8_t kind)
{
    const UnitSettings& s = settings;
    const bool egt = kind == TC_EGT;
    return {.min = egt ? s.egt_display_min : s.cht_display_min,
            .max = egt ? s.egt_display_max : s.cht_display_max,
            .limits = {.low_alarm = INT64_MIN,
                       .low_caution = INT64_MIN,
                       .high_caution = egt ? s.egt_high_caution : s.cht_high_caution,
                       .high_alarm = egt ? s.egt_high_alarm : s.cht_high_alarm,
                       .high_alarm_on = (egt ? s.egt_high_alarm_on : s.cht_high_alarm_on) != 0}};
}

// Whether the group shows its channels in turn (SCANNING) rather than the hottest.
bool scanning(uint8_t kind)
{
    return (kind == TC_EGT ? settings.egt_scanning : settings.cht_scanning) == 1;
}

// The channel the big value shows: the scanned one in SCANNING mode outside
// cruise mode, else the hottest (first of equals). A scan index outside the
// group shows the group's first channel.
uint8_t shown_channel(uint8_t kind, uint8_t first, uint8_t end)
{
    if (scanning(kind) && thermo.cruise_mode != 1) {
        uint8_t i = kind == TC_EGT ? tick.egt_scan_index : tick.cht_scan_index;
        return (i >= first && i < end) ? i : first;
    }
    int16_t hottest = -500;
    uint8_t index = first;
    for (uint8_t i = first; i < end; ++i)
        if (thermo.tc_value[i] > hottest) {
            hottest = thermo.tc_value[i];
            index = i;
        }
    return index;
}

// Whether channel i's number is highlighted: HIGHEST mode and the value
// equals the shown value, or SCANNING mode and it is the scanned channel.
bool number_highlighted(uint8_t kind, uint8_t i, int16_t hottest)
{
    if (scanning(kind))
        return i == (kind == TC_EGT ? tick.egt_scan_index : tick.cht_scan_index);
    return thermo.tc_value[i] == hottest;
}

void channel_number(int16_t cx, uint8_t number, uint8_t colour, bool highlighted, uint8_t box)
{
    char text[4];
    std::snprintf(text, sizeof text, "%d", number);
    draw_text(cx, 233, text, 8, ALIGN_CENTRE, colour);
    if (highlighted) highlight_text(cx, 233, text, 8, ALIGN_CENTRE, 0, 233, 248, box, COLOUR_BLACK);
}

// Big value at (x, 245): yellow above the caution, red above the alarm (steady).
void big_value(int16_t x, int16_t v, const Limits& l)
{
    char text[8];
    std::snprintf(text, sizeof text, "%d", v);
    draw_text(x, 245, text, 16, ALIGN_CENTRE, COLOUR_WHITE);
    if (v > l.high_alarm)
        highlight_text(x, 245, text, 16, ALIGN_CENTRE, 0, 250, 271, COLOUR_RED, COLOUR_WHITE);
    else if (v > l.high_caution)
        highlight_text(x, 245, text, 16, ALIGN_CENTRE, 0, 250, 271, COLOUR_YELLOW, COLOUR_BLACK);
}

// Bar height of v for bar height H under top row `top`: 0 when negative, H
// when it would reach above the top row; 0 without a usable span.
int16_t bar_height(int64_t v, const Scale& l, int16_t h, int16_t top)
{
    if (l.max <= l.min || h <= 0) return 0;
    float per_px = float(l.max - l.min) / float(h);
    int32_t px = trunc_held(float(v - l.min) / per_px, 0, 1000);
    if (230 - px < top) px = h;
    return int16_t(px);
}

// Geometry of one group's bars: first bar x, width, step.
struct BarGeometry {
    int16_t x0, w, step;
};

// Bar geometry, or width 0 when the channels do not fit.
BarGeometry bar_geometry(uint8_t kind, int16_t b, uint8_t n)
{
    if (n == 0) return {0, 0, 0};
    int16_t span = kind == TC_EGT ? b : int16_t(245 - b);
    int16_t w = int16_t((span - 3 * n - 3) / n);
    if (w <= 0) return {0, 0, 0};
    int16_t x0 = int16_t(((span + 3 - n * (w + 3)) >> 1) + (kind == TC_EGT ? 2 : b + (n <= 8 ? 22 : 10)));
    return {x0, w, int16_t(w + 5)};
}

} // namespace

int16_t egt_group_width()
{
    uint8_t n = egt_count();
    uint8_t total = uint8_t(n + cht_count());
    if (total == 0) return 0;
    return int16_t(2450 / total * n / 10);
}

void egt_group(const EgtGroup& g)
{
    uint8_t n = egt_count();
    if (run.egt_cht_view == VIEW_CHT_GRAPH || n == 0) return;
    const Limits l = tc_scale(TC_EGT).limits;
    uint8_t shown = shown_channel(TC_EGT, 0, n);
    int16_t v = thermo.tc_value[shown];
    if (thermo.cruise_mode == 1) {
        big_value(55, v, l);
        if (tick.blink_flag == 0) {
            draw_text(135, 245, "CRUISE", 8, ALIGN_CENTRE, COLOUR_WHITE);
            draw_text(135, 259, "MODE", 8, ALIGN_CENTRE, COLOUR_WHITE);
        }
        tc_delta_bars({.kind = TC_EGT, .egt_width = g.width, .first = 0, .end = n});
        return;
    }
    bool lean = thermo.lean_mode == 1;
    int16_t h = g.bar_height;
    big_value(lean ? 90 : 80, v, l);
    if (lean) {
        if (tick.blink_flag == 0) {
            draw_text(0, 246, "LEAN", 8, ALIGN_LEFT, COLOUR_WHITE);
            draw_text(0, 259, "MODE", 8, ALIGN_LEFT, COLOUR_WHITE);
        }
        h = 57;
    } else {
        draw_text(0, 258, "EGT", 8, ALIGN_LEFT, COLOUR_MAGENTA);
    }
    if (run.egt_cht_view == VIEW_EGT_GRAPH) tc_graph(TC_EGT, shown);
    else
        tc_bars({.kind = TC_EGT, .egt_width = g.width, .first = 0, .end = n, .hottest = v, .x = g.x,
                 .height = h});
}

void cht_group()
{
    uint8_t n = egt_count();
    uint8_t m = cht_count();
    if (run.egt_cht_view == VIEW_EGT_GRAPH || m == 0) return;
    const Limits l = tc_scale(TC_CHT).limits;
    uint8_t shown = shown_channel(TC_CHT, n, uint8_t(n + m));
    int16_t v = thermo.tc_value[shown];
    int16_t b = egt_group_width();
    if (thermo.cruise_mode == 1) {
        big_value(220, v, l);
        tc_delta_bars({.kind = TC_CHT, .egt_width = b, .first = n, .end = uint8_t(n + m)});
        return;
    }
    big_value(n > 0 ? 220 : 80, v, l);
    draw_text(n > 0 ? 140 : 0, 258, "CHT", 8, ALIGN_LEFT, COLOUR_CYAN);
    if (run.egt_cht_view == VIEW_CHT_GRAPH) tc_graph(TC_CHT, shown);
    else tc_bars({.kind = TC_CHT, .egt_width = b, .first = n, .end = uint8_t(n + m), .hottest = v});
}

void tc_bars(const TcBars& b)
{
    const uint8_t kind = b.kind, first = b.first;
    const int16_t hottest = b.hottest, x = b.x, h = b.height;
    uint8_t end = b.end > TC_CHANNELS ? TC_CHANNELS : b.end;
    if (first >= end) return;
    uint8_t n = uint8_t(end - first);
    BarGeometry g = bar_geometry(kind, b.egt_width, n);
    if (g.w == 0) return;
    const Scale l = tc_scale(kind);
    const int64_t alarm = l.limits.high_alarm, caution = l.limits.high_caution;
    bool lean = kind == TC_EGT && thermo.lean_mode == 1;
    int16_t top = lean ? 170 : 150;
    int16_t bx = int16_t(g.x0 + x);
    for (uint8_t i = first; i < end; ++i, bx = int16_t(bx + g.step)) {
        int16_t v = thermo.tc_value[i];
        int16_t hm = bar_height(minmax.tc_max[i], l, h, top);
        fill_rect(bx, int16_t(228 - hm), int16_t(bx + g.w), int16_t(229 - hm), COLOUR_WHITE);
        int16_t hv = bar_height(v, l, h, top);
        uint8_t colour = v >= alarm ? COLOUR_RED : v >= caution ? COLOUR_YELLOW : COLOUR_GREEN;
        fill_rect(bx, int16_t(230 - hv), int16_t(bx + g.w), 230, colour);
        int16_t centre = int16_t(bx + g.w / 2);
        if (!lean)
            channel_number(centre, uint8_t(i - first + 1), COLOUR_SILVER,
                           number_highlighted(kind, i, hottest),
                           kind == TC_EGT ? COLOUR_MAGENTA : COLOUR_CYAN);
        if (lean) {
            char text[8];
            int16_t order = thermo.tc_peak_order[i];
            std::snprintf(text, sizeof text, "%d", order > 0 ? thermo.tc_delta[i] : v);
            draw_text(centre, (i & 1) ? 157 : 145, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
            if (order > 0) {
                std::snprintf(text, sizeof text, "%d", order);
                draw_text(int16_t(centre + 1), 232, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
            }
        }
    }
    int16_t left = int16_t(g.x0 + x);
    int16_t right = int16_t(left + (n - 1) * g.step + g.w);
    dashed_5_5(left, right, int16_t(230 - bar_height(alarm, l, h, top)), COLOUR_RED);
    dashed_5_5(left, right, int16_t(230 - bar_height(caution, l, h, top)), COLOUR_YELLOW);
}

void tc_delta_bars(const TcBars& b)
{
    const uint8_t kind = b.kind, first = b.first;
    const int16_t w = b.egt_width;
    uint8_t end = b.end > TC_CHANNELS ? TC_CHANNELS : b.end;
    dashed_5_5(0, 274, 202, COLOUR_SILVER);
    if (first >= end) return;
    int n = end - first;
    int16_t span = kind == TC_EGT ? w : int16_t(240 - w);
    int16_t bw = int16_t((span - 3 * n - 3) / n);
    if (bw <= 0) return;
    int16_t x0 = int16_t(((span + 3 - n * (bw + 3)) >> 1) + (kind == TC_EGT ? 7 : w + 15));
    float scale = (settings.temp_unit == 1 ? 400.0f : 200.0f) / 30.0f;
    int16_t bx = x0;
    for (uint8_t i = first; i < end; ++i, bx = int16_t(bx + bw + 4)) {
        int16_t d = thermo.tc_delta[i];
        int16_t h = int16_t(trunc_held(float(d) / scale, -30, 30));
        if (h > 0) fill_rect(bx, int16_t(202 - h), int16_t(bx + bw), 202, COLOUR_CYAN);
        else if (h < 0) fill_rect(bx, 202, int16_t(bx + bw), int16_t(202 - h), COLOUR_CYAN);
        int16_t centre = int16_t(bx + bw / 2);
        char text[8];
        std::snprintf(text, sizeof text, "%d", d);
        draw_text(centre, (i & 1) ? 157 : 145, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
        std::snprintf(text, sizeof text, "%d", i - first + 1);
        draw_text(centre, 233, text, 8, ALIGN_CENTRE, COLOUR_SILVER);
    }
}

namespace {

constexpr uint8_t GRAPH_COLOURS[12] = {
    COLOUR_YELLOW, COLOUR_GREEN, COLOUR_BLUE,       COLOUR_MAGENTA,   COLOUR_CYAN,   COLOUR_OLIVE,
    COLOUR_TEAL,   COLOUR_GREY,  COLOUR_DARK_GREEN, COLOUR_DARK_GREY, COLOUR_PURPLE, COLOUR_NAVY,
};
constexpr int16_t GRAPH_NUMBER_X[12] = {30, 45, 65, 85, 105, 125, 145, 165, 185, 205, 225, 245};

} // namespace

void tc_graph(uint8_t kind, uint8_t hottest_index)
{
    uint8_t n = egt_count();
    uint8_t first = kind == TC_EGT ? 0 : n;
    uint8_t end = kind == TC_EGT ? n : uint8_t(n + cht_count());
    const Scale l = tc_scale(kind);
    const int64_t high_alarm = l.limits.high_alarm, high_caution = l.limits.high_caution;
    int32_t min = l.min > 1500 ? 1500 : int32_t(l.min);
    int32_t max = l.max < -500 ? -500 : int32_t(l.max);
    int32_t alarm = high_alarm < -500 ? -500 : high_alarm > max ? max : int32_t(high_alarm);
    int32_t caution = high_caution < -500 ? -500 : high_caution > max ? max : int32_t(high_caution);
    if (caution > alarm) caution = alarm;
    float scale = float(max - min) * 0.0125f;
    if (scale > 0) { // no usable span: only the frame and the numbers
        for (int32_t level : {caution, alarm}) {
            int32_t lv = level < min ? min : level;
            int16_t row = int16_t(230 - trunc_held(float(lv - min) / scale, 0, 1000));
            draw_hline_dashed(15, 264, row, level == alarm ? COLOUR_RED : COLOUR_YELLOW);
        }
        // Caution is drawn first so that an alarm at the same level stays red.
        for (uint8_t i = first; i < end; ++i) {
            uint8_t colour = GRAPH_COLOURS[i - first];
            for (uint16_t s = 0; s < TC_HISTORY; ++s) {
                int32_t v = thermo.tc_history[i][s];
                v = v < min ? min : v > max ? max : v;
                int32_t y = 230 - trunc_held(float(v - min) / scale, 0, 1000);
                if (y < 151) y = 151;
                draw_pixel(int16_t(15 + s), int16_t(y), colour);
            }
        }
    }
    for (uint8_t i = first; i < end; ++i) {
        uint8_t k = uint8_t(i - first);
        bool highlighted = scanning(kind)
                               ? i == (kind == TC_EGT ? tick.egt_scan_index : tick.cht_scan_index)
                               : i == hottest_index;
        channel_number(GRAPH_NUMBER_X[k], uint8_t(k + 1), GRAPH_COLOURS[k], highlighted, GRAPH_COLOURS[k]);
    }
    draw_rect(15, 150, 264, 230, COLOUR_GREY);
}

} // namespace ems
