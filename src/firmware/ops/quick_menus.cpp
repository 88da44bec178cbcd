#include "ops/quick_menus.h"

#include "config/settings.h"
#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "system/tick.h"

namespace ems {

QuickMenuState quick;

namespace {

// Placeholder pop-up: the menu's title over its EXIT entry, in the box the
// quick menus use at the lower right. Key 6 closes it; every key is consumed.
void placeholder_popup(const char* title)
{
    constexpr int16_t rows = 2;
    fill_rect(351, int16_t(258 - 18 * rows), 478, 270, COLOUR_BLACK);
    draw_rect(350, int16_t(257 - 18 * rows), 479, 271, COLOUR_WHITE);
    draw_text(360, 247 - 18, title, 8, ALIGN_LEFT, COLOUR_SILVER);
    draw_text(360, 247, "EXIT", 8, ALIGN_LEFT, COLOUR_RED);
    if (KeyEvent == KEY_PUSH) tick.quick_menu_countdown = 0;
    KeyEvent = KEY_NONE;
}

} // namespace

void popup_quick_menu() { placeholder_popup("QUICK MENU"); }
void popup_short_menu() { placeholder_popup("MENU"); }
void popup_documents_menu() { placeholder_popup("DOCUMENTS"); }

uint8_t engine_quick_menu_count()
{
    const uint8_t fc = derived.fuel_config;
    const uint8_t t1 = settings.tank1_mode;
    const uint8_t t2 = settings.tank2_mode;
    uint8_t count = 5; // MENU, BACKLIGHT, MIN/MAX, TIMER, EXIT
    if (settings.flow1_on == 1 || settings.flow2_on == 1) ++count;          // FUEL TOTALS
    if (fc < 2 || (fc >= 10 && fc <= 14)) ++count;                          // CRUISE SPEED
    const bool refill_layout = fc < 2 || fc == 10 || (fc >= 12 && fc <= 14) ||
                               (fc == 11 && (t1 != TANK_SENDER || t2 != TANK_SENDER));
    if (refill_layout && (t1 == TANK_CALCULATED || t2 == TANK_CALCULATED)) ++count; // FUEL REFILL
    if (settings.egt_channels > 0 || settings.cht_channels > 0) ++count;    // CRUISE MODE
    if (settings.egt_channels > 0) ++count;                                 // LEAN MODE
    if (settings.flight_detect == 0) ++count;                               // START/STOP FLIGHT
    if (settings.rpm1_display < 2) ++count;                                 // MAG CHECK
    return count;
}

} // namespace ems
