#include "ops/documents.h"

#include <cstring>

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/quick_menus.h"
#include "pages/run_screen.h"
#include "system/platform.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

DocumentState docs;

namespace {

constexpr const char* CHECKLIST_DIR = "SDCARD\\CHECKLST";
constexpr const char* INFOPAGE_DIR = "SDCARD\\INFOPAGE";

const char* list_dir() { return docs.doc_kind_list == 1 ? CHECKLIST_DIR : INFOPAGE_DIR; }
const char* list_suffix() { return docs.doc_kind_list == 1 ? "ECL" : "MIF"; }

// The last three characters of the name, letters raised, equal the suffix.
bool name_matches(const char* name)
{
    const size_t n = std::strlen(name);
    if (n < 3) return false;
    for (size_t i = 0; i < 3; ++i) {
        char c = name[n - 3 + i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != list_suffix()[i]) return false;
    }
    return true;
}

// Walks the open directory: counts every entry and the matching ones, and
// copies matching names with index from..from + 10 into doc_names.
void scan(int handle, uint16_t from)
{
    char name[256];
    docs.doc_dir_entries = 0;
    docs.doc_count = 0;
    std::memset(docs.doc_names, 0, sizeof docs.doc_names);
    CardStorage& p = platform().card();
    while (p.dir_next(handle, name, sizeof name)) {
        if (docs.doc_dir_entries < UINT16_MAX) ++docs.doc_dir_entries;
        if (!name_matches(name) || docs.doc_count == UINT16_MAX) continue;
        const uint16_t index = docs.doc_count++;
        if (index >= from && index - from < DOC_LIST_ROWS) {
            char* slot = docs.doc_names[index - from];
            std::strncpy(slot, name, DOC_NAME_BYTES - 1);
            slot[DOC_NAME_BYTES - 1] = 0;
        }
    }
}

void show_notice(ScreenFn notice)
{
    return_screen = run_screen;
    ScreenHandler = notice;
    tick.quick_menu_countdown = 0;
}

} // namespace

void doc_fill_window(uint16_t pos)
{
    CardStorage& p = platform().card();
    const int handle = p.dir_open(list_dir());
    if (handle < 0) return;
    scan(handle, pos <= 10 ? 0 : uint16_t(pos - 10));
    p.dir_close(handle);
}

void doc_open_list(bool checklists)
{
    docs.doc_kind_list = checklists ? 1 : 0;
    if (sys.sd_card_present != 1 || sys.sd_card_mounted != 1) {
        show_notice(screen_insert_card);
        return;
    }
    CardStorage& p = platform().card();
    const int handle = p.dir_open(list_dir());
    if (handle < 0) {
        show_notice(screen_no_files);
        return;
    }
    scan(handle, 0);
    p.dir_close(handle);
    if (docs.doc_count == 0) {
        show_notice(screen_no_files);
        return;
    }
    docs.doc_pos = 0;
    nav.menu_cursor = 0;
    quick.quick_menu_handler = popup_doc_list;
    tick.quick_menu_countdown = 10;
}

void popup_doc_list()
{
    tick.quick_menu_countdown = 10;
    title_bar("", docs.doc_kind_list == 1 ? "CHECKLISTS" : "INFO PAGES");
    for (uint8_t i = 0; i < DOC_LIST_ROWS; ++i)
        draw_text(150, int16_t(LIST_Y + LIST_ROW_HEIGHT * i), docs.doc_names[i], 8, ALIGN_LEFT,
                  i == nav.menu_cursor ? COLOUR_RED : COLOUR_WHITE);
    const uint16_t count = docs.doc_count;
    scroll_indicator(uint8_t(docs.doc_pos > 255 ? 255 : docs.doc_pos), uint8_t(count > 255 ? 255 : count));
    soft_key_bar(0);

    switch (KeyEvent) {
    case KEY_CW:
        if (docs.doc_pos + 1 < count) {
            ++docs.doc_pos;
            doc_fill_window(docs.doc_pos);
            if (nav.menu_cursor < DOC_LIST_ROWS - 1) ++nav.menu_cursor;
        }
        break;
    case KEY_CCW:
        if (docs.doc_pos > 0) {
            --docs.doc_pos;
            doc_fill_window(docs.doc_pos);
            if (docs.doc_pos < DOC_LIST_ROWS - 1 && nav.menu_cursor > 0) --nav.menu_cursor;
        }
        break;
    case KEY_SOFT1:
    case KEY_PUSH: tick.quick_menu_countdown = 0; break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

void screen_no_files()
{
    clear_screen();
    draw_rect(140, 96, 340, 176, COLOUR_WHITE);
    fill_rect(141, 97, 339, 175, COLOUR_RED);
    draw_text(240, 104, "NO FILES", 16, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 138, "ON SD CARD", 16, ALIGN_CENTRE, COLOUR_WHITE);
    if (KeyEvent == KEY_NONE) return;
    ScreenHandler = return_screen;
    KeyEvent = KEY_NONE;
}

} // namespace ems
