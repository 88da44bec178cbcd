#include "ops/quick_menus.h"

#include <cstddef>
#include <iterator>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/documents.h"
#include "ops/flight_log.h"
#include "ops/main_menu.h"
#include "ops/pilot_pages.h"
#include "pages/gauges.h"
#include "pages/minmax_page.h"
#include "sensors/channels.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/raw_inputs.h"
#include "system/tick.h"
#include "ui/navigation.h"

namespace ems {

QuickMenuState quick;

namespace {

struct QuickItem {
    const char* text;          // caption
    const char* (*caption)();  // caption that follows the state, or null for `text`
    bool (*shown)();           // null: always listed
    void (*action)();          // key 6 on the item
};

constexpr size_t QUICK_MAX_ITEMS = 12;

void close_menu() { tick.quick_menu_countdown = 0; }

// ---- Rules -------------------------------------------------------------------

bool fuel_totals_shown() { return settings.flow1_on == 1 || settings.flow2_on == 1; }
bool cruise_mode_shown() { return settings.egt_channels > 0 || settings.cht_channels > 0; }
bool lean_mode_shown() { return settings.egt_channels > 0; }

bool cruise_speed_shown()
{
    const uint8_t fc = derived.fuel_config;
    return fc < 2 || (fc >= 10 && fc <= 14);
}

bool fuel_refill_shown()
{
    const uint8_t fc = derived.fuel_config;
    const uint8_t t1 = settings.tank1_mode;
    const uint8_t t2 = settings.tank2_mode;
    const bool layout = fc < 2 || fc == 10 || (fc >= 12 && fc <= 14) ||
                        (fc == 11 && (t1 != TANK_SENDER || t2 != TANK_SENDER));
    return layout && (t1 == TANK_CALCULATED || t2 == TANK_CALCULATED);
}

bool mag_check_shown() { return settings.rpm1_display < 2; } // "RPM" or "PERCENT"
bool flight_shown() { return settings.flight_detect == 0; }  // "MANUAL"

// ---- Actions -----------------------------------------------------------------

void open_main_menu()
{
    close_menu();
    ScreenHandler = screen_main_menu;
    nav.menu_cursor = 0;
    nav.menu_scroll = 0;
    nav.edit_active = 0;
}

void open_backlight() { quick.quick_menu_handler = popup_backlight; }
void open_minmax() { quick.quick_menu_handler = screen_minmax; }

void open_refill() { refill_open(settings.tank1_mode == TANK_CALCULATED ? 0 : 1); }

// A second push while the check runs ends it; otherwise the present readings
// become the references the panels subtract, for 60 slow ticks.
void toggle_mag_check()
{
    if (tick.mag_check_countdown != 0) {
        tick.mag_check_countdown = 0;
    } else {
        gauges.mag_check_rpm1 = sens.rpm;
        gauges.mag_check_rpm2 = raw.rpm2;
        tick.mag_check_countdown = 60;
    }
    close_menu();
}

const char* flight_caption() { return flight.flight_in_progress == 1 ? "STOP FLIGHT" : "START FLIGHT"; }

void toggle_flight()
{
    if (flight.flight_in_progress == 1)
        flight_stop();
    else
        flight_start();
    close_menu();
}

void open_checklists() { doc_open_list(true); }
void open_info_pages() { doc_open_list(false); }

// ---- Tables, bottom item first -------------------------------------------------

const QuickItem ENGINE_MENU[] = {
    {"MENU", nullptr, nullptr, open_main_menu},
    {"BACKLIGHT", nullptr, nullptr, open_backlight},
    {"MIN/MAX", nullptr, nullptr, open_minmax},
    {"TIMER", nullptr, nullptr, pilot_timer_open},
    {"FUEL TOTALS", nullptr, fuel_totals_shown, fuel_totals_open},
    {"CRUISE MODE", nullptr, cruise_mode_shown, cruise_mode_open},
    {"LEAN MODE", nullptr, lean_mode_shown, lean_mode_open},
    {"CRUISE SPEED", nullptr, cruise_speed_shown, cruise_speed_open},
    {"FUEL REFILL", nullptr, fuel_refill_shown, open_refill},
    {"MAG CHECK", nullptr, mag_check_shown, toggle_mag_check},
    {nullptr, flight_caption, flight_shown, toggle_flight},
    {"EXIT", nullptr, nullptr, close_menu},
};
static_assert(std::size(ENGINE_MENU) == QUICK_MAX_ITEMS);

const QuickItem SHORT_MENU[] = {
    {"MENU", nullptr, nullptr, open_main_menu},
    {"BACKLIGHT", nullptr, nullptr, open_backlight},
    {"EXIT", nullptr, nullptr, close_menu},
};

const QuickItem DOCUMENTS_MENU[] = {
    {"MENU", nullptr, nullptr, open_main_menu},
    {"BACKLIGHT", nullptr, nullptr, open_backlight},
    {"CHECKLISTS", nullptr, nullptr, open_checklists},
    {"INFO PAGES", nullptr, nullptr, open_info_pages},
    {"EXIT", nullptr, nullptr, close_menu},
};

struct Listed {
    const QuickItem* item[QUICK_MAX_ITEMS];
    uint8_t count = 0;
};

template <size_t N>
Listed listed_items(const QuickItem (&menu)[N])
{
    static_assert(N <= QUICK_MAX_ITEMS);
    Listed out;
    for (const QuickItem& item : menu)
        if (!item.shown || item.shown()) out.item[out.count++] = &item;
    return out;
}

// One pass of a quick menu: the list as the settings stand now, the box, the keys.
template <size_t N>
void quick_menu_pass(const QuickItem (&menu)[N])
{
    const Listed list = listed_items(menu);
    const uint8_t n = list.count; // at least EXIT
    quick.quick_menu_count = n;
    if (nav.menu_cursor >= n) nav.menu_cursor = uint8_t(n - 1);

    fill_rect(351, int16_t(258 - 18 * n), 478, 270, COLOUR_BLACK);
    draw_rect(350, int16_t(257 - 18 * n), 479, 271, COLOUR_WHITE);
    for (uint8_t p = 0; p < n; ++p) {
        const QuickItem& item = *list.item[p];
        draw_text(360, int16_t(247 - 18 * p), item.caption ? item.caption() : item.text, 8, ALIGN_LEFT,
                  p == nav.menu_cursor ? COLOUR_RED : COLOUR_WHITE);
    }

    const uint8_t key = KeyEvent;
    KeyEvent = KEY_NONE;
    switch (key) {
    case KEY_CW:
        nav.menu_cursor = nav.menu_cursor == 0 ? uint8_t(n - 1) : uint8_t(nav.menu_cursor - 1);
        tick.quick_menu_countdown = 10;
        break;
    case KEY_CCW:
        nav.menu_cursor = nav.menu_cursor + 1 >= n ? 0 : uint8_t(nav.menu_cursor + 1);
        tick.quick_menu_countdown = 10;
        break;
    case KEY_PUSH: list.item[nav.menu_cursor]->action(); break;
    default: break;
    }
}

} // namespace

void popup_quick_menu() { quick_menu_pass(ENGINE_MENU); }
void popup_short_menu() { quick_menu_pass(SHORT_MENU); }
void popup_documents_menu() { quick_menu_pass(DOCUMENTS_MENU); }

uint8_t engine_quick_menu_count() { return listed_items(ENGINE_MENU).count; }

uint8_t quick_menu_count(ScreenFn popup)
{
    if (popup == popup_quick_menu) return listed_items(ENGINE_MENU).count;
    if (popup == popup_short_menu) return listed_items(SHORT_MENU).count;
    if (popup == popup_documents_menu) return listed_items(DOCUMENTS_MENU).count;
    return 0;
}

void popup_backlight()
{
    tick.quick_menu_countdown = 10;
    fill_rect(150, 80, 330, 190, COLOUR_BLACK);
    draw_rect(150, 80, 330, 190, COLOUR_WHITE);
    draw_text(240, 85, "USE THE ROTARY", 8, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 105, "CONTROL TO ADJUST", 8, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 125, "THE BACKLIGHT", 8, ALIGN_CENTRE, COLOUR_WHITE);
    uint8_t level = settings.backlight;
    if (level > 31) level = 31; // a bar never leaves its frame
    fill_rect(162, 155, int16_t(162 + 5 * level), 170, COLOUR_RED);
    draw_rect(162, 155, 317, 170, COLOUR_WHITE);

    switch (KeyEvent) {
    case KEY_CW: settings.backlight = settings.backlight > 28 ? 31 : uint8_t(settings.backlight + 2); break;
    case KEY_CCW: settings.backlight = settings.backlight < 4 ? 2 : uint8_t(settings.backlight - 2); break;
    case KEY_PUSH:
        close_menu();
        settings_changed();
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

} // namespace ems
