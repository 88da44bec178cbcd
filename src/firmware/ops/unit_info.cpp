#include "ops/unit_info.h"

#include <cstdio>

#include "config/settings.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/main_menu.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/setup_keys.h"
#include "ui/widgets.h"

namespace ems {

namespace {

const SetupPage sensor_info_page = {
    .section = "",
    .name = "SENSOR INFO",
    .largest_step = 1,
    .parent = screen_main_menu,
    .parent_item = MAIN_TILE_SENSOR_INFO,
};

} // namespace

void screen_information()
{
    title_bar("", "INFORMATION");
    char text[48];
    draw_text(LIST_X, 50, "MODEL: SORVIK-EMS", 8, ALIGN_LEFT, nav.menu_cursor == 0 ? COLOUR_RED : COLOUR_WHITE);
    std::snprintf(text, sizeof text, "FIRMWARE VERSION: %0.2f", FIRMWARE_VERSION / 100.0);
    draw_text(LIST_X, 68, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "SERIAL NUMBER: %07d", int(calibration.serial_number));
    draw_text(LIST_X, 86, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "AIRCRAFT REG: %.8s", settings.registration);
    draw_text(LIST_X, 104, text, 8, ALIGN_LEFT, COLOUR_WHITE);
    soft_key_bar(1);

    if (KeyEvent == KEY_SOFT1) {
        exit_to_run_screen();
    } else if (KeyEvent == KEY_SOFT2) {
        nav.menu_cursor = MISC_ROW_INFORMATION;
        nav.edit_active = 0;
        ScreenHandler = screen_misc_setup;
    }
    KeyEvent = KEY_NONE;
}

void screen_sensor_info() { setup_page(sensor_info_page); }

} // namespace ems
