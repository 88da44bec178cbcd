// The fuel area of the engine page by fuel_config, the fuel pressure readout,
// the OAT column and the UL Power lane lamps of the top strip.
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/fuel_page.h"
#include "pages/gauges.h"
#include "pages/gauges_internal.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "system/tick.h"

namespace ems {

using namespace gauge_detail;

namespace {

bool vexa_lost() { return ecu.vexa_data_valid == 0; }
bool fp_shown() { return settings.fuel_pressure_display == 1; }

void label(int16_t x, int16_t y, const char* text, uint8_t align = ALIGN_LEFT, uint8_t font = 8)
{
    draw_text(x, y, text, font, align, COLOUR_SILVER);
}

// "L/hr" for litre units, "G/hr" for gallon units, nothing for an unknown unit.
const char* flow_unit_text()
{
    uint8_t u = settings.fuel_unit;
    if (u > 5) return "";
    return (u & 1) ? "G/hr" : "L/hr";
}

const char* volume_name() { return (settings.fuel_unit & 1) ? "GALLONS" : "LITRES"; }

void flow_value(int32_t flow, int16_t x, int16_t y, uint8_t font, uint8_t align)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", flow * 0.1);
    draw_text(x, y, text, font, align, COLOUR_WHITE);
}

// Flow 1 minus flow 2 in DIFFERENTIAL mode, else their sum.
int32_t combined_flow()
{
    int32_t f1 = fuel.fuel_flow[0], f2 = fuel.fuel_flow[1];
    return settings.flow_mode == 1 ? f1 - f2 : f1 + f2;
}

struct Tank {
    uint8_t mode;
    int16_t size, low_alarm, low_caution;
};

Tank tank_settings(uint8_t t)
{
    const UnitSettings& s = settings;
    if (t == 0) return {s.tank1_mode, s.tank1_size, s.tank1_low_alarm, s.tank1_low_caution};
    return {s.tank2_mode, s.tank2_size, s.tank2_low_alarm, s.tank2_low_caution};
}

// Tank t's value at (x, y) in font 16, or the flashing "FAIL" of an open
// sender (fail_font / fail_y give its own font and row).
void tank_value(uint8_t t, int16_t x, int16_t y, uint8_t fail_font, int16_t fail_y)
{
    if (fuel.tank_open[t] == 1) {
        if (tick.blink_flag != 1) return;
        int16_t rows = fail_font == 12 ? 20 : 29;
        draw_text(x, fail_y, "FAIL", fail_font, ALIGN_LEFT, COLOUR_WHITE);
        highlight_text(x, fail_y, "FAIL", fail_font, ALIGN_LEFT, 1, int16_t(fail_y + 2),
                       int16_t(fail_y + rows), COLOUR_RED, COLOUR_WHITE);
        return;
    }
    char text[16];
    uint16_t v = fuel.tank_level[t];
    fuel_quantity_text(text, v);
    Tank k = tank_settings(t);
    Level level = v < k.low_alarm ? Level::Alarm : v < k.low_caution ? Level::Caution : Level::Normal;
    text_with_level(x, y, text, 16, ALIGN_LEFT, 1, int16_t(y + 2), int16_t(y + 29), level);
}

void tank_bar(uint8_t t, const BarReadout& at)
{
    Tank k = tank_settings(t);
    bar_gauge_low({.x = at.x,
                   .y = at.y,
                   .width = at.width,
                   .thickness = at.thickness,
                   .scale = {.min = 0,
                             .max = k.size,
                             .limits = {.low_alarm = k.low_alarm, .low_caution = k.low_caution}},
                   .value = fuel.tank_level[t]});
    if (k.mode == TANK_CALCULATED)
        draw_text(362, int16_t(at.y + at.thickness / 2 - 5), "CALC", 8, ALIGN_CENTRE, COLOUR_BLACK);
}

bool tank_calculated(uint8_t t) { return tank_settings(t).mode == TANK_CALCULATED; }

// ---- Layouts ------------------------------------------------------------------------

void layout_single(uint8_t config)
{
    label(288, 150, "FUEL");
    label(288, 165, "FLOW");
    int32_t flow = config == 0 ? fuel.fuel_flow[0] : config == 1 ? fuel.fuel_flow[1] : combined_flow();
    flow_value(flow, 430, 146, 20, ALIGN_RIGHT);
    label(440, 161, flow_unit_text());
    uint8_t t = (config == 0 || config == 12) ? 0 : 1;
    tank_value(t, 420, 187, 12, 192);
    label(288, 195, "FL");
    tank_bar(t, {.x = 320, .y = 195, .width = 95, .thickness = 16});
    if (fp_shown()) fuel_pressure_readout({.x = 320, .y = 227, .width = 80, .thickness = 8}, true);
    if (engine_link_invalid()) cross_out(290, 152, 470, 177);
    if (vexa_lost() && !tank_calculated(t)) cross_out(290, 195, 470, 211);
}

void layout_level_only()
{
    bool fp = fp_shown();
    label(fp ? 340 : 380, 165, "FUEL LEVEL", ALIGN_CENTRE);
    if (fp) label(435, 165, volume_name(), ALIGN_CENTRE);
    else label(380, 235, volume_name(), ALIGN_CENTRE);
    uint8_t t = settings.tank1_mode != TANK_SENDER ? 1 : 0;
    tank_value(t, 414, 195, 16, 195);
    tank_bar(t, {.x = 290, .y = 203, .width = 110, .thickness = 14});
    if (fp) fuel_pressure_readout({.x = 320, .y = 250, .width = 80, .thickness = 8}, true);
    if (vexa_lost()) cross_out(290, 203, 470, 217);
}

void layout_two_tanks()
{
    tank_value(0, 414, 159, 16, 159);
    label(288, 167, "FL1");
    tank_bar(0, {.x = 320, .y = 168, .width = 80, .thickness = 13});
    tank_value(1, 414, 203, 16, 203);
    label(288, 211, "FL2");
    tank_bar(1, {.x = 320, .y = 212, .width = 80, .thickness = 13});
    if (fp_shown()) {
        label(380, 190, volume_name(), ALIGN_CENTRE);
        fuel_pressure_readout({.x = 320, .y = 250, .width = 80, .thickness = 8}, true);
    } else {
        label(380, 250, volume_name(), ALIGN_CENTRE);
    }
    if (vexa_lost()) cross_out(290, 160, 470, 233);
}

void layout_one_flow()
{
    label(380, 170, "FUEL FLOW", ALIGN_CENTRE, 10);
    flow_value(settings.flow1_on == 1 ? fuel.fuel_flow[0] : fuel.fuel_flow[1], 415, 201, 20, ALIGN_RIGHT);
    label(450, 219, flow_unit_text(), ALIGN_CENTRE);
    if (fp_shown()) fuel_pressure_readout({.x = 320, .y = 255, .width = 80, .thickness = 8}, true);
    if (engine_link_invalid()) cross_out(320, 210, 460, 230);
}

void layout_two_flows()
{
    bool fp = fp_shown();
    int16_t y1 = fp ? 155 : 170, y2 = fp ? 200 : 230;
    label(290, 155, fp ? "FF1" : "FUEL FLOW 1");
    label(290, fp ? 200 : 215, fp ? "FF2" : "FUEL FLOW 2");
    flow_value(fuel.fuel_flow[0], 420, y1, 20, ALIGN_RIGHT);
    flow_value(fuel.fuel_flow[1], 420, y2, 20, ALIGN_RIGHT);
    label(440, fp ? 174 : 188, flow_unit_text());
    label(440, fp ? 219 : 248, flow_unit_text());
    if (fp) fuel_pressure_readout({.x = 320, .y = 250, .width = 80, .thickness = 8}, true);
    if (engine_link_invalid()) cross_out(290, int16_t(y1 + 5), 470, int16_t(y1 + 30));
    if (vexa_lost()) cross_out(290, int16_t(y2 + 5), 470, int16_t(y2 + 30));
}

void layout_combined_and_both()
{
    bool fp = fp_shown();
    int16_t p = fp ? 10 : 0, q = fp ? 9 : 0;
    flow_value(combined_flow(), 420, int16_t(157 - p), 20, ALIGN_RIGHT);
    label(290, int16_t(205 - p - q), "FLOW 1");
    flow_value(fuel.fuel_flow[0], 380, int16_t(205 - p - q), 12, ALIGN_LEFT);
    label(290, int16_t(235 - p - q), "FLOW 2");
    flow_value(fuel.fuel_flow[1], 380, int16_t(235 - p - q), 12, ALIGN_LEFT);
    label(460, int16_t(175 - p), flow_unit_text(), ALIGN_CENTRE);
    label(460, int16_t(210 - p - q), flow_unit_text(), ALIGN_CENTRE);
    label(460, int16_t(240 - p - q), flow_unit_text(), ALIGN_CENTRE);
    if (fp) fuel_pressure_readout({.x = 320, .y = 255, .width = 80, .thickness = 8}, true);
}

void layout_pressure_only()
{
    label(380, 185, "FUEL PRESSURE", ALIGN_CENTRE);
    if (fp_shown()) fuel_pressure_readout({.x = 300, .y = 210, .width = 100, .thickness = 8}, false);
}

// The two tank rows of configurations 10, 11 and 14, raised by d pixels.
void two_tank_rows(int16_t d)
{
    tank_value(0, 414, int16_t(171 - d), 16, int16_t(171 - d));
    label(288, int16_t(180 - d), "FL1");
    tank_bar(0, {.x = 320, .y = int16_t(181 - d), .width = 80, .thickness = 13});
    tank_value(1, 414, int16_t(198 - d), 16, int16_t(198 - d));
    label(288, int16_t(206 - d), "FL2");
    tank_bar(1, {.x = 320, .y = int16_t(207 - d), .width = 80, .thickness = 13});
    if (vexa_lost() && !tank_calculated(0)) cross_out(290, int16_t(181 - d), 470, int16_t(194 - d));
    if (vexa_lost() && !tank_calculated(1)) cross_out(290, int16_t(207 - d), 470, int16_t(220 - d));
}

void layout_two_flows_two_tanks()
{
    int16_t q = fp_shown() ? 3 : 0;
    flow_value(fuel.fuel_flow[0], 320, int16_t(145 - q), 16, ALIGN_CENTRE);
    flow_value(fuel.fuel_flow[1], 408, int16_t(145 - q), 16, ALIGN_CENTRE);
    label(464, int16_t(153 - q), flow_unit_text(), ALIGN_CENTRE);
    two_tank_rows(q);
    if (fp_shown()) fuel_pressure_readout({.x = 320, .y = 230, .width = 80, .thickness = 8}, true);
    if (engine_link_invalid()) cross_out(290, int16_t(150 - q), 350, int16_t(170 - q));
    if (vexa_lost()) cross_out(377, int16_t(150 - q), 437, int16_t(170 - q));
}

void layout_one_flow_two_tanks()
{
    int16_t s = fp_shown() ? 3 : 0;
    bool f1 = settings.flow1_on == 1, f2 = settings.flow2_on == 1;
    int32_t flow = (f1 && f2) ? combined_flow() : f1 ? fuel.fuel_flow[0] : fuel.fuel_flow[1];
    flow_value(flow, 380, int16_t(146 - s), 16, ALIGN_CENTRE);
    label(460, int16_t(155 - s), flow_unit_text(), ALIGN_CENTRE);
    two_tank_rows(s);
    if (fp_shown()) fuel_pressure_readout({.x = 320, .y = 230, .width = 80, .thickness = 8}, true);
    bool crossed = (f1 && !f2) ? engine_link_invalid() : vexa_lost();
    if (crossed) cross_out(350, int16_t(152 - s), 410, int16_t(172 - s));
}

} // namespace

