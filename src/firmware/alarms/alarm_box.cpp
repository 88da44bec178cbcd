#include "alarms/alarm_box.h"

#include <cstring>

#include "alarms/alarm_table.h"
#include "alarms/alarm_words.h"
#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "settings/settings.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"

namespace ems {

namespace {

constexpr uint8_t BOX_FONT = 16;

// The label a message starts with: its characters (not always terminated) and
// the size of the settings field holding it; an empty label for none.
struct Label {
    const char* text = "";
    size_t size = 0;
};

template <size_t N>
Label label(const char (&field)[N])
{
    return {field, N};
}

Label input_label(int n)
{
    switch (channel_mode_in_use(uint8_t(n))) {
    case CHANNEL_PRESSURE: return label(settings.pressure_cfg[n].label);
    case CHANNEL_TEMPERATURE: return label(settings.temperature_cfg[n].label);
    case CHANNEL_GENERIC: return label(settings.generic_cfg[n].label);
    default: return {};
    }
}

Label label_of(const AlarmText& t, int input)
{
    switch (t.label) {
    case AlarmLabel::RPM1: return label(settings.rpm1_label);
    case AlarmLabel::RPM2: return label(settings.rpm2_label);
    case AlarmLabel::INPUT: return input_label(input);
    case AlarmLabel::NONE: break;
    }
    return {};
}

// The text of a row: its own, or for an analog input the one of its
// channel_mode; nullptr for an input that is switched off.
const AlarmText* text_of(const AlarmRow& row)
{
    if (row.message.input < 0) return &row.message;
    const uint8_t mode = channel_mode_in_use(uint8_t(row.message.input));
    if (mode < CHANNEL_PRESSURE || mode > CHANNEL_GENERIC) return nullptr;
    return &ANALOG_INPUT_TEXTS[mode - CHANNEL_PRESSURE];
}

const AlarmRow* row_of(uint32_t bit)
{
    for (const AlarmRow& row : ALARM_ROWS)
        if (row.bit == bit) return &row;
    return nullptr;
}

// Appends at most `size` characters of `text` to `out` (ALARM_TEXT_SIZE bytes).
void append(char* out, const char* text, size_t size)
{
    const size_t used = std::strlen(out);
    size_t n = strnlen(text, size);
    if (n > ALARM_TEXT_SIZE - 1 - used) n = ALARM_TEXT_SIZE - 1 - used;
    std::memcpy(out + used, text, n);
    out[used + n] = 0;
}

void append(char* out, const char* text) { append(out, text, ALARM_TEXT_SIZE); }

} // namespace

uint32_t alarm_pending()
{
    const uint32_t pending = alarms.alarm_flags & ~alarms.alarm_acked;
    for (const AlarmRow& row : ALARM_ROWS) {
        // A bit left behind by an analog input that has since been switched
        // off has no message and nobody to clear it: it is not shown.
        if ((pending & row.bit) && text_of(row)) return row.bit;
    }
    return 0;
}

uint8_t alarm_message(uint32_t bit, char* line1, char* line2)
{
    line1[0] = 0;
    line2[0] = 0;
    const AlarmRow* row = row_of(bit);
    const AlarmText* t = row ? text_of(*row) : nullptr;
    if (!t) return 0;
    const Label l = label_of(*t, row->message.input);
    append(line1, l.text, l.size);
    append(line1, t->text);
    if (t->sided) append(line1, (alarms.alarm_low & bit) ? " LOW" : " HIGH");
    if (!t->line2) return 1;
    append(line2, t->line2);
    return 2;
}

namespace {

// Red box with a white frame around the extent of `text` drawn centred at y 136.
void box_behind(const char* text)
{
    draw_text(240, 136, text, BOX_FONT, ALIGN_CENTRE, COLOUR_WHITE);
    const int16_t x1 = int16_t(text_start_x - 10);
    const int16_t x2 = int16_t(text_end_x + 10);
    fill_rect(x1, 105, x2, 165, COLOUR_RED);
    draw_rect(x1, 104, x2, 166, COLOUR_WHITE);
}

} // namespace

void alarm_box_1(const char* text)
{
    if (!showing(ScreenId::RUN)) return;
    box_behind(text);
    draw_text(240, 120, text, BOX_FONT, ALIGN_CENTRE, COLOUR_WHITE);
}

void alarm_box_2(const char* line1, const char* line2)
{
    if (!showing(ScreenId::RUN)) return;
    box_behind(line1);
    draw_text(240, 105, line1, BOX_FONT, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 134, line2, BOX_FONT, ALIGN_CENTRE, COLOUR_WHITE);
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
    if (bit == 0 || !showing(ScreenId::RUN)) return;
    char line1[ALARM_TEXT_SIZE];
    char line2[ALARM_TEXT_SIZE];
    if (alarm_message(bit, line1, line2) == 2)
        alarm_box_2(line1, line2);
    else
        alarm_box_1(line1);
    alarms.alarm_shown = bit;
}

} // namespace ems
