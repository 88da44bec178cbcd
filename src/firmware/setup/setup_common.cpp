#include "setup/setup_common.h"

#include <cstdio>

#include "gfx/palette.h"
#include "gfx/text.h"
#include "settings/settings.h"
#include "setup/setup_pages.h"
#include "ui/navigation.h"
#include "ui/widgets.h"

namespace ems {

bool ecu_is_rotax() { return settings.ecu_type == ECU_ROTAX_912IS; }
bool ecu_is_ul_power() { return settings.ecu_type == ECU_UL_POWER; }
bool ecu_rotax_direct() { return ecu_is_rotax() && settings.ecu_connect == ECU_CONNECT_DIRECT; }

void open_setup_page(ScreenFn page)
{
    enter_list(0);
    ScreenHandler = page;
}

void back_to_link(ScreenFn parent)
{
    nav.menu_cursor = bindings.return_row;
    nav.menu_scroll = 0;
    nav.edit_active = 0;
    nav.edit_step = 1;
    ScreenHandler = parent;
}

void step_label_text(uint8_t item, const char* text)
{
    if (item != nav.menu_cursor) return;
    draw_text(SOFT_KEY_SLOT_X[2], SOFT_KEY_TEXT_Y, text, 8, ALIGN_CENTRE, COLOUR_WHITE);
}

void open_linked_screen(ScreenFn screen)
{
    bindings.return_row = nav.menu_cursor;
    return_screen = ScreenHandler;
    enter_list(0);
    ScreenHandler = screen;
}

void value_with_unit(char* out, size_t size, int32_t value, uint8_t decimals, const char* unit)
{
    char digits[24];
    decimal_value_text(digits, sizeof digits, value, decimals);
    std::snprintf(out, size, "%s%s", digits, unit ? unit : "");
}

} // namespace ems
