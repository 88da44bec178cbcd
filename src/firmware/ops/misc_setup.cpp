// MISCELLANEOUS SETUP and the AIRCRAFT REGISTRATION editor.
#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/main_menu.h"
#include "ops/settings_card.h"
#include "ops/unit_info.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

namespace {

constexpr uint8_t REGISTRATION_CELLS = 8;

// The registration as the editor keeps it: eight printable characters (a
// NUL or any other code becomes a blank) and the terminator, so that the
// block passes the recall check when it comes back from the card.
void registration_pad()
{
    char* reg = settings.registration;
    for (uint8_t k = 0; k < REGISTRATION_CELLS; ++k)
        if (reg[k] < 32 || reg[k] > 126) reg[k] = ' ';
    reg[REGISTRATION_CELLS] = 0;
}

void open_registration()
{
    registration_pad();
    nav.edit_active = 0;
    go_to(ScreenId::REGISTRATION, 0);
}

void save_settings() { misc_save_settings(screen_misc_setup); }
void recall_settings() { misc_recall_settings(screen_misc_setup); }

void open_information()
{
    nav.edit_active = 0;
    go_to(ScreenId::INFORMATION, 0);
}

const SetupRow misc_rows[] = {
    {.label = "AIRCRAFT REGISTRATION", .kind = RowKind::Action, .action = open_registration},
    {.label = "SAVE SETTINGS TO SD CARD", .kind = RowKind::Action, .action = save_settings},
    {.label = "RECALL SETTINGS FROM SD CARD", .kind = RowKind::Action, .action = recall_settings},
    {.label = "INFORMATION", .kind = RowKind::Action, .action = open_information},
};

const SetupPage misc_page = {
    .section = "",
    .name = "MISCELLANEOUS SETUP",
    .rows = misc_rows,
    .row_count = 4,
    .largest_step = 1,
    .parent = ScreenId::MAIN_MENU,
    .parent_item = MAIN_TILE_MISC,
};

void back_to_misc(uint8_t row)
{
    nav.edit_active = 0;
    nav.edit_step = 1;
    go_to(ScreenId::MISC_SETUP, row);
}

} // namespace

void screen_misc_setup() { setup_page(misc_page); }

void screen_registration()
{
    if (nav.menu_cursor >= REGISTRATION_CELLS) nav.menu_cursor = 0;
    title_bar("MISCELLANEOUS", "AIRCRAFT REGISTRATION");
    draw_text(240, 96, "USE THE ROTARY CONTROL", 10, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 114, "TO SET THE AIRCRAFT REGISTRATION", 10, ALIGN_CENTRE, COLOUR_WHITE);
    char* reg = settings.registration;
    for (uint8_t k = 0; k < REGISTRATION_CELLS; ++k) {
        const uint8_t colour = k == nav.menu_cursor ? COLOUR_RED : COLOUR_WHITE;
        const char c = reg[k];
        if (c == ' ' || c == 0) {
            draw_hline(int16_t(120 + 34 * k), int16_t(140 + 34 * k), 200, colour);
        } else {
            const char text[2] = {c, 0};
            draw_text(int16_t(130 + 34 * k), 160, text, 20, ALIGN_CENTRE, colour);
        }
    }
    soft_key_bar(1);

    switch (KeyEvent) {
    case KEY_SOFT1: exit_to_run_screen(); break;
    case KEY_SOFT2: back_to_misc(MISC_ROW_REGISTRATION); break;
    case KEY_CW:
        registration_pad();
        reg[nav.menu_cursor] = text_char_next(reg[nav.menu_cursor]);
        break;
    case KEY_CCW:
        registration_pad();
        reg[nav.menu_cursor] = text_char_prev(reg[nav.menu_cursor]);
        break;
    case KEY_PUSH:
        if (nav.menu_cursor + 1 < REGISTRATION_CELLS) {
            ++nav.menu_cursor;
        } else {
            settings_changed();
            back_to_misc(MISC_ROW_REGISTRATION);
        }
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
