#include "ops/main_menu.h"

#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/screen_ids.h"
#include "ui/widgets.h"

namespace ems {

namespace {

struct Tile {
    const char* caption[2];
    const uint8_t* icon;
    ScreenId screen;
};

const Tile TILES[MAIN_TILES] = {
    {{"FLIGHT", "LOG"}, icon_flight_log, ScreenId::FLIGHT_LOG},
    {{"EMS", "SETUP"}, icon_ems_setup, ScreenId::EMS_SETUP},
    {{"GPS", "SETUP"}, icon_gps_setup, ScreenId::GPS_SETUP},
    {{"TIMERS", "SETUP"}, icon_timers_setup, ScreenId::TIMERS_SETUP},
    {{"DATA REC", "SETUP"}, icon_data_rec_setup, ScreenId::DATA_RECORDING},
    {{"MISC", "SETUP"}, icon_misc_setup, ScreenId::MISC_SETUP},
    {{"SENSOR", "INFO"}, icon_question, ScreenId::SENSOR_INFO},
};

void draw_tile(uint8_t cell)
{
    const Tile& tile = TILES[cell];
    draw_image(menu_icon_x(cell), menu_icon_y(cell), tile.icon);
    const int16_t x = int16_t(48 + 128 * (cell % 4));
    const int16_t y = cell < 4 ? 107 : 205;
    draw_text(x, y, tile.caption[0], 8, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(x, int16_t(y + 15), tile.caption[1], 8, ALIGN_CENTRE, COLOUR_WHITE);
}

} // namespace

void screen_main_menu()
{
    if (nav.menu_cursor >= MAIN_TILES) nav.menu_cursor = 0;
    title_bar("", "MAIN MENU");
    for (uint8_t cell = 0; cell < MAIN_TILES; ++cell) draw_tile(cell);
    menu_select_frame(nav.menu_cursor);
    soft_key_bar(0);

    switch (KeyEvent) {
    case KEY_SOFT1: exit_to_run_screen(); break;
    case KEY_PUSH: {
        const ScreenId open = TILES[nav.menu_cursor].screen;
        enter_list(0);
        go_to(open, 0);
        break;
    }
    case KEY_CW: nav.menu_cursor = nav.menu_cursor + 1 >= MAIN_TILES ? 0 : uint8_t(nav.menu_cursor + 1); break;
    case KEY_CCW: nav.menu_cursor = nav.menu_cursor == 0 ? MAIN_TILES - 1 : uint8_t(nav.menu_cursor - 1); break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
