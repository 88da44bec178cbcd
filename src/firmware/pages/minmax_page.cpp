#include "pages/minmax_page.h"

#include <cstdio>
#include <cstring>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "gps/gps_data.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/tick.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {
namespace {

constexpr uint8_t FONT = 8;
constexpr int16_t FIRST_X = 30;
constexpr int16_t SECOND_X = 270;
constexpr int16_t FIRST_Y = 40;
constexpr int16_t ROW_STEP = 15;
constexpr int16_t VALUE_DX = 135;
// The lowest row whose text stays clear of the frame at y 227: twelve rows a
// column. The rows of the first column never exceed it (twelve at most come
// before the thermocouples), and the thermocouples that follow fit in the two.
constexpr int16_t LAST_ROW_Y = FIRST_Y + 11 * ROW_STEP;

constexpr size_t TEXT = 48;

// Writes rows top to bottom, going on in the second column where the first
// is full; a row that fits in neither is left out rather than drawn across
// the frame.
struct RowWriter {
    int16_t x = FIRST_X;
    int16_t y = FIRST_Y;

    void row(const char* label, const char* value)
    {
        if (y > LAST_ROW_Y) {
            if (x == SECOND_X) return;
            x = SECOND_X;
            y = FIRST_Y;
        }
        draw_text(x, y, label, FONT, ALIGN_LEFT, COLOUR_SILVER);
        draw_text(int16_t(x + VALUE_DX), y, value, FONT, ALIGN_LEFT, COLOUR_WHITE);
        y = int16_t(y + ROW_STEP);
    }
};

// A settings label of `size` bytes (not necessarily terminated) + suffix.
void label_text(char* out, const char* label, size_t size, const char* suffix)
{
    std::snprintf(out, TEXT, "%.*s%s", int(strnlen(label, size)), label, suffix);
}

const char* pressure_unit_text(uint8_t unit) { return option_gauge_text(options::PRESSURE_UNIT, unit); }

const char* speed_unit_text() { return option_gauge_text(options::SPEED_UNIT, settings.speed_unit); }

// "%d" when the record's unit is psi, else "%.1f" of the tenths.
void pressure_value(char* out, uint8_t unit, int16_t v) { decimal_value_text(out, TEXT, v, unit == 1 ? 0 : 1); }

void pressure_row(RowWriter& w, uint8_t i)
{
    const PressureSenderConfig& c = settings.pressure_cfg[i];
    char unit_part[16];
    std::snprintf(unit_part, sizeof unit_part, " (%s):", pressure_unit_text(c.unit));
    char label[TEXT], value[TEXT];
    label_text(label, c.label, sizeof c.label, unit_part);
    pressure_value(value, c.unit, minmax.aux_pressure_max[i]);
    w.row(label, value);
}

void temperature_row(RowWriter& w, uint8_t i)
{
    const TemperatureSenderConfig& c = settings.temperature_cfg[i];
    char unit[8];
    temp_unit_text(unit, sizeof unit);
    char unit_part[16];
    std::snprintf(unit_part, sizeof unit_part, " (%s):", unit);
    char label[TEXT], value[TEXT];
    label_text(label, c.label, sizeof c.label, unit_part);
    std::snprintf(value, TEXT, "%d", int(minmax.aux_temp_max[i]));
    w.row(label, value);
}

// Analog channel 2 or 3 in any mode.
void channel_row(RowWriter& w, uint8_t i)
{
    char label[TEXT], value[TEXT];
    switch (channel_mode_in_use(i)) {
    case CHANNEL_PRESSURE: pressure_row(w, i); break;
    case CHANNEL_TEMPERATURE: temperature_row(w, i); break;
    case CHANNEL_CURRENT:
        std::snprintf(label, TEXT, "CH%d (A):", i + 1);
        std::snprintf(value, TEXT, "%d/%d", int(minmax.aux_current_min[i]), int(minmax.aux_current_max[i]));
        w.row(label, value);
        break;
    case CHANNEL_GENERIC: {
        const GenericSensorConfig& c = settings.generic_cfg[i];
        char unit_part[16];
        std::snprintf(unit_part, sizeof unit_part, " (%.*s):", int(strnlen(c.unit_label, sizeof c.unit_label)),
                      c.unit_label);
        label_text(label, c.label, sizeof c.label, unit_part);
        decimal_value_text(value, TEXT, minmax.aux_generic_max[i], c.decimals);
        w.row(label, value);
        break;
    }
    default: break;
    }
}

void draw_rows()
{
    RowWriter w;
    char label[TEXT], value[TEXT], a[16], b[16];

    label_text(label, settings.volts_label, sizeof settings.volts_label, " (V):");
    decimal_value_text(a, sizeof a, minmax.volts_min, 1);
    decimal_value_text(b, sizeof b, minmax.volts_max, 1);
    std::snprintf(value, TEXT, "%s/%s", a, b);
    w.row(label, value);

    if (settings.oat_display == 1) {
        char unit[8];
        oat_unit_text(unit, sizeof unit);
        std::snprintf(label, TEXT, "OAT (%s):", unit);
        std::snprintf(value, TEXT, "%d/%d", int(minmax.oat_min), int(minmax.oat_max));
        w.row(label, value);
    }
    if (settings.rpm1_display < 2) {
        label_text(label, settings.rpm1_label, sizeof settings.rpm1_label,
                   settings.rpm1_display == 0 ? " RPM:" : " RPM (%):");
        std::snprintf(value, TEXT, "%ld", long(minmax.rpm1_max));
        w.row(label, value);
    }
    if (settings.rpm2_display < 2) {
        label_text(label, settings.rpm2_label, sizeof settings.rpm2_label,
                   settings.rpm2_display == 0 ? " RPM:" : " RPM (%):");
        std::snprintf(value, TEXT, "%ld", long(minmax.rpm2_max));
        w.row(label, value);
    }
    if (settings.map_display == 1) {
        std::snprintf(label, TEXT, "MAP (%s):", option_gauge_text(options::MAP_UNIT, settings.map_unit));
        map_value_text(a, sizeof a, minmax.map_min);
        map_value_text(b, sizeof b, minmax.map_max);
        std::snprintf(value, TEXT, "%s/%s", a, b);
        w.row(label, value);
    }
    if (gps.gps_fix_valid == 1) {
        std::snprintf(label, TEXT, "GPS GS (%s):", speed_unit_text());
        std::snprintf(value, TEXT, "%d", int(minmax.gps_speed_max));
        w.row(label, value);
    }
    if (channel_mode_in_use(0) == CHANNEL_TEMPERATURE) temperature_row(w, 0);
    if (channel_mode_in_use(1) == CHANNEL_PRESSURE) pressure_row(w, 1);
    channel_row(w, 2);
    channel_row(w, 3);
    if (settings.fuel_pressure_display == 1) {
        const uint8_t unit = settings.fuel_pressure_cfg.unit;
        std::snprintf(label, TEXT, "FUEL P (%s):", pressure_unit_text(unit));
        pressure_value(value, unit, minmax.fuel_pressure_max);
        w.row(label, value);
    }
    if (settings.current_display == 1) {
        std::snprintf(value, TEXT, "%d/%d", int(minmax.current_min), int(minmax.current_max));
        w.row("AMPS (A):", value);
    }

    char unit[8];
    temp_unit_text(unit, sizeof unit);
    const int egt = settings.egt_channels;
    int channels = egt + settings.cht_channels;
    if (channels > 12) channels = 12; // tc_max has twelve entries
    for (int i = 0; i < channels; ++i) {
        if (i < egt)
            std::snprintf(label, TEXT, "EGT %d (%s):", i + 1, unit);
        else
            std::snprintf(label, TEXT, "CHT %d (%s):", i - egt + 1, unit);
        std::snprintf(value, TEXT, "%d", int(minmax.tc_max[i]));
        w.row(label, value);
    }
}

} // namespace

void screen_minmax()
{
    soft_key_labels("MIN/MAX", "EXIT", "RESET", nullptr, nullptr, nullptr);
    fill_rect(11, 11, 469, 228, COLOUR_BLACK);
    draw_rect(10, 10, 470, 227, COLOUR_WHITE);
    draw_text(240, 15, "MIN/MAX", 10, ALIGN_CENTRE, COLOUR_RED);
    draw_rows();

    tick.quick_menu_countdown = 10;
    if (KeyEvent == KEY_SOFT1)
        tick.quick_menu_countdown = 0;
    else if (KeyEvent == KEY_SOFT2)
        minmax_reset();
    KeyEvent = KEY_NONE;
}

} // namespace ems
