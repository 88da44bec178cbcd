// Section index: bars; arrows and scroll indicator; list rows and the icon
// frame; step labels; value texts; navigation.
#include "ui/widgets.h"

#include <cstdio>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "settings/options.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"

namespace ems {

namespace {

constexpr uint8_t FONT_LIST = 8;
constexpr int16_t LCD_LAST_X = LCD_WIDTH - 1;
constexpr int16_t SEPARATOR_X[5] = {74, 148, 222, 296, 371};

const char* or_empty(const char* text) { return text ? text : ""; }

// True when screen row `row` shows the selected item.
bool row_selected(int row) { return row + nav.menu_scroll == nav.menu_cursor; }

// Centred white text in soft-key slot 3 (the step label's place).
void slot3_text(const char* text)
{
    draw_text(SOFT_KEY_SLOT_X[2], SOFT_KEY_TEXT_Y, text, FONT_LIST, ALIGN_CENTRE, COLOUR_WHITE);
}

// Index of edit_step among 1, 10, 100, 1000; -1 for any other step.
int step_index()
{
    switch (nav.edit_step) {
    case 1: return 0;
    case 10: return 1;
    case 100: return 2;
    case 1000: return 3;
    default: return -1;
    }
}

// The label for the present step out of up to four texts (null = none);
// draws it when item is selected. Returns false when the step has no text.
bool step_label(uint8_t item, const char* const (&texts)[4])
{
    if (item != nav.menu_cursor) return true;
    const int i = step_index();
    if (i < 0 || texts[i] == nullptr) return false;
    slot3_text(texts[i]);
    return true;
}

} // namespace

// ---- Bars ----------------------------------------------------------------------

void title_bar(const char* title, const char* subtitle)
{
    clear_screen();
    draw_text(5, 2, "S", 20, ALIGN_LEFT, COLOUR_RED);
    draw_text(30, 2, "orvik", 20, ALIGN_LEFT, COLOUR_WHITE);
    draw_text(478, 0, or_empty(title), 10, ALIGN_RIGHT, COLOUR_RED);
    draw_text(478, 20, or_empty(subtitle), 10, ALIGN_RIGHT, COLOUR_WHITE);
    draw_hline(0, LCD_LAST_X, 40, COLOUR_WHITE);
}

void soft_key_bar(uint8_t flags)
{
    draw_hline(0, LCD_LAST_X, 250, COLOUR_WHITE);
    for (int16_t x : SEPARATOR_X) draw_vline(250, 271, x, COLOUR_WHITE);
    draw_text(SOFT_KEY_SLOT_X[0], SOFT_KEY_TEXT_Y, "EXIT", FONT_LIST, ALIGN_CENTRE, COLOUR_WHITE);
    rotary_symbol();
    if (flags & 1)
        draw_text(SOFT_KEY_SLOT_X[1], SOFT_KEY_TEXT_Y, "BACK", FONT_LIST, ALIGN_CENTRE,
                  COLOUR_WHITE);
}

void soft_key_labels(const char* caption, const char* label1, const char* label2,
                     const char* label3, const char* label4, const char* label5)
{
    fill_rect(0, 250, 370, 271, COLOUR_BLACK);
    draw_hline(0, 370, 250, COLOUR_WHITE);
    draw_vline(250, 271, 371, COLOUR_WHITE);
    fill_rect(0, 230, 148, 249, COLOUR_BLACK);
    draw_hline(0, 148, 229, COLOUR_WHITE);
    for (int16_t x : {int16_t(74), int16_t(222), int16_t(296)})
        draw_vline(250, 271, x, COLOUR_WHITE);
    draw_vline(230, 271, 148, COLOUR_WHITE);
    draw_text(74, 231, or_empty(caption), FONT_LIST, ALIGN_CENTRE, COLOUR_RED);
    const char* labels[5] = {label1, label2, label3, label4, label5};
    const int16_t centres[5] = {37, 112, 186, 260, 334};
    for (int i = 0; i < 5; ++i)
        draw_text(centres[i], SOFT_KEY_TEXT_Y, or_empty(labels[i]), FONT_LIST, ALIGN_CENTRE,
                  COLOUR_WHITE);
}

void rotary_symbol()
{
    constexpr uint8_t c = COLOUR_WHITE;
    draw_arc(428, 274, 20, 220, 320, c);
    // Left arrowhead.
    draw_line(408, 259, 418, 264, c);
    draw_line(408, 259, 410, 268, c);
    draw_line(418, 264, 410, 268, c);
    draw_pixel(409, 260, c);
    draw_pixel(409, 261, c);
    draw_pixel(416, 264, c);
    draw_vline(261, 267, 410, c);
    draw_vline(261, 266, 411, c);
    draw_vline(262, 266, 412, c);
    for (int16_t x = 413; x <= 415; ++x) draw_vline(263, 265, x, c);
    // Right arrowhead.
    draw_line(438, 264, 448, 259, c);
    draw_line(438, 264, 446, 268, c);
    draw_line(448, 259, 446, 268, c);
    draw_pixel(447, 261, c);
    draw_pixel(440, 264, c);
    draw_pixel(441, 264, c);
    draw_vline(263, 265, 442, c);
    draw_vline(263, 265, 443, c);
    draw_vline(262, 266, 444, c);
    draw_vline(262, 266, 445, c);
    draw_vline(261, 265, 446, c);
}

// ---- Arrows and scroll indicator ---------------------------------------------

void next_arrow()
{
    fill_rect(315, 258, 345, 264, COLOUR_WHITE);
    for (int16_t k = 0; k <= 8; ++k)
        draw_vline(int16_t(253 + k), int16_t(269 - k), int16_t(346 + k), COLOUR_WHITE);
}

void prev_arrow(int16_t x)
{
    fill_rect(int16_t(x + 9), 258, int16_t(x + 39), 264, COLOUR_WHITE);
    for (int16_t k = 0; k <= 8; ++k)
        draw_vline(int16_t(253 + k), int16_t(269 - k), int16_t(x + 8 - k), COLOUR_WHITE);
}

void scroll_indicator(uint8_t selected, uint8_t count)
{
    draw_vline(45, 245, 470, COLOUR_WHITE);
    if (count == 0) return; // no items: no thumb (and no division by zero)
    if (selected >= count) selected = uint8_t(count - 1);
    const int32_t c = 2000 / count;
    const int32_t top = (c * selected + 450) / 10;
    const int32_t bottom = top + c / 10;
    for (int32_t y = top; y <= bottom; ++y)
        draw_hline(465, 475, int16_t(y), COLOUR_WHITE);
}

// ---- List rows and the icon frame ---------------------------------------------

void list_row(int row, const char* label, const char* value)
{
    if (row < 0 || row >= LIST_ROWS) return;
    const bool selected = row_selected(row);
    const int16_t y = int16_t(LIST_Y + LIST_ROW_HEIGHT * row);
    draw_text(LIST_X, y, or_empty(label), FONT_LIST, ALIGN_LEFT,
              selected && nav.edit_active == 0 ? COLOUR_RED : COLOUR_WHITE);
    draw_text(text_end_x, y, or_empty(value), FONT_LIST, ALIGN_LEFT,
              selected ? COLOUR_RED : COLOUR_WHITE);
}

void list_row_text(int row, const char* label, const char* text, uint8_t length)
{
    if (row < 0 || row >= LIST_ROWS) return;
    // Only the row's own characters: a field without its terminator shows no more.
    char chars[17] = {};
    if (length > 16) length = 16;
    uint8_t n = 0;
    for (const char* t = or_empty(text); n < length && t[n]; ++n) chars[n] = t[n];

    const bool selected = row_selected(row);
    const bool editing = selected && nav.edit_active != 0;
    const uint8_t colour = selected && !editing ? COLOUR_RED : COLOUR_WHITE;
    const int16_t y = int16_t(LIST_Y + LIST_ROW_HEIGHT * row);
    draw_text(LIST_X, y, or_empty(label), FONT_LIST, ALIGN_LEFT, colour);
    const int16_t value_x = text_end_x;
    draw_text(value_x, y, chars, FONT_LIST, ALIGN_LEFT, colour);
    if (!editing) return;
    // Each character again over itself, the one being edited in red.
    int16_t x = value_x;
    for (uint8_t i = 0; i < n; ++i) {
        const char one[2] = {chars[i], 0};
        draw_text(x, y, one, FONT_LIST, ALIGN_LEFT,
                  i == nav.edit_cursor ? COLOUR_RED : COLOUR_WHITE);
        x = text_end_x;
    }
    text_end_x = x;
}

void list_row_text3(int row, const char* label, const char* text) { list_row_text(row, label, text, 3); }
void list_row_text4(int row, const char* label, const char* text) { list_row_text(row, label, text, 4); }
void list_row_text6(int row, const char* label, const char* text) { list_row_text(row, label, text, 6); }

void menu_select_frame(uint8_t cell)
{
    if (cell > 7) return;
    const int16_t x0 = int16_t(128 * (cell % 4));
    const int16_t y0 = int16_t(100 * (cell / 4));
    constexpr uint8_t c = COLOUR_RED;
    for (int16_t d = 0; d <= 1; ++d) {
        // Horizontal pieces, top corners then bottom corners.
        for (int16_t y : {int16_t(y0 + 48 + d), int16_t(y0 + 139 + d)}) {
            draw_hline(int16_t(x0 + 2), int16_t(x0 + 14), y, c);
            draw_hline(int16_t(x0 + 82), int16_t(x0 + 94), y, c);
        }
        // Vertical pieces, left columns then right columns.
        for (int16_t x : {int16_t(x0 + 2 + d), int16_t(x0 + 93 + d)}) {
            draw_vline(int16_t(y0 + 50), int16_t(y0 + 60), x, c);
            draw_vline(int16_t(y0 + 128), int16_t(y0 + 138), x, c);
        }
    }
}

int16_t menu_icon_x(uint8_t cell) { return int16_t(128 * (cell % 4) + 23); }
int16_t menu_icon_y(uint8_t cell) { return cell % 8 < 4 ? 54 : 153; }

// ---- Step labels ----------------------------------------------------------------

void step_label_int(uint8_t item)
{
    static const char* const texts[4] = {"X1", "X10", "X100", "X1000"};
    step_label(item, texts);
}

void step_label_1dp(uint8_t item)
{
    static const char* const texts[4] = {"X0.1", "X1.0", "X10.0", nullptr};
    if (!step_label(item, texts)) nav.edit_step = 1;
}

void step_label_2dp(uint8_t item)
{
    static const char* const texts[4] = {"X0.01", "X0.1", "X1.0", "X10.0"};
    if (!step_label(item, texts)) nav.edit_step = 1;
}

void step_label_kind(uint8_t kind, uint8_t item)
{
    static const char* const whole[4] = {"X1", "X10", "X100", nullptr};
    static const char* const tenths[4] = {"X0.1", "X1.0", "X10.0", nullptr};
    step_label(item, kind == 1 ? whole : tenths);
}

void step_label_decimals(uint8_t item, uint8_t decimals)
{
    static const char* const texts[3][4] = {
        {"X1", "X10", "X100", nullptr},
        {"X0.1", "X1.0", "X10.0", nullptr},
        {"X0.01", "X0.10", "X1.00", nullptr},
    };
    if (decimals > 2) return;
    step_label(item, texts[decimals]);
}

void step_label_texts(uint8_t item, const char* const (&texts)[4]) { step_label(item, texts); }

// ---- Value texts ------------------------------------------------------------------

void temp_unit_text(char* out, size_t size)
{
    if (size) std::snprintf(out, size, "%s", option_gauge_text(options::DEGREE_UNIT, settings.temp_unit));
}

void oat_unit_text(char* out, size_t size)
{
    if (size) std::snprintf(out, size, "%s", option_gauge_text(options::DEGREE_UNIT, settings.oat_unit));
}

void map_value_text(char* out, size_t size, int32_t value)
{
    decimal_value_text(out, size, value, settings.map_unit == 0 ? 0 : 1);
}

void decimal_value_text(char* out, size_t size, int32_t value, uint8_t decimals)
{
    if (size == 0) return;
    if (decimals != 1 && decimals != 2) {
        std::snprintf(out, size, "%ld", long(value));
        return;
    }
    // Whole part and fraction in digits: the text "%.1f" / "%.2f" gives for
    // value / 10 or value / 100, without going through a float.
    const long long v = value;
    const unsigned long long magnitude = static_cast<unsigned long long>(v < 0 ? -v : v);
    const unsigned divisor = decimals == 1 ? 10 : 100;
    std::snprintf(out, size, "%s%llu.%0*llu", v < 0 ? "-" : "", magnitude / divisor,
                  int(decimals), magnitude % divisor);
}

// ---- Navigation -----------------------------------------------------------------

void exit_to_run_screen()
{
    go_to(ScreenId::RUN, nav.menu_cursor);
    tick.quick_menu_countdown = 0;
    nav.edit_active = 0;
    nav.menu_scroll = 0;
    settings_changed();
}

void enter_list(uint8_t row)
{
    nav.page_counter = 0;
    nav.edit_active = 0;
    nav.menu_cursor = row;
    nav.menu_scroll = 0;
    nav.edit_step = 1;
}

void back_to_main_menu(uint8_t row)
{
    go_to(ScreenId::MAIN_MENU, row);
    nav.edit_step = 1;
    nav.edit_active = 0;
}

} // namespace ems