void fuel_quantity_text(char* text, uint16_t v)
{
    uint8_t u = settings.fuel_unit;
    if (u > 5) text[0] = 0;
    else if ((u & 1) || settings.tank_resolution != 0) std::snprintf(text, 16, "%.1f", v * 0.1);
    else std::snprintf(text, 16, "%d", v);
}

void fuel_area()
{
    uint8_t config = derived.fuel_config;
    switch (config) {
    case 0: case 1: case 12: case 13: layout_single(config); break;
    case 2: case 3: layout_level_only(); break;
    case 4: layout_two_tanks(); break;
    case 5: case 6: layout_one_flow(); break;
    case 7: layout_two_flows(); break;
    case 8: layout_combined_and_both(); break;
    case 10: layout_two_flows_two_tanks(); break;
    case 11: case 14: layout_one_flow_two_tanks(); break;
    default: layout_pressure_only(); break; // 9, 15 and anything above
    }
}

void fuel_pressure_readout(const BarReadout& at, bool with_label)
{
    const int16_t x = at.x, y = at.y, w = at.width;
    const PressureSenderConfig& c = settings.fuel_pressure_cfg;
    int16_t v = senders.fuel_pressure;
    const Scale scale{.min = c.display_min, .max = c.display_max, .limits = record_limits(c)};
    bar_gauge({.x = x, .y = y, .width = w, .thickness = at.thickness, .scale = scale, .value = v});
    if (with_label) label(int16_t(x - 32), int16_t(y - 4), "FP");
    char text[16];
    if (c.unit == 1) std::snprintf(text, sizeof text, "%d", v);
    else std::snprintf(text, sizeof text, "%.1f", v * 0.1);
    text_with_level(int16_t(x + w + 15), int16_t(y - 5), text, 9, ALIGN_LEFT, 2, int16_t(y - 4),
                    int16_t(y + 11), limit_level(v, scale.limits));
    label(int16_t(x + w + 50), int16_t(y - 3), pressure_unit_text(c.unit));
    if (engine_link_invalid()) cross_out(290, int16_t(y - 5), 470, int16_t(y + 13));
}

