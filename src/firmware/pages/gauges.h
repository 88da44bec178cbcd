// Gauge widgets of the engine page: the horizontal bar and its readouts, the
// circular dials, the compact MAP readout, the RPM readouts, the twin RPM
// gauge in its two styles, the magneto-check panels and the EGT/CHT group
// (bars, delta bars, history graphs, big digital value).
//
// Every widget redraws from the current values, limits and blink phase on
// each pass and keeps nothing between passes. A widget whose engine link is
// invalid is crossed out by two red lines; the value stays drawn under them.
// Settings that would make a scale meaningless (display max = min, no
// channels, a zero full scale) draw the widget without its scale instead of
// dividing by zero.
#pragma once
#include <cstdint>

namespace ems {

// Geometry and limits of one bar, filled by the caller before bar_gauge() or
// bar_gauge_low(). Limits and value are in the value's own units.
struct BarParams {
    int16_t x = 0;            // left end of the bar
    int16_t y = 0;            // top row of the bar
    int16_t width = 0;        // pixels; the bar covers x .. x + width
    int16_t thickness = 0;    // the bar covers rows y .. y + thickness
    int32_t display_max = 0;  // value at the right end
    int32_t display_min = 0;  // value at the left end; max <= min draws only the pointer at x + 2
    int32_t low_alarm = 0;    // red below
    int32_t low_caution = 0;  // yellow below
    int32_t high_caution = 0; // yellow above
    int32_t high_alarm = 0;   // red above
    int32_t value = 0;        // value shown by the white pointer
};
extern BarParams bar_params;

// Reference values of the magneto check, recorded by the quick menu when the
// check starts; the panels show the current value minus these.
struct GaugeState {
    int32_t mag_check_rpm1 = 0; // rpm at the start of the check
    int32_t mag_check_rpm2 = 0; // raw.rpm2 at the start of the check
};
extern GaugeState gauges;

// Thermocouple group kinds.
constexpr uint8_t TC_EGT = 0;
constexpr uint8_t TC_CHT = 1;

// ---- Bars -------------------------------------------------------------------
// Five bands red / yellow / green / yellow / red and the white pointer.
void bar_gauge();
// Three bands red / yellow / green (low limits only) and the pointer.
void bar_gauge_low();

// ---- Bar readouts: bar at (x, y), width w, thickness t; label, value, unit above
void volts_readout(int16_t x, int16_t y, int16_t w, int16_t t);
void oat_readout(int16_t x, int16_t y, int16_t w, int16_t t);
void current_readout(int16_t x, int16_t y, int16_t w, int16_t t);
// Analog channel i (0..3) in its channel_mode (1 pressure, 2 temperature,
// 3 current, 4 generic; any other mode or channel draws nothing).
void aux_readout(uint8_t i, uint8_t mode, int16_t x, int16_t y, int16_t w, int16_t t);

// ---- Dials --------------------------------------------------------------------
// MAP dial: centre, radius r, band width, label (lx, ly), value centre (vx, vy),
// needle start radius inner, unit (ux, uy).
void map_dial(int16_t cx, int16_t cy, int16_t r, int16_t band, int16_t lx, int16_t ly,
              int16_t vx, int16_t vy, int16_t inner, int16_t ux, int16_t uy);
// Compact MAP readout: value right-aligned at (vx, vy), label, unit.
void map_compact(int16_t vx, int16_t vy, int16_t lx, int16_t ly, int16_t ux, int16_t uy);
// RPM 1 dial with avoid zone and needle; crossed out while the engine link is invalid.
void rpm_dial(int16_t cx, int16_t cy, int16_t r, int16_t band, int16_t inner);

// ---- RPM readouts -------------------------------------------------------------
// Value at (vx, vy) in font 16 with alignment align; label centred at
// (lx, ly - 13), "RPM" / "RPM %" centred at (lx, ly). No cross-out.
void rpm1_readout(int16_t vx, int16_t vy, int16_t lx, int16_t ly, uint8_t align);
void rpm2_readout(int16_t vx, int16_t vy, int16_t lx, int16_t ly, uint8_t align);
// Both RPM instruments side by side, style by rpm2_style, origin (x, y).
void twin_rpm_gauge(int16_t x, int16_t y);

// ---- Magneto check --------------------------------------------------------------
void mag_check_single(); // replaces the RPM 1 dial
void mag_check_twin();   // replaces the twin RPM gauge

// ---- Thermocouple group -----------------------------------------------------------
// Width in pixels of the EGT part of the 245-pixel group; 0 without channels.
int16_t egt_group_width();
// EGT part: x origin (0 on the engine page), w the EGT width (egt_group_width()),
// h the bar height outside lean mode (77). Skipped while egt_cht_view is 2.
void egt_group(int16_t x, int16_t w, int16_t h);
// CHT part; skipped while egt_cht_view is 1 or without CHT channels.
void cht_group();
// Vertical bars of channels first .. end - 1 (indices into tc_value) of one kind,
// w the width of the EGT part, hottest the shown value (highlighted channel
// numbers in HIGHEST mode), x added to every bar's x, h the bar height.
void tc_bars(uint8_t kind, int16_t w, uint8_t first, uint8_t end, int16_t hottest, int16_t x,
             int16_t h);
// Cruise-mode delta bars of channels first .. end - 1; w the width of the EGT part.
void tc_delta_bars(uint8_t kind, int16_t w, uint8_t first, uint8_t end);
// History graph of every channel of one kind; hottest_index the shown channel
// (an index into tc_value) used for the highlight in HIGHEST mode.
void tc_graph(uint8_t kind, uint8_t hottest_index);

// ---- Helpers shared with the pages ------------------------------------------------
// Engine link invalid: ecu_type 2 and ul_data_valid 0, or ecu_type not 2 and vexa_data_valid 0.
bool engine_link_invalid();
// Two red (247) lines (x1, y1)-(x2, y2) and (x1, y2)-(x2, y1).
void cross_out(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// Highlight of the text just drawn with the same arguments: fills rows y1..y2
// from text_start_x - left_pad to text_end_x, then writes the text again in text_colour.
void highlight_text(int16_t x, int16_t y, const char* text, uint8_t font, uint8_t align,
                    int16_t left_pad, int16_t y1, int16_t y2, uint8_t box, uint8_t text_colour);

} // namespace ems
