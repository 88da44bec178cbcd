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

#include "gfx/text.h"
#include "settings/limits.h"

namespace ems {

// A screen position.
struct ScreenPoint {
    int16_t x = 0;
    int16_t y = 0;
};

// RPM range to keep out of, drawn orange on the scales.
struct AvoidZone {
    bool on = false;
    int64_t low = 0;
    int64_t high = 0;
};

// What a scale spans and how it is coloured, in the value's own units.
struct Scale {
    int64_t min = 0; // value at the low end
    int64_t max = 0; // value at the high end; max <= min leaves the scale uncoloured
    Limits limits{};
    AvoidZone avoid{}; // RPM scales only
};

// One horizontal bar: bar_gauge() draws red / yellow / green / yellow / red
// bands, bar_gauge_low() red / yellow / green from the low limits only; both
// then the white pointer at value.
struct Bar {
    int16_t x = 0;         // left end of the bar
    int16_t y = 0;         // top row of the bar
    int16_t width = 0;     // pixels; the bar covers x .. x + width
    int16_t thickness = 0; // the bar covers rows y .. y + thickness
    Scale scale{};         // no usable span draws only the pointer at x + 2
    int64_t value = 0;     // value shown by the white pointer
};

// Where a bar readout stands: its bar, with label, value and unit above it.
struct BarReadout {
    int16_t x = 0;
    int16_t y = 0;
    int16_t width = 0;
    int16_t thickness = 0;
};

// A circular dial: centre, outer radius, band width and where the needle starts.
struct Dial {
    ScreenPoint centre;
    int16_t radius = 60;
    int16_t band = 7;
    int16_t needle_from = 25;
};

// The MAP dial with its texts: "MAP" at label, the value centred on value,
// the unit at unit.
struct MapDial {
    Dial dial;
    ScreenPoint label;
    ScreenPoint value;
    ScreenPoint unit;
};

// The compact MAP readout: value right-aligned at value, "MAP" and the unit.
struct MapCompact {
    ScreenPoint value;
    ScreenPoint label;
    ScreenPoint unit;
};

// An RPM readout: the value at value in font 16 with alignment align, "RPM"
// or "RPM %" centred at label and the instrument's label 13 rows above it.
struct RpmReadout {
    ScreenPoint value;
    ScreenPoint label;
    uint8_t align = ALIGN_CENTRE;
};

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

// The EGT part of the thermocouple group: x origin (0 on the engine page),
// width (egt_group_width()) and bar height outside lean mode.
struct EgtGroup {
    int16_t x = 0;
    int16_t width = 0;
    int16_t bar_height = 77;
};

// Bars of channels first .. end - 1 (indices into tc_value) of one kind.
// egt_width is the width of the EGT part; hottest the shown value (its
// channel numbers are highlighted in HIGHEST mode); x is added to every
// bar's x. The delta bars read the kind, widths and channels only.
struct TcBars {
    uint8_t kind = TC_EGT;
    int16_t egt_width = 0;
    uint8_t first = 0;
    uint8_t end = 0;
    int16_t hottest = 0;
    int16_t x = 0;
    int16_t height = 77;
};

// ---- Bars -------------------------------------------------------------------
void bar_gauge(const Bar& bar);
void bar_gauge_low(const Bar& bar);

// ---- Bar readouts -------------------------------------------------------------
void volts_readout(const BarReadout& at);
void oat_readout(const BarReadout& at);
void current_readout(const BarReadout& at);
// Analog channel i (0..3) in its channel_mode (1 pressure, 2 temperature,
// 3 current, 4 generic; any other mode or channel draws nothing).
void aux_readout(uint8_t i, uint8_t mode, const BarReadout& at);

// ---- Dials --------------------------------------------------------------------
void map_dial(const MapDial& d);
void map_compact(const MapCompact& m);
// RPM 1 dial with avoid zone and needle; crossed out while the engine link is invalid.
void rpm_dial(const Dial& d);

// ---- RPM readouts -------------------------------------------------------------
// No cross-out when alone.
void rpm1_readout(const RpmReadout& r);
void rpm2_readout(const RpmReadout& r);
// Both RPM instruments side by side, style by rpm2_style, origin (x, y).
void twin_rpm_gauge(int16_t x, int16_t y);

// ---- Magneto check --------------------------------------------------------------
void mag_check_single(); // replaces the RPM 1 dial
void mag_check_twin();   // replaces the twin RPM gauge

// ---- Thermocouple group -----------------------------------------------------------
// Width in pixels of the EGT part of the 245-pixel group; 0 without channels.
int16_t egt_group_width();
// Skipped while egt_cht_view is 2.
void egt_group(const EgtGroup& g);
// CHT part; skipped while egt_cht_view is 1 or without CHT channels.
void cht_group();
void tc_bars(const TcBars& b);
// Cruise-mode delta bars.
void tc_delta_bars(const TcBars& b);
// History graph of every channel of one kind; hottest_index the shown channel
// (an index into tc_value) used for the highlight in HIGHEST mode.
void tc_graph(uint8_t kind, uint8_t hottest_index);

// ---- Helpers shared with the pages ------------------------------------------------
// Engine link invalid: ecu_type 2 and ul_data_valid 0, or ecu_type not 2 and vexa_data_valid 0.
bool engine_link_invalid();
// Two red lines (x1, y1)-(x2, y2) and (x1, y2)-(x2, y1).
void cross_out(int16_t x1, int16_t y1, int16_t x2, int16_t y2);
// Highlight of the text just drawn with the same arguments: fills rows y1..y2
// from text_start_x - left_pad to text_end_x, then writes the text again in text_colour.
void highlight_text(int16_t x, int16_t y, const char* text, uint8_t font, uint8_t align,
                    int16_t left_pad, int16_t y1, int16_t y2, uint8_t box, uint8_t text_colour);

} // namespace ems
