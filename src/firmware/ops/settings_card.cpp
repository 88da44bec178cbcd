#include "ops/settings_card.h"

#include "gfx/draw.h"
#include "settings/settings.h"
#include "system/system_state.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen_ids.h"

namespace ems {

namespace {

constexpr uint8_t MISC_ROW_SAVE = 1;   // "SAVE SETTINGS TO SD CARD"
constexpr uint8_t MISC_ROW_RECALL = 2; // "RECALL SETTINGS FROM SD CARD"

} // namespace

bool settings_save_to_card()
{
    nav.menu_cursor = MISC_ROW_SAVE;
    const SettingsWrite result = settings_write_file();
    if (result == SettingsWrite::TempInTheWay)
        show_screen(ScreenId::SAVE_FAILED);
    else
        show_screen(result == SettingsWrite::Ok ? ScreenId::DONE : ScreenId::INVALID_SETTINGS);
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
    show_screen(ok ? ScreenId::DONE : ScreenId::INVALID_SETTINGS);
    return ok;
}

void misc_save_settings(ScreenFn page)
{
    return_screen = page;
    if (sys.sd_card_mounted == 1) {
        settings_save_to_card();
    } else {
        nav.menu_cursor = MISC_ROW_SAVE;
        show_screen(ScreenId::INSERT_CARD);
    }
}

void misc_recall_settings(ScreenFn page)
{
    return_screen = page;
    if (sys.sd_card_mounted == 1) {
        settings_recall_from_card();
    } else {
        nav.menu_cursor = MISC_ROW_RECALL;
        show_screen(ScreenId::INSERT_CARD);
    }
}

} // namespace ems