void oat_column()
{
    char text[16];
    std::snprintf(text, sizeof text, "OAT (%s)", degree_unit_text(settings.oat_unit));
    label(446, 0, text, ALIGN_CENTRE);
    int16_t v = sens.oat_disp;
    if (v > (settings.oat_unit == 1 ? 300 : 150)) std::snprintf(text, sizeof text, "---");
    else std::snprintf(text, sizeof text, "%d", v);
    draw_text(446, 15, text, 9, ALIGN_CENTRE, COLOUR_WHITE);
    if ((v < settings.oat_low_alarm || v > settings.oat_high_alarm) && tick.blink_flag == 1)
        highlight_text(446, 15, text, 9, ALIGN_CENTRE, 2, 16, 31, COLOUR_RED, COLOUR_WHITE);
}

void ul_lane_lamps()
{
    static constexpr uint8_t SPANS[11] = {3, 7, 9, 9, 11, 11, 11, 9, 9, 7, 3};
    uint8_t state = ecu.ignition_state;
    uint8_t upper = (state == 12 || state == 4) ? COLOUR_GREEN : COLOUR_RED;
    uint8_t lower = (state == 12 || state == 8) ? COLOUR_GREEN : COLOUR_RED;
    for (int r = 0; r < 11; ++r) {
        int16_t half = int16_t(SPANS[r] / 2);
        draw_hline(int16_t(460 - half), int16_t(460 + half), int16_t(2 + r), upper);
        draw_hline(int16_t(460 - half), int16_t(460 + half), int16_t(15 + r), lower);
    }
}

} // namespace ems
