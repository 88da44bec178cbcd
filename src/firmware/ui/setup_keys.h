// The key rules shared by every setup page, and a table-driven list page
// built on them.
//
// A page is a static table of SetupRow (one per possible row, in order, with
// a `shown` condition for rows that come and go) and one SetupPage; its
// screen handler is then a single call:
//
//     void screen_volts_setup() { setup_page(volts_page); }
//
// Settings fields are packed (multi-byte fields at odd addresses), so rows
// reach their values through get/set functions (captureless lambdas), never
// through pointers; SETUP_FIELD(expr) writes the pair for a plain field.
// Text fields are char arrays, which may be pointed at.
#pragma once
#include <cstddef>
#include <cstdint>

#include "ui/screen.h"
#include "ui/screen_ids.h"

namespace ems {

// ---- Key rules ---------------------------------------------------------------

// Next / previous list item with wrap: after count - 1 comes 0, before 0
// comes count - 1. count 0 gives 0; a cursor beyond the list moves into it.
uint8_t cursor_next(uint8_t cursor, uint8_t count);
uint8_t cursor_prev(uint8_t cursor, uint8_t count);

// Numbers wrap, tested before the step: v + step above max gives min,
// v - step below min gives max; otherwise v +/- step.
int32_t number_up(int32_t value, int32_t step, int32_t min, int32_t max);
int32_t number_down(int32_t value, int32_t step, int32_t min, int32_t max);
// Numbers that stop at their ends (calibration factors): +/- step (1 unless
// given) within min..max; a step past an end stops on it.
int32_t number_up_clamped(int32_t value, int32_t min, int32_t max, int32_t step = 1);
int32_t number_down_clamped(int32_t value, int32_t min, int32_t max, int32_t step = 1);

// Option index 0..count-1 with wrap; an index outside the list goes to 0
// (next) or to the last entry (previous). count 0 gives 0.
int32_t option_next(int32_t index, int32_t count);
int32_t option_prev(int32_t index, int32_t count);

// On/off value: 0 becomes 1, anything else 0.
uint8_t flag_toggle(int32_t value);

// Label characters run through 32..126: after 126 comes the blank (32),
// before the blank comes 126. A code outside that range goes to the blank
// (next) or to 126 (previous).
char text_char_next(char c);
char text_char_prev(char c);

// Key 3: edit_step x 10, back to 1 after `largest` (10, 100 or 1000); a step
// that is not a power of ten up to largest also goes back to 1.
uint16_t step_cycle(uint16_t step, uint16_t largest);

// ---- Rows ------------------------------------------------------------------------

enum class RowKind : uint8_t {
    Number, // integer in [min, max] with `decimals` decimals; steps by edit_step and wraps
    Flag,   // "OFF" / "ON", toggled by either turn
    Option, // index into `options`, wraps both ways
    Text,   // `text_length` label characters, edited one by one
    Action, // a caption only; a push runs `action`
};

struct RowRange {
    int32_t min;
    int32_t max;
};

// Row flags.
constexpr uint8_t ROW_CLAMPED = 0x01; // number rows: steps of step_scale (1 if null) that stop at the ends, no step label

// One row of a setup page. Fields a kind does not use stay zero / null.
struct SetupRow {
    const char* label = nullptr;         // caption including ": " ("DISPLAY MAX: ")
    RowKind kind = RowKind::Number;      // what the row holds and how keys 6, 7, 8 act on it
    int32_t (*get)() = nullptr;          // Number, Flag, Option: the stored value
    void (*set)(int32_t value) = nullptr; // stores a changed value, with any follow-up
    int32_t min = 0;                     // Number: inclusive range
    int32_t max = 0;
    RowRange (*range)() = nullptr;       // Number: range that depends on other settings (overrides min/max)
    uint8_t decimals = 0;                // Number: 0..2 shown decimals; also chooses the step label
    const char* suffix = nullptr;        // Number: unit text after the value ("V"), null for none
    const char* const* options = nullptr; // Option: the entries' texts
    uint8_t option_count = 0;            // Option: number of entries
    char* (*text)() = nullptr;           // Text: the character field, at least text_length + 1 chars long
    uint8_t text_length = 0;             // Text: editable characters (3, 4, 6 or 8, at most 16)
    void (*format)(char* out, size_t size, int32_t value) = nullptr; // own value text, null for the default
    void (*step_label)(uint8_t item) = nullptr; // Number: own step label, null for the one of `decimals`
    int32_t (*step_scale)() = nullptr;   // Number: one click is edit_step x this (MAP in mb: 10); null = 1
    void (*action)() = nullptr;          // Action: what a push does (usually switches the screen)
    bool (*shown)() = nullptr;           // row present only while this is true; null = always
    uint8_t flags = 0;                   // ROW_ flags
};

// get and set of a plain field for a SetupRow initialiser.
#define SETUP_FIELD(field)                                                     \
    .get = []() -> int32_t { return int32_t(field); },                         \
    .set = [](int32_t value_) { field = static_cast<decltype(field)>(value_); }

// Range and option texts of a row from the field's row in the settings schema
// (config/settings_schema.h), in the place of .min/.max and
// .options/.option_count:
//
//     {.label = "SPEED UNIT: ", .kind = RowKind::Option,
//      SETUP_FIELD(settings.speed_unit), SETUP_OPTIONS(unit_fields::speed_unit)},
//
// A number whose range follows a unit setting takes field_range() through
// .range instead.
#define SETUP_RANGE(schema_field) .min = (schema_field).range.min, .max = (schema_field).range.max
#define SETUP_OPTIONS(schema_field)                                                 \
    .options = ::ems::field_options(schema_field).menu,                             \
    .option_count = ::ems::field_options(schema_field).count

// A table-driven list page.
struct SetupPage {
    const char* section = nullptr;       // title bar title ("EMS SETUP"), "" for none
    const char* name = nullptr;          // title bar subtitle, the page's own name
    const SetupRow* rows = nullptr;      // all possible rows in order
    uint8_t row_count = 0;               // entries of rows, at most SETUP_MAX_ROWS
    uint16_t largest_step = 0;           // key 3 cycles edit_step 1 .. largest_step; 1 = no cycling
    bool step_on_numbers_only = false;   // key 3 acts only while a number row is selected
    ScreenId parent = ScreenId::RUN;     // BACK goes here
    uint8_t parent_item = 0;             // menu_cursor on the parent after BACK
    void (*on_leave)() = nullptr;        // persistence hook on EXIT and BACK (after settings_changed), or null
    void (*draw_extra)() = nullptr;      // draws page-specific extras after the rows, or null
};

constexpr uint8_t SETUP_MAX_ROWS = 64;

// The rows of a page present in this pass: their indices into page.rows.
struct VisibleRows {
    uint8_t index[SETUP_MAX_ROWS];
    uint8_t count;
};

// Collects the rows whose `shown` condition holds.
void setup_visible_rows(const SetupPage& page, VisibleRows& out);

// Formats a row's value as it is listed ("OFF", "12.5V", the option text ...).
void setup_row_value(const SetupRow& row, char* out, size_t size);

// Draws the visible rows from menu_scroll on, with the step label of the selected number row.
void setup_rows_draw(const SetupPage& page, const VisibleRows& rows);

// Keys 6, 7 and 8 on the visible rows (cursor moves, edit toggling, value
// changes). Returns true when the key was one of them; does not clear KeyEvent.
bool setup_rows_key(const SetupPage& page, const VisibleRows& rows, uint8_t key);

// The page of the last setup_page pass (a copy; its rows stay valid), for
// tests and dumps that look at which rows a page shows.
extern SetupPage last_setup_page;

// One whole pass of a standard setup page: keeps the cursor in the list and
// scrolled into view, draws the title bar, rows, scroll indicator and
// soft-key bar (EXIT, BACK), then handles the pending key (1 EXIT, 2 BACK,
// 3 step, 6/7/8 rows) and clears it.
void setup_page(const SetupPage& page);

} // namespace ems
