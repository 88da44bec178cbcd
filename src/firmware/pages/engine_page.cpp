// The engine page: EGT/CHT area (lower left), RPM/MAP gauges and the readout
// grid (gauge band, rows 32..144), top strip, fuel area (lower right) and the
// separators, drawn in that order over a cleared screen.
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "gps/gps_data.h"
#include "pages/fuel_page.h"
#include "pages/gauges.h"
#include "pages/run_screen.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/tick.h"
#include "ui/widgets.h"

namespace ems {
namespace {

constexpr uint8_t FONT = 8;

// Slot tables: columns and rows of each grid state for T readouts.
struct GridLayout {
    uint8_t columns, rows;
    int16_t col[3], row[3], w, t;
};

// By grid state and T = 1..6 (index T - 1).
constexpr GridLayout GRID[3][6] = {
    // 0: full width
    {{1, 1, {165}, {93}, 150, 10},
     {2, 1, {80, 280}, {93}, 130, 10},
     {3, 1, {15, 175, 330}, {93}, 130, 10},
     {2, 2, {80, 280}, {65, 117}, 130, 10},
     {3, 2, {15, 175, 330}, {65, 117}, 130, 10},
     {3, 2, {15, 175, 330}, {65, 117}, 130, 10}},
    // 1: from x = 132
    {{1, 1, {230}, {93}, 150, 10},
     {2, 1, {165, 325}, {93}, 130, 10},
     {2, 2, {165, 325}, {65, 117}, 130, 10},
     {2, 2, {165, 325}, {65, 117}, 130, 10},
     {2, 3, {165, 325}, {54, 93, 131}, 130, 8},
     {2, 3, {165, 325}, {54, 93, 131}, 130, 8}},
    // 2: from x = 252
    {{1, 1, {300}, {93}, 130, 10},
     {1, 2, {300}, {65, 117}, 130, 10},
     {2, 2, {258, 378}, {65, 117}, 97, 8},
     {2, 2, {258, 378}, {65, 117}, 97, 8},
     {2, 3, {258, 378}, {54, 93, 131}, 97, 8},
     {2, 3, {258, 378}, {54, 93, 131}, 97, 8}},
};

// Bar position and size of readout k of t in grid state g; false outside the tables.
struct GridSlot {
    int16_t x, y, w, t;
};

bool grid_slot(uint8_t g, uint8_t t, uint8_t k, GridSlot& slot)
{
    if (g > 2 || t < 1 || t > 6 || k >= t) return false;
    const GridLayout& l = GRID[g][t - 1];
    // Column by column, top to bottom.
    slot = {l.col[k / l.rows], l.row[k % l.rows], l.w, l.t};
    return true;
}

void egt_cht_area()
{
    if (settings.egt_channels == 0 && settings.cht_channels == 0) return;
    if (settings.egt_channels > 0)
        egt_group({.x = 0, .width = egt_group_width(), .bar_height = 77});
    if (settings.cht_channels > 0) cht_group();
    char unit[8];
    temp_unit_text(unit, sizeof unit);
    draw_text(260, 258, unit, FONT, ALIGN_LEFT, COLOUR_SILVER);
    if (ecu.vexa_data_valid == 0) cross_out(0, 150, 275, 270);
}

// RPM/MAP part of the gauge band; returns the grid state it leaves for the readouts.
uint8_t rpm_map_band()
{
    const bool checking = tick.mag_check_countdown != 0;
    const bool map_on = settings.map_display == 1;
    const bool rpm1_on = settings.rpm1_display < 2;
    if (settings.rpm2_display != 2) {
        draw_vline(32, 144, 251, COLOUR_SILVER);
        if (checking)
            mag_check_twin();
        else
            twin_rpm_gauge(45, 33);
        if (map_on) {
            draw_vline(110, 144, 181, COLOUR_SILVER);
            draw_hline(181, 251, 110, COLOUR_SILVER);
            map_compact({.value = {240, 123}, .label = {185, 110}, .unit = {222, 110}});
        }
        return 2;
    }
    if (map_on && rpm1_on) {
        map_dial({.dial = {.centre = {61, 100}, .radius = 60, .band = 7, .needle_from = 25},
                  .label = {37, 123},
                  .value = {76, 85},
                  .unit = {80, 123}});
        if (checking) {
            mag_check_single();
        } else {
            rpm_dial({.centre = {180, 100}, .radius = 60, .band = 7, .needle_from = 25});
            rpm1_readout({.value = {200, 85}, .label = {200, 129}, .align = ALIGN_CENTRE});
        }
        draw_vline(32, 144, 249, COLOUR_SILVER);
        return 2;
    }
    if (map_on) {
        map_dial({.dial = {.centre = {70, 100}, .radius = 60, .band = 7, .needle_from = 25},
                  .label = {50, 123},
                  .value = {85, 85},
                  .unit = {93, 123}});
        draw_vline(32, 144, 131, COLOUR_SILVER);
        return 1;
    }
    if (rpm1_on) {
        if (checking) {
            mag_check_single();
        } else {
            rpm_dial({.centre = {61, 100}, .radius = 60, .band = 7, .needle_from = 25});
            rpm1_readout({.value = {85, 85}, .label = {85, 129}, .align = ALIGN_CENTRE});
        }
        draw_vline(32, 144, 131, COLOUR_SILVER);
        return 1;
    }
    return 0;
}

void readout_grid(uint8_t grid)
{
    uint8_t list[7];
    bool oat_moved = false;
    const uint8_t t = engine_readouts(list, oat_moved);
    for (uint8_t k = 0; k < t; ++k) {
        GridSlot s{};
        if (!grid_slot(grid, t, k, s)) break;
        const BarReadout at{.x = s.x, .y = s.y, .width = s.w, .thickness = s.t};
        switch (list[k]) {
        case READOUT_VOLTS: volts_readout(at); break;
        case READOUT_CURRENT: current_readout(at); break;
        case READOUT_OAT: oat_readout(at); break;
        default: {
            const uint8_t i = uint8_t(list[k] - READOUT_AUX0);
            aux_readout(i, channel_mode_in_use(i), at);
            break;
        }
        }
    }
}

const char* speed_unit_text() { return option_gauge_text(options::SPEED_UNIT, settings.speed_unit); }

const char* distance_unit_text()
{
    const uint8_t u = settings.fuel_unit;
    return u <= 1 ? "sm" : u <= 3 ? "nm" : "km";
}

// Remaining time, speed and range under the fuel widget.
void fuel_computer_lines(uint8_t fc)
{
    const bool fp = settings.fuel_pressure_display == 1;
    const int16_t y1 = fp ? 243 : 235;
    const int16_t y2 = fp ? 258 : 250;
    char text[24];

    draw_text(288, y1, "TIME REMAIN:", FONT, ALIGN_LEFT, COLOUR_SILVER);
    const uint16_t left = fuel.fuel_time_left;
    if (left == FUEL_NOT_AVAILABLE)
        std::snprintf(text, sizeof text, "-:--");
    else
        std::snprintf(text, sizeof text, "%u:%02u", unsigned(left / 60), unsigned(left % 60));
    draw_text(403, y1, text, FONT, ALIGN_LEFT, COLOUR_WHITE);

    if (fc < 2 || (fc >= 10 && fc <= 14)) {
        draw_text(288, y2, "S:", FONT, ALIGN_LEFT, COLOUR_SILVER);
        if (gps.gps_fix_valid == 1) {
            std::snprintf(text, sizeof text, "%d", int(gps.gps_speed));
            draw_text(335, y2, text, FONT, ALIGN_RIGHT, COLOUR_MAGENTA);
        } else {
            const uint16_t cruise = settings.cruise_speed;
            std::snprintf(text, sizeof text, "%d", int(cruise));
            draw_text(335, y2, text, FONT, ALIGN_RIGHT, COLOUR_WHITE);
        }
        // The ground speed is held in speed_unit; the cruising speed stands in
        // for it in the range and is entered in the fuel unit's speed.
        draw_text(370, y2, gps.gps_fix_valid == 1 ? speed_unit_text() : fuel_speed_unit_text(), FONT, ALIGN_RIGHT,
                  COLOUR_SILVER);
    }

    draw_text(390, y2, "R:", FONT, ALIGN_LEFT, COLOUR_SILVER);
    const uint16_t range = fuel.fuel_range;
    if (range == FUEL_NOT_AVAILABLE)
        std::snprintf(text, sizeof text, "-");
    else
        std::snprintf(text, sizeof text, "%u", unsigned(range));
    draw_text(450, y2, text, FONT, ALIGN_RIGHT, COLOUR_WHITE);
    draw_text(int16_t(text_end_x + 2), y2, distance_unit_text(), FONT, ALIGN_LEFT, COLOUR_SILVER);
}

void separators()
{
    draw_hline(0, 479, 31, COLOUR_SILVER);
    draw_hline(0, 479, 145, COLOUR_SILVER);
    draw_vline(146, 271, 280, COLOUR_SILVER);
}

} // namespace

uint8_t engine_readouts(uint8_t list[7], bool& oat_moved)
{
    uint8_t n = 0;
    list[n++] = READOUT_VOLTS;
    if (settings.current_display == 1) list[n++] = READOUT_CURRENT;
    const bool oat = settings.oat_display == 1;
    if (oat) list[n++] = READOUT_OAT;
    // Channels claimed by NTC CHT probes are OFF as analog channels.
    for (uint8_t i = 0; i < 4; ++i) {
        if (channel_mode_in_use(i) == CHANNEL_OFF) continue;
        list[n++] = uint8_t(READOUT_AUX0 + i);
    }
    oat_moved = n == 7;
    if (oat_moved) {
        // OAT leaves the grid for the top strip; the rest close up.
        for (uint8_t k = 2; k < 6; ++k) list[k] = list[k + 1];
        n = 6;
    }
    return n;
}

void page_engine()
{
    clear_screen();
    egt_cht_area();
    const uint8_t grid = rpm_map_band();
    readout_grid(grid);
    uint8_t list[7];
    bool oat_moved = false;
    engine_readouts(list, oat_moved);
    top_strip(oat_moved);
    fuel_area();
    const uint8_t fc = derived.fuel_config;
    if (fc < 2 || fc > 9) fuel_computer_lines(fc);
    separators();
}

} // namespace ems
