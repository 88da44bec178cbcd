// The EMS SETUP menu: fourteen tiles on two pages of the main menu's grid.
// Opening a channel tile points the setup bindings at that channel's records.
#include <cstdint>

#include "gfx/draw.h"
#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/main_menu.h"
#include "settings/settings.h"
#include "setup/setup_common.h"
#include "setup/setup_pages.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

SetupBindings bindings;

namespace {

constexpr uint8_t TILES_PER_PAGE = 8;
constexpr uint8_t FONT_CAPTION = 8;

enum class TileArt : uint8_t { Icon, EgtThermometer, ChtThermometer };

struct Tile {
    const char* line1;
    const char* line2;
    TileArt art;
    const uint8_t* icon; // TileArt::Icon
    ScreenFn opens;
};

const Tile TILES[EMS_SETUP_TILES] = {
    {"RPM 1", "SETUP", TileArt::Icon, icon_ems_setup, screen_rpm1_setup},
    {"RPM 2", "SETUP", TileArt::Icon, icon_ems_setup, screen_rpm2_setup},
    {"EGT", "SETUP", TileArt::EgtThermometer, nullptr, screen_egt_setup},
    {"CHT", "SETUP", TileArt::ChtThermometer, nullptr, screen_cht_setup},
    {"FUEL", "SETUP", TileArt::Icon, icon_fuel_setup, screen_fuel_setup},
    {"MANIFOLD", "PRESSURE", TileArt::Icon, icon_map_setup, screen_map_setup},
    {"OIL", "TEMP", TileArt::Icon, icon_oil_setup, screen_channel_setup},
    {"OIL", "PRESSURE", TileArt::Icon, icon_oil_setup, screen_channel_setup},
    {"ANALOG", "AUX 1", TileArt::Icon, icon_analog_setup, screen_channel_setup},
    {"ANALOG", "AUX 2", TileArt::Icon, icon_analog_setup, screen_channel_setup},
    {"VOLTS", "SETUP", TileArt::Icon, icon_electrical_setup, screen_volts_setup},
    {"CURRENT", "SETUP", TileArt::Icon, icon_electrical_setup, screen_current_setup},
    {"OAT", "SETUP", TileArt::Icon, icon_temperature_setup, screen_oat_setup},
    {"ECU", "SETUP", TileArt::Icon, icon_ecu_setup, screen_ecu_setup},
};

// With a ROTAX 912iS the third analog input is its coolant temperature.
Tile tile_shown(uint8_t tile)
{
    Tile t = TILES[tile];
    if (tile == TILE_CHANNEL0 + 2 && ecu_is_rotax()) {
        t.line1 = "COOLANT";
        t.line2 = "TEMP";
        t.icon = icon_temperature_setup;
    }
    return t;
}

// A disc filled row by row.
void fill_disc(int16_t xc, int16_t yc, int16_t r, uint8_t colour)
{
    for (int16_t dy = -r; dy <= r; ++dy) {
        int16_t half = 0;
        while ((half + 1) * (half + 1) + dy * dy <= r * r) ++half;
        draw_hline(int16_t(xc - half), int16_t(xc + half), int16_t(yc + dy), colour);
    }
}

// The thermometer of the EGT and CHT tiles in a 50 x 50 cell at (x, y): a
// white tube and bulb filled in `colour`, the name beside the tube.
void draw_thermometer(int16_t x, int16_t y, const char* name, uint8_t colour)
{
    const int16_t cx = int16_t(x + 14);
    draw_rect(int16_t(cx - 5), int16_t(y + 2), int16_t(cx + 5), int16_t(y + 36), COLOUR_WHITE);
    fill_disc(cx, int16_t(y + 41), 8, COLOUR_WHITE);
    fill_disc(cx, int16_t(y + 41), 6, colour);
    fill_rect(int16_t(cx - 3), int16_t(y + 14), int16_t(cx + 3), int16_t(y + 38), colour);
    for (int16_t k = 0; k < 4; ++k)
        draw_hline(int16_t(cx + 6), int16_t(cx + 9), int16_t(y + 8 + 7 * k), COLOUR_WHITE);
    draw_text(int16_t(x + 27), int16_t(y + 16), name, FONT_CAPTION, ALIGN_LEFT, colour);
}

void draw_tile(uint8_t tile)
{
    const uint8_t cell = tile % TILES_PER_PAGE;
    const Tile t = tile_shown(tile);
    const int16_t x = menu_icon_x(cell);
    const int16_t y = menu_icon_y(cell);
    switch (t.art) {
    case TileArt::Icon: draw_image(x, y, t.icon); break;
    case TileArt::EgtThermometer: draw_thermometer(x, y, "EGT", COLOUR_RED); break;
    case TileArt::ChtThermometer: draw_thermometer(x, y, "CHT", COLOUR_GREEN); break;
    }
    const int16_t caption_x = int16_t(48 + 128 * (cell % 4));
    const int16_t caption_y = cell < 4 ? 107 : 205;
    draw_text(caption_x, caption_y, t.line1, FONT_CAPTION, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(caption_x, int16_t(caption_y + 15), t.line2, FONT_CAPTION, ALIGN_CENTRE, COLOUR_WHITE);
}

void open_tile(uint8_t tile)
{
    if (tile >= TILE_CHANNEL0 && tile < TILE_CHANNEL0 + 4) {
        const uint8_t ch = uint8_t(tile - TILE_CHANNEL0);
        bindings.channel_index = ch;
        bindings.active_pressure_cfg = &settings.pressure_cfg[ch];
        bindings.active_temperature_cfg = &settings.temperature_cfg[ch];
        bindings.active_current_cfg = &settings.current_cfg[ch];
        bindings.active_generic_cfg = &settings.generic_cfg[ch];
    } else if (tile == TILE_CURRENT) {
        bindings.active_current_cfg = &settings.main_current_cfg;
    }
    open_setup_page(TILES[tile].opens);
}

} // namespace

void screen_ems_setup_menu()
{
    if (nav.menu_cursor >= EMS_SETUP_TILES) nav.menu_cursor = 0;
    const bool page2 = nav.menu_cursor >= TILES_PER_PAGE;
    title_bar("EMS SETUP", page2 ? "PAGE 2" : "PAGE 1");
    const uint8_t first = page2 ? TILES_PER_PAGE : 0;
    const uint8_t last = page2 ? EMS_SETUP_TILES : TILES_PER_PAGE;
    for (uint8_t tile = first; tile < last; ++tile) draw_tile(tile);
    menu_select_frame(uint8_t(nav.menu_cursor % TILES_PER_PAGE));
    soft_key_bar(1);
    if (page2)
        prev_arrow(314);
    else
        next_arrow();

    switch (KeyEvent) {
    case KEY_SOFT1: exit_to_run_screen(); break;
    case KEY_SOFT2: back_to_main_menu(MAIN_TILE_EMS_SETUP); break;
    case KEY_SOFT5: nav.menu_cursor = page2 ? TILES_PER_PAGE - 1 : TILES_PER_PAGE; break;
    case KEY_PUSH: open_tile(nav.menu_cursor); break;
    case KEY_CW: nav.menu_cursor = uint8_t((nav.menu_cursor + 1) % EMS_SETUP_TILES); break;
    case KEY_CCW:
        nav.menu_cursor = uint8_t((nav.menu_cursor + EMS_SETUP_TILES - 1) % EMS_SETUP_TILES);
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
