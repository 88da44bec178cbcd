#include "alarms/alarm_box.h"

#include <cstring>

#include "alarms/alarm_words.h"
#include "config/settings.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/senders.h"
#include "system/raw_inputs.h"
#include "ui/screen.h"

namespace ems {

const uint32_t ALARM_PRIORITY[ALARM_PRIORITY_COUNT] = {
    0x40,    0x80,    0x01,    0x02,    0x200,   0x04,    0x10,   0x08,   0x100,  0x20,
    0x4000,  0x8000,  0x10000, 0x20000, 0x80000, 0x40000, 0x400,  0x800,  0x1000, 0x2000,
};

namespace {

constexpr uint8_t BOX_FONT = 16;
constexpr uint8_t WHITE = 15;
constexpr uint8_t RED = 247;

// Analog input of an alarm bit (0..3), or -1 for other bits.
int aux_channel_of(uint32_t bit)
{
    for (int n = 0; n < 4; ++n)
        if (bit == (ALARM_AUX1 << n)) return n;
    return -1;
}

// out = label (at most `size` bytes, which need no terminator) + suffix.
void label_message(char* out, const char* label, size_t size, const char* suffix)
{
    size_t n = strnlen(label, size);
    if (n > ALARM_TEXT_SIZE - 1) n = ALARM_TEXT_SIZE - 1;
    std::memcpy(out, label, n);
    out[n] = 0;
    std::strncat(out, suffix, ALARM_TEXT_SIZE - 1 - n);
}

void copy_text(char* out, const char* text)
{
    std::strncpy(out, text, ALARM_TEXT_SIZE - 1);
    out[ALARM_TEXT_SIZE - 1] = 0;
}

// LOW when the low limit is enabled and the value is below it, as the channel judges.
template <typename Cfg>
bool below_low(const Cfg& cfg, int32_t value)
{
    const int16_t low = cfg.low_alarm;
    return cfg.low_alarm_on && value < low;
}

void aux_message(int n, char* out)
{
    const char* sep_low = " LOW";
    const char* sep_high = " HIGH";
    switch (settings.channel_mode[n]) {
    case CHANNEL_PRESSURE: {
        const PressureSenderConfig& c = settings.pressure_cfg[n];
        label_message(out, c.label, sizeof c.label,
                      below_low(c, senders.aux_pressure[n]) ? " PRESSURE LOW" : " PRESSURE HIGH");
        break;
    }
    case CHANNEL_TEMPERATURE: {
        const TemperatureSenderConfig& c = settings.temperature_cfg[n];
        label_message(out, c.label, sizeof c.label,
                      below_low(c, senders.aux_temp[n]) ? " TEMP LOW" : " TEMP HIGH");
        break;
    }
    case CHANNEL_CURRENT:
        copy_text(out, below_low(settings.current_cfg[n], senders.aux_current[n]) ? "CURRENT LOW" : "CURRENT HIGH");
        break;
    case CHANNEL_GENERIC: {
        const GenericSensorConfig& c = settings.generic_cfg[n];
        label_message(out, c.label, sizeof c.label, below_low(c, senders.aux_generic[n]) ? sep_low : sep_high);
        break;
    }
    default: out[0] = 0; break;
    }
}

} // namespace

uint32_t alarm_pending()
{
    const uint32_t pending = alarms.alarm_flags & ~alarms.alarm_acked;
    for (uint32_t bit : ALARM_PRIORITY) {
        if (!(pending & bit)) continue;
        const int n = aux_channel_of(bit);
        // A bit left behind by a channel that has since been switched off has
        // no message and nobody to clear it: it is not shown.
        if (n >= 0 && (settings.channel_mode[n] < CHANNEL_PRESSURE || settings.channel_mode[n] > CHANNEL_GENERIC))
            continue;
        return bit;
    }
    return 0;
}

uint8_t alarm_message(uint32_t bit, char* line1, char* line2)
{
    line1[0] = 0;
    line2[0] = 0;
    switch (bit) {
    case 0x01: {
        const uint32_t low = settings.rpm1_low_alarm;
        const bool is_low = settings.rpm1_low_alarm_on && int64_t(sens.rpm) < int64_t(low);
        label_message(line1, settings.rpm1_label, sizeof settings.rpm1_label, is_low ? " RPM LOW" : " RPM HIGH");
        return 1;
    }
    case 0x02: {
        const uint32_t low = settings.rpm2_low_alarm;
        const bool is_low = settings.rpm2_low_alarm_on && int64_t(raw.rpm2) < int64_t(low);
        label_message(line1, settings.rpm2_label, sizeof settings.rpm2_label, is_low ? " RPM LOW" : " RPM HIGH");
        return 1;
    }
    case 0x04: {
        const int16_t low = settings.map_low_alarm;
        copy_text(line1, settings.map_low_alarm_on && sens.map_disp < low ? "MAP LOW" : "MAP HIGH");
        return 1;
    }
    case 0x08: {
        const int16_t low = settings.oat_low_alarm;
        copy_text(line1, settings.oat_low_alarm_on && sens.oat_disp < low ? "OAT LOW" : "OAT HIGH");
        return 1;
    }
    case 0x10: {
        const int16_t low = settings.volts_low_alarm;
        copy_text(line1, settings.volts_low_alarm_on && sens.volts_x10 < uint16_t(low) ? "VOLTS LOW" : "VOLTS HIGH");
        return 1;
    }
    case 0x20:
        copy_text(line1, below_low(settings.main_current_cfg, sens.current_a) ? "CURRENT LOW" : "CURRENT HIGH");
        return 1;
    case 0x40: copy_text(line1, "FUEL LEVEL 1"); return 1;
    case 0x80: copy_text(line1, "FUEL LEVEL 2"); return 1;
    case 0x100:
        copy_text(line1, below_low(settings.fuel_pressure_cfg, senders.fuel_pressure) ? " FUEL PRESSURE LOW"
                                                                                     : " FUEL PRESSURE HIGH");
        return 1;
    case 0x200: copy_text(line1, "EGT/CHT HIGH"); return 1;
    case 0x4000: copy_text(line1, "AIR TEMP SENSOR FAULT"); return 1;
    case 0x8000:
        copy_text(line1, "THROTTLE POSITION");
        copy_text(line2, "SENSOR FAULT");
        return 2;
    case 0x10000: copy_text(line1, "MAP SENSOR FAULT"); return 1;
    case 0x20000: copy_text(line1, "OIL TEMP SENSOR FAULT"); return 1;
    case 0x40000: copy_text(line1, "POS-/SYNC SENSOR FAULT"); return 1;
    case 0x80000: copy_text(line1, "TURBO BOOST SENSOR FAULT"); return 1;
    default: break;
    }
    const int n = aux_channel_of(bit);
    if (n < 0) return 0;
    aux_message(n, line1);
    return line1[0] ? 1 : 0;
}

namespace {

// Red box with a white frame around the extent of `text` drawn centred at y 136.
void box_behind(const char* text)
{
    draw_text(240, 136, text, BOX_FONT, ALIGN_CENTRE, WHITE);
    const int16_t x1 = int16_t(text_start_x - 10);
    const int16_t x2 = int16_t(text_end_x + 10);
    fill_rect(x1, 105, x2, 165, RED);
    draw_rect(x1, 104, x2, 166, WHITE);
}

} // namespace

void alarm_box_1(const char* text)
{
    if (ScreenHandler != run_screen) return;
    box_behind(text);
    draw_text(240, 120, text, BOX_FONT, ALIGN_CENTRE, WHITE);
}

void alarm_box_2(const char* line1, const char* line2)
{
    if (ScreenHandler != run_screen) return;
    box_behind(line1);
    draw_text(240, 105, line1, BOX_FONT, ALIGN_CENTRE, WHITE);
    draw_text(240, 134, line2, BOX_FONT, ALIGN_CENTRE, WHITE);
}

void alarm_acknowledge()
{
    const uint32_t seen = alarms.alarm_shown & alarms.alarm_flags & ~alarms.alarm_acked;
    if (seen == 0 || KeyEvent == KEY_NONE) return;
    alarms.alarm_acked |= seen;
    KeyEvent = KEY_NONE;
}

void alarm_display()
{
    alarms.alarm_shown = 0;
    const uint32_t bit = alarm_pending();
    if (bit == 0 || ScreenHandler != run_screen) return;
    char line1[ALARM_TEXT_SIZE];
    char line2[ALARM_TEXT_SIZE];
    if (alarm_message(bit, line1, line2) == 2)
        alarm_box_2(line1, line2);
    else
        alarm_box_1(line1);
    alarms.alarm_shown = bit;
}

} // namespace ems
