#include "ops/settings_card.h"

#include "gfx/draw.h"
#include "settings/settings.h"
#include "system/system_state.h"
#include "ui/navigation.h"
#include "ui/notices.h"

namespace ems {

namespace {

constexpr uint8_t MISC_ROW_SAVE = 1;   // "SAVE SETTINGS TO SD CARD"
constexpr uint8_t MISC_ROW_RECALL = 2; // "RECALL SETTINGS FROM SD CARD"

} // namespace

bool settings_save_to_card()
{
    nav.menu_cursor = MISC_ROW_SAVE;
    const SettingsWrite result = settings_write_file();
    ScreenHandler = result == SettingsWrite::Ok             ? screen_done
                    : result == SettingsWrite::TempInTheWay ? screen_save_failed
                                                            : screen_invalid_settings;
    return result == SettingsWrite::Ok;
}

void screen_save_failed()
{
    clear_screen();
    notice_box(40, 440, "SAVE FAILED", "REMOVE SORVIK2.TMP");
    if (KeyEvent == KEY_NONE) return;
    ScreenHandler = return_screen;
    KeyEvent = KEY_NONE;
}

bool settings_recall_from_card()
{
    nav.menu_cursor = MISC_ROW_RECALL;
    const bool ok = settings_read_file();
    ScreenHandler = ok ? screen_done : screen_invalid_settings;
    return ok;
}

void misc_save_settings(ScreenFn page)
{
    return_screen = page;
    if (sys.sd_card_mounted == 1) {
        settings_save_to_card();
    } else {
        nav.menu_cursor = MISC_ROW_SAVE;
        ScreenHandler = screen_insert_card;
    }
}

void misc_recall_settings(ScreenFn page)
{
    return_screen = page;
    if (sys.sd_card_mounted == 1) {
        settings_recall_from_card();
    } else {
        nav.menu_cursor = MISC_ROW_RECALL;
        ScreenHandler = screen_insert_card;
    }
}

} // namespace ems
