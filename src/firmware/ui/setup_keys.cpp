// Section index: key rules; row values; rows drawn; row keys; the page pass.
#include "ui/setup_keys.h"

#include <cstdio>

#include "settings/options.h"
#include "ui/navigation.h"
#include "ui/widgets.h"

namespace ems {

// ---- Key rules ---------------------------------------------------------------

uint8_t cursor_next(uint8_t cursor, uint8_t count)
{
    if (count == 0) return 0;
    return cursor + 1 >= count ? 0 : uint8_t(cursor + 1);
}

uint8_t cursor_prev(uint8_t cursor, uint8_t count)
{
    if (count == 0) return 0;
    if (cursor == 0 || cursor > count) return uint8_t(count - 1);
    return uint8_t(cursor - 1);
}

int32_t number_up(int32_t value, int32_t step, int32_t min, int32_t max)
{
    return value + step > max ? min : value + step;
}

int32_t number_down(int32_t value, int32_t step, int32_t min, int32_t max)
{
    return value - step < min ? max : value - step;
}

int32_t number_up_clamped(int32_t value, int32_t min, int32_t max, int32_t step)
{
    if (value < min) return min;
    return value + step > max ? max : value + step;
}

int32_t number_down_clamped(int32_t value, int32_t min, int32_t max, int32_t step)
{
    if (value > max) return max;
    return value - step < min ? min : value - step;
}

int32_t option_next(int32_t index, int32_t count)
{
    if (count <= 0 || index < 0 || index + 1 >= count) return 0;
    return index + 1;
}

int32_t option_prev(int32_t index, int32_t count)
{
    if (count <= 0) return 0;
    if (index <= 0 || index >= count) return count - 1;
    return index - 1;
}

uint8_t flag_toggle(int32_t value) { return value == 0 ? 1 : 0; }

char text_char_next(char c)
{
    const uint8_t u = uint8_t(c);
    return u < 32 || u >= 126 ? ' ' : char(u + 1);
}

char text_char_prev(char c)
{
    const uint8_t u = uint8_t(c);
    return u <= 32 || u > 126 ? '~' : char(u - 1);
}

uint16_t step_cycle(uint16_t step, uint16_t largest)
{
    const bool power_of_ten = step == 1 || step == 10 || step == 100 || step == 1000;
    if (!power_of_ten || step >= largest) return 1;
    return uint16_t(step * 10);
}

// ---- Row values ------------------------------------------------------------------

namespace {

RowRange range_of(const SetupRow& row)
{
    return row.range ? row.range() : RowRange{row.min, row.max};
}

int32_t value_of(const SetupRow& row) { return row.get ? row.get() : 0; }

void store(const SetupRow& row, int32_t value)
{
    if (row.set) row.set(value);
}

// Before a label is edited, a text that ends early is filled with blanks to
// its full length, so that every character being edited is also shown.
void pad_text(const SetupRow& row)
{
    char* t = row.text ? row.text() : nullptr;
    if (t == nullptr) return;
    const uint8_t length = row.text_length > 16 ? 16 : row.text_length;
    bool ended = false;
    for (uint8_t i = 0; i < length; ++i) {
        if (t[i] == 0) ended = true;
        if (ended) t[i] = ' ';
    }
    t[length] = 0;
}

bool is_number(const SetupRow& row) { return row.kind == RowKind::Number; }

// Changes the value of the selected row by one click (key 7 up, key 8 down).
void change_value(const SetupRow& row, bool up)
{
    switch (row.kind) {
    case RowKind::Number: {
        const RowRange r = range_of(row);
        const int32_t v = value_of(row);
        if (row.flags & ROW_CLAMPED) {
            const int32_t step = row.step_scale ? row.step_scale() : 1;
            store(row, up ? number_up_clamped(v, r.min, r.max, step) : number_down_clamped(v, r.min, r.max, step));
        } else {
            const int32_t step = int32_t(nav.edit_step) * (row.step_scale ? row.step_scale() : 1);
            store(row, up ? number_up(v, step, r.min, r.max) : number_down(v, step, r.min, r.max));
        }
        break;
    }
    case RowKind::Flag:
        store(row, flag_toggle(value_of(row)));
        break;
    case RowKind::Option:
        store(row, up ? option_next(value_of(row), row.option_count)
                      : option_prev(value_of(row), row.option_count));
        break;
    case RowKind::Text: {
        char* t = row.text ? row.text() : nullptr;
        if (t == nullptr || nav.edit_cursor >= row.text_length || nav.edit_cursor >= 16) break;
        t[nav.edit_cursor] = up ? text_char_next(t[nav.edit_cursor]) : text_char_prev(t[nav.edit_cursor]);
        break;
    }
    case RowKind::Action:
        break;
    }
}

} // namespace

void setup_visible_rows(const SetupPage& page, VisibleRows& out)
{
    out.count = 0;
    const uint8_t n = page.row_count > SETUP_MAX_ROWS ? SETUP_MAX_ROWS : page.row_count;
    for (uint8_t i = 0; i < n; ++i)
        if (page.rows[i].shown == nullptr || page.rows[i].shown()) out.index[out.count++] = i;
}

void setup_row_value(const SetupRow& row, char* out, size_t size)
{
    if (size == 0) return;
    out[0] = 0;
    if (row.kind == RowKind::Action) return;
    if (row.kind == RowKind::Text) {
        const char* t = row.text ? row.text() : nullptr;
        size_t n = 0;
        for (; t && n < row.text_length && n + 1 < size && t[n]; ++n) out[n] = t[n];
        out[n] = 0;
        return;
    }
    const int32_t v = value_of(row);
    if (row.format) {
        row.format(out, size, v);
        return;
    }
    switch (row.kind) {
    case RowKind::Number: {
        char digits[24];
        decimal_value_text(digits, sizeof digits, v, row.decimals);
        std::snprintf(out, size, "%s%s", digits, row.suffix ? row.suffix : "");
        break;
    }
    case RowKind::Flag:
        std::snprintf(out, size, "%s", option_menu_text(options::OFF_ON, v != 0));
        break;
    case RowKind::Option:
        // An index beyond the list (a damaged settings file) shows nothing.
        if (row.options && v >= 0 && v < row.option_count && row.options[v])
            std::snprintf(out, size, "%s", row.options[v]);
        break;
    default:
        break;
    }
}

// ---- Rows drawn ------------------------------------------------------------------

void setup_rows_draw(const SetupPage& page, const VisibleRows& rows)
{
    for (uint8_t item = 0; item < rows.count; ++item) {
        const int screen_row = int(item) - nav.menu_scroll;
        if (screen_row < 0 || screen_row >= LIST_ROWS) continue;
        const SetupRow& row = page.rows[rows.index[item]];
        if (row.kind == RowKind::Text) {
            list_row_text(screen_row, row.label, row.text ? row.text() : "", row.text_length);
            continue;
        }
        char value[48];
        setup_row_value(row, value, sizeof value);
        list_row(screen_row, row.label, value);
        if (!is_number(row) || (row.flags & ROW_CLAMPED) || page.largest_step <= 1) continue;
        if (row.step_label)
            row.step_label(item);
        else if (row.decimals == 1)
            step_label_1dp(item);
        else if (row.decimals == 2)
            step_label_2dp(item);
        else
            step_label_int(item);
    }
}

// ---- Row keys --------------------------------------------------------------------

bool setup_rows_key(const SetupPage& page, const VisibleRows& rows, uint8_t key)
{
    if (key != KEY_PUSH && key != KEY_CW && key != KEY_CCW) return false;
    if (rows.count == 0) return true;
    if (nav.menu_cursor >= rows.count) nav.menu_cursor = uint8_t(rows.count - 1);
    const SetupRow& row = page.rows[rows.index[nav.menu_cursor]];

    if (key == KEY_PUSH) {
        if (row.kind == RowKind::Action) {
            nav.edit_active = 0;
            if (row.action) row.action();
        } else if (nav.edit_active == 0) {
            if (row.kind == RowKind::Text) pad_text(row);
            nav.edit_active = 1;
            nav.edit_cursor = 0;
        } else if (row.kind == RowKind::Text && nav.edit_cursor + 1 < row.text_length) {
            ++nav.edit_cursor;
        } else {
            nav.edit_active = 0;
        }
        return true;
    }

    const bool up = key == KEY_CW;
    if (nav.edit_active == 0)
        nav.menu_cursor = up ? cursor_next(nav.menu_cursor, rows.count)
                             : cursor_prev(nav.menu_cursor, rows.count);
    else
        change_value(row, up);
    return true;
}

// ---- The page pass ---------------------------------------------------------------

SetupPage last_setup_page;

void setup_page(const SetupPage& page)
{
    last_setup_page = page;
    VisibleRows rows;
    setup_visible_rows(page, rows);
    // Rows that went away (a display turned OFF) leave the cursor on the last one.
    if (nav.menu_cursor >= rows.count) {
        nav.menu_cursor = rows.count ? uint8_t(rows.count - 1) : 0;
        nav.edit_active = 0;
    }
    nav.menu_scroll = nav.menu_cursor > LIST_ROWS - 1 ? uint8_t(nav.menu_cursor - (LIST_ROWS - 1)) : 0;

    title_bar(page.section, page.name);
    setup_rows_draw(page, rows);
    if (page.draw_extra) page.draw_extra();
    scroll_indicator(nav.menu_cursor, rows.count);
    soft_key_bar(1);

    switch (KeyEvent) {
    case KEY_SOFT1:
        exit_to_run_screen();
        if (page.on_leave) page.on_leave();
        break;
    case KEY_SOFT2:
        go_to(page.parent, page.parent_item);
        if (page.on_leave) page.on_leave();
        nav.edit_active = 0;
        break;
    case KEY_SOFT3: {
        if (page.largest_step <= 1) break;
        const bool on_number =
            rows.count > 0 && is_number(page.rows[rows.index[nav.menu_cursor]]);
        if (!page.step_on_numbers_only || on_number)
            nav.edit_step = step_cycle(nav.edit_step, page.largest_step);
        break;
    }
    default:
        setup_rows_key(page, rows, KeyEvent);
        break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
