// Pieces shared by the setup pages' files: the engine-computer conditions
// that hide rows, entering a page, and value texts with units.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/settings_schema.h"
#include "ui/screen.h"
#include "ui/setup_keys.h"

namespace ems {

// ecu_type and ecu_connect as the rows test them.
bool ecu_is_rotax();
bool ecu_is_ul_power();
bool ecu_rotax_direct(); // ROTAX 912iS read directly: the computer supplies the trimmed values

// Opens a list page in its start state (menu_cursor 0, menu_scroll 0,
// edit_step 1, edit_active 0).
void open_setup_page(ScreenFn page);

// BACK from a page opened by a link row of `parent`: the parent's cursor goes
// back to the link (bindings.return_row).
void back_to_link(ScreenFn parent);

// value with `decimals` decimals followed directly by `unit`: "12.5V", "150psi".
void value_with_unit(char* out, size_t size, int32_t value, uint8_t decimals, const char* unit);

// A number field's setup range while its unit option holds `unit`.
constexpr RowRange unit_range(const SettingsField& f, int unit)
{
    const FieldRange r = field_range(f, unit);
    return {r.min, r.max};
}

// A step label of soft key 3 (white, centred in slot 3), drawn only when item
// is the selected row.
void step_label_text(uint8_t item, const char* text);

// Opens a calibration or tank screen from a link row of the page now active:
// remembers the row for the way back (bindings.return_row), return_screen =
// this page, the list state of a fresh page, then `screen`.
void open_linked_screen(ScreenFn screen);

} // namespace ems
