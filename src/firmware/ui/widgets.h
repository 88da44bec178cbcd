// Shared drawing pieces, value texts and navigation of the menu and setup
// pages: the title bar with the logo, the soft-key bar and its pop-up label
// bar, the list rows of label and value, the scroll indicator, the step
// labels of soft key 3, and the ways in and out of a list page.
//
// Screen geometry: title bar rows 0..40 (line on row 40); list screen row r
// (0..10) has its text top at y = 50 + 18 r, labels from x = 100; scroll
// track at x = 470, y 45..245; soft-key bar from row 250 down, separators at
// x = 74, 148, 222, 296, 371, label slots centred at 36, 112, 186, 260, 334,
// the rotary symbol right of x = 371. All text is font 8 unless stated.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ems {

// ---- Geometry ----------------------------------------------------------------

constexpr int16_t LIST_X = 100;            // labels start here
constexpr int16_t LIST_Y = 50;             // text top of screen row 0
constexpr int16_t LIST_ROW_HEIGHT = 18;    // pixels between screen rows
constexpr int LIST_ROWS = 11;              // screen rows 0..10
constexpr int16_t SOFT_KEY_TEXT_Y = 254;   // text top of the soft-key labels
constexpr int16_t SOFT_KEY_SLOT_X[5] = {36, 112, 186, 260, 334}; // label centres

// ---- Bars ----------------------------------------------------------------------

// Clears the screen; the logo ("S" red, "orvik" white, font 20); the title
// right-aligned at (478, 0) in red and the subtitle right-aligned at (478, 20)
// in white, font 10; the white line across row 40. Empty or null texts draw nothing.
void title_bar(const char* title, const char* subtitle);

// The bar line, separators, "EXIT" in slot 1 and the rotary symbol; "BACK" in
// slot 2 when bit 0 of flags is set.
void soft_key_bar(uint8_t flags);

// Pop-up label bar drawn over a page (no cleared screen needed): black boxes
// over x 0..370, y 250..271 and over x 0..148, y 230..249, the caption centred
// at (74, 231) in red and the five labels centred in their slots in white
// (slot 1 at x = 37). Null texts draw nothing.
void soft_key_labels(const char* caption, const char* label1, const char* label2,
                     const char* label3, const char* label4, const char* label5);

// The rotary control symbol right of x = 371: an arc with an arrowhead at each end.
void rotary_symbol();

// Arrow pointing right in slot 5, tip at (354, 261).
void next_arrow();
// Arrow pointing left with its tip at (x, 261), reaching to x + 39 (menus: x = 314).
void prev_arrow(int16_t x);

// Track at x = 470 from y 45 to 245 and a thumb x 465..475 for item
// `selected` of `count`: with c = 2000 / count, rows (c * selected + 450) / 10
// to that + c / 10. count 0 draws the track only; a selected item beyond the
// list is shown as the last one.
void scroll_indicator(uint8_t selected, uint8_t count);

// ---- List rows -----------------------------------------------------------------

// Label at x = 100 then the value, on screen row `row` (item - menu_scroll);
// rows outside 0..10 draw nothing. The selected item (row + menu_scroll ==
// menu_cursor) has a red value, and a red label unless it is being edited.
void list_row(int row, const char* label, const char* value);

// As list_row for a text value of 3, 4 or 6 characters (fewer when the text
// ends earlier): both parts red when selected and not editing; while the
// selected row is edited, its characters are white with the one at
// edit_cursor red.
void list_row_text3(int row, const char* label, const char* text);
void list_row_text4(int row, const char* label, const char* text);
void list_row_text6(int row, const char* label, const char* text);
// The same for any length 0..16 (the three above use it).
void list_row_text(int row, const char* label, const char* text, uint8_t length);

// Red corner brackets around cell 0..7 of the 4 x 2 icon grid (column = cell
// mod 4, row = cell div 4, cell corner at x0 = 128 column, y0 = 100 row).
// Other cells draw nothing.
void menu_select_frame(uint8_t cell);

// Top-left corner of the icon of a grid cell (50 x 50 icons): (x0 + 23, 54) or (x0 + 23, 153).
int16_t menu_icon_x(uint8_t cell);
int16_t menu_icon_y(uint8_t cell);

// ---- Step labels (slot 3, centred at (186, 254), white) ------------------------
// Each draws only when item == menu_cursor (item is the list index, not the
// screen row).

// "X1", "X10", "X100", "X1000" for edit_step 1..1000; other steps draw nothing.
void step_label_int(uint8_t item);
// "X0.1", "X1.0", "X10.0" for steps 1, 10, 100; any other step is reset to 1
// and nothing is drawn in this pass.
void step_label_1dp(uint8_t item);
// "X0.01", "X0.1", "X1.0", "X10.0" for steps 1..1000; any other step is reset
// to 1 and nothing is drawn in this pass.
void step_label_2dp(uint8_t item);
// kind 1: "X1", "X10", "X100"; any other kind: "X0.1", "X1.0", "X10.0"; steps
// other than 1, 10, 100 draw nothing.
void step_label_kind(uint8_t kind, uint8_t item);
// By the decimals of the generic sensor being edited (its `decimals` field,
// passed by the caller): 0 "X1", "X10", "X100"; 1 "X0.1", "X1.0", "X10.0";
// 2 "X0.01", "X0.10", "X1.00". Other steps, or decimals above 2, draw nothing.
void step_label_decimals(uint8_t item, uint8_t decimals);
// Any other set of texts for steps 1, 10, 100, 1000 (null: that step draws nothing).
void step_label_texts(uint8_t item, const char* const (&texts)[4]);

// ---- Value texts (into the caller's buffer, always NUL-terminated) ------------
// A buffer too small truncates the text; size 0 writes nothing.

// options::DEGREE_UNIT text of temp_unit ("°C", "°F"; a value past the list gives "°F").
void temp_unit_text(char* out, size_t size);
// The same for oat_unit.
void oat_unit_text(char* out, size_t size);
// MAP value: "%d" with map_unit 0 (mb), else tenths as "%.1f" (0.1 inHg).
void map_value_text(char* out, size_t size, int32_t value);
// value with 0 decimals "%d", 1 "%.1f" of value x 0.1, 2 "%.2f" of value x
// 0.01 (exact, rounding-free digit arithmetic); other decimals as 0.
void decimal_value_text(char* out, size_t size, int32_t value, uint8_t decimals);

// ---- Navigation ----------------------------------------------------------------

// Run screen active; quick_menu_countdown, edit_active and menu_scroll 0; settings_changed.
void exit_to_run_screen();
// Start state of a list page: page_counter 0, edit_active 0, menu_cursor =
// row, menu_scroll 0, edit_step 1. The caller then switches ScreenHandler.
void enter_list(uint8_t row);
// Main menu active with menu_cursor = row (the tile of the page left), edit_step 1, edit_active 0.
void back_to_main_menu(uint8_t row);

} // namespace ems
