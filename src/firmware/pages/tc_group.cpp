// The EGT and CHT group of the engine page: big digital value, vertical bars
// with maximum marks and limit lines, lean-mode figures, cruise-mode delta
// bars and the history graphs.
#include <cstdio>
#include <initializer_list>

#include "config/settings.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "sensors/minmax.h"
#include "pages/run_screen.h"
#include "sensors/thermocouple.h"
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

struct TcLimits {
    int16_t max, min, caution, alarm;
    uint8_t scanning;
};

TcLimits tc_limits(uint8_t kind)
{
    const UnitSettings& s = settings;
    if (kind == TC_EGT)
        return {s.egt_display_max, s.egt_display_min, s.egt_high_caution, s.egt_high_alarm, s.egt_scanning};
    return {s.cht_display_max, s.cht_display_min, s.cht_high_caution, s.cht_high_alarm, s.cht_scanning};
}

// The channel the big value shows: the scanned one in SCANNING mode outside
// cruise mode, else the hottest (first of equals). A scan index outside the
// group shows the group's first channel.
uint8_t shown_channel(uint8_t kind, uint8_t first, uint8_t end)
{
    if (tc_limits(kind).scanning == 1 && thermo.cruise_mode != 1) {
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
    if (tc_limits(kind).scanning == 1)
        return i == (kind == TC_EGT ? tick.egt_scan_index : tick.cht_scan_index);
    return thermo.tc_value[i] == hottest;
}

void channel_number(int16_t cx, uint8_t number, uint8_t colour, bool highlighted, uint8_t box)
{
    char text[4];
    std::snprintf(text, sizeof text, "%d", number);
    draw_text(cx, 233, text, 8, ALIGN_CENTRE, colour);
    if (highlighted) highlight_text(cx, 233, text, 8, ALIGN_CENTRE, 0, 233, 248, box, BLACK);
}

// Big value at (x, 245): yellow above the caution, red above the alarm (steady).
void big_value(int16_t x, int16_t v, const TcLimits& l)
{
    char text[8];
    std::snprintf(text, sizeof text, "%d", v);
    draw_text(x, 245, text, 16, ALIGN_CENTRE, WHITE);
    if (v > l.alarm) highlight_text(x, 245, text, 16, ALIGN_CENTRE, 0, 250, 271, RED, WHITE);
    else if (v > l.caution) highlight_text(x, 245, text, 16, ALIGN_CENTRE, 0, 250, 271, YELLOW, BLACK);
}

// Bar height of v for bar height H under top row `top`: 0 when negative, H
// when it would reach above the top row; 0 without a usable span.
int16_t bar_height(int32_t v, const TcLimits& l, int16_t h, int16_t top)
{
    if (l.max <= l.min || h <= 0) return 0;
    float per_px = float(int32_t(l.max) - l.min) / float(h);
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

void egt_group(int16_t x, int16_t w, int16_t h)
{
    uint8_t n = egt_count();
    if (run.egt_cht_view == VIEW_CHT_GRAPH || n == 0) return;
    TcLimits l = tc_limits(TC_EGT);
    uint8_t shown = shown_channel(TC_EGT, 0, n);
    int16_t v = thermo.tc_value[shown];
    if (thermo.cruise_mode == 1) {
        big_value(55, v, l);
        if (tick.blink_flag == 0) {
            draw_text(135, 245, "CRUISE", 8, ALIGN_CENTRE, WHITE);
            draw_text(135, 259, "MODE", 8, ALIGN_CENTRE, WHITE);
        }
        tc_delta_bars(TC_EGT, w, 0, n);
        return;
    }
    bool lean = thermo.lean_mode == 1;
    big_value(lean ? 90 : 80, v, l);
    if (lean) {
        if (tick.blink_flag == 0) {
            draw_text(0, 246, "LEAN", 8, ALIGN_LEFT, WHITE);
            draw_text(0, 259, "MODE", 8, ALIGN_LEFT, WHITE);
        }
        h = 57;
    } else {
        draw_text(0, 258, "EGT", 8, ALIGN_LEFT, MAGENTA);
    }
    if (run.egt_cht_view == VIEW_EGT_GRAPH) tc_graph(TC_EGT, shown);
    else tc_bars(TC_EGT, w, 0, n, v, x, h);
}

void cht_group()
{
    uint8_t n = egt_count();
    uint8_t m = cht_count();
    if (run.egt_cht_view == VIEW_EGT_GRAPH || m == 0) return;
    TcLimits l = tc_limits(TC_CHT);
    uint8_t shown = shown_channel(TC_CHT, n, uint8_t(n + m));
    int16_t v = thermo.tc_value[shown];
    int16_t b = egt_group_width();
    if (thermo.cruise_mode == 1) {
        big_value(220, v, l);
        tc_delta_bars(TC_CHT, b, n, uint8_t(n + m));
        return;
    }
    big_value(n > 0 ? 220 : 80, v, l);
    draw_text(n > 0 ? 140 : 0, 258, "CHT", 8, ALIGN_LEFT, CYAN);
    if (run.egt_cht_view == VIEW_CHT_GRAPH) tc_graph(TC_CHT, shown);
    else tc_bars(TC_CHT, b, n, uint8_t(n + m), v, 0, 77);
}

void tc_bars(uint8_t kind, int16_t w, uint8_t first, uint8_t end, int16_t hottest, int16_t x,
             int16_t h)
{
    if (end > TC_CHANNELS) end = TC_CHANNELS;
    if (first >= end) return;
    uint8_t n = uint8_t(end - first);
    BarGeometry g = bar_geometry(kind, w, n);
    if (g.w == 0) return;
    TcLimits l = tc_limits(kind);
    bool lean = kind == TC_EGT && thermo.lean_mode == 1;
    int16_t top = lean ? 170 : 150;
    int16_t bx = int16_t(g.x0 + x);
    for (uint8_t i = first; i < end; ++i, bx = int16_t(bx + g.step)) {
        int16_t v = thermo.tc_value[i];
        int16_t hm = bar_height(minmax.tc_max[i], l, h, top);
        fill_rect(bx, int16_t(228 - hm), int16_t(bx + g.w), int16_t(229 - hm), WHITE);
        int16_t hv = bar_height(v, l, h, top);
        uint8_t colour = v >= l.alarm ? RED : v >= l.caution ? YELLOW : GREEN;
        fill_rect(bx, int16_t(230 - hv), int16_t(bx + g.w), 230, colour);
        int16_t centre = int16_t(bx + g.w / 2);
        if (!lean)
            channel_number(centre, uint8_t(i - first + 1), SILVER, number_highlighted(kind, i, hottest),
                           kind == TC_EGT ? MAGENTA : CYAN);
        if (lean) {
            char text[8];
            int16_t order = thermo.tc_peak_order[i];
            std::snprintf(text, sizeof text, "%d", order > 0 ? thermo.tc_delta[i] : v);
            draw_text(centre, (i & 1) ? 157 : 145, text, 8, ALIGN_CENTRE, WHITE);
            if (order > 0) {
                std::snprintf(text, sizeof text, "%d", order);
                draw_text(int16_t(centre + 1), 232, text, 8, ALIGN_CENTRE, WHITE);
            }
        }
    }
    int16_t left = int16_t(g.x0 + x);
    int16_t right = int16_t(left + (n - 1) * g.step + g.w);
    dashed_5_5(left, right, int16_t(230 - bar_height(l.alarm, l, h, top)), RED);
    dashed_5_5(left, right, int16_t(230 - bar_height(l.caution, l, h, top)), YELLOW);
}

void tc_delta_bars(uint8_t kind, int16_t w, uint8_t first, uint8_t end)
{
    if (end > TC_CHANNELS) end = TC_CHANNELS;
    dashed_5_5(0, 274, 202, SILVER);
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
        if (h > 0) fill_rect(bx, int16_t(202 - h), int16_t(bx + bw), 202, CYAN);
        else if (h < 0) fill_rect(bx, 202, int16_t(bx + bw), int16_t(202 - h), CYAN);
        int16_t centre = int16_t(bx + bw / 2);
        char text[8];
        std::snprintf(text, sizeof text, "%d", d);
        draw_text(centre, (i & 1) ? 157 : 145, text, 8, ALIGN_CENTRE, WHITE);
        std::snprintf(text, sizeof text, "%d", i - first + 1);
        draw_text(centre, 233, text, 8, ALIGN_CENTRE, SILVER);
    }
}

namespace {

constexpr uint8_t GRAPH_COLOURS[12] = {249, 252, 246, 248, 251, 3, 6, 8, 254, 7, 5, 4};
constexpr int16_t GRAPH_NUMBER_X[12] = {30, 45, 65, 85, 105, 125, 145, 165, 185, 205, 225, 245};

} // namespace

void tc_graph(uint8_t kind, uint8_t hottest_index)
{
    uint8_t n = egt_count();
    uint8_t first = kind == TC_EGT ? 0 : n;
    uint8_t end = kind == TC_EGT ? n : uint8_t(n + cht_count());
    TcLimits l = tc_limits(kind);
    int32_t min = l.min > 1500 ? 1500 : l.min;
    int32_t max = l.max < -500 ? -500 : l.max;
    int32_t alarm = l.alarm < -500 ? -500 : l.alarm > max ? max : l.alarm;
    int32_t caution = l.caution < -500 ? -500 : l.caution > max ? max : l.caution;
    if (caution > alarm) caution = alarm;
    float scale = float(max - min) * 0.0125f;
    if (scale > 0) { // no usable span: only the frame and the numbers
        for (int32_t level : {caution, alarm}) {
            int32_t lv = level < min ? min : level;
            int16_t row = int16_t(230 - trunc_held(float(lv - min) / scale, 0, 1000));
            draw_hline_dashed(15, 264, row, level == alarm ? RED : YELLOW);
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
        bool highlighted = l.scanning == 1
                               ? i == (kind == TC_EGT ? tick.egt_scan_index : tick.cht_scan_index)
                               : i == hottest_index;
        channel_number(GRAPH_NUMBER_X[k], uint8_t(k + 1), GRAPH_COLOURS[k], highlighted, GRAPH_COLOURS[k]);
    }
    draw_rect(15, 150, 264, 230, GREY);
}

} // namespace ems
