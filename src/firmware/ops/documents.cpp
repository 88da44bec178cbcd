#include "ops/documents.h"

#include <cstring>

#include "gfx/draw.h"
#include "gfx/framebuffer.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ops/checklist.h"
#include "ops/quick_menus.h"
#include "settings/settings.h"
#include "system/hooks.h"
#include "system/platform.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/screen_ids.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

namespace {

constexpr const char* CHECKLIST_DIR = "SDCARD\\CHECKLST";
constexpr const char* INFOPAGE_DIR = "SDCARD\\INFOPAGE";

const char* list_dir() { return docs.doc_kind_list == 1 ? CHECKLIST_DIR : INFOPAGE_DIR; }
const char* list_suffix() { return docs.doc_kind_list == 1 ? "ECL" : "MIF"; }

// The last three characters of the name, letters raised, equal the suffix.
bool name_ends_in(const char* name, const char* suffix)
{
    const size_t n = std::strlen(name);
    if (n < 3) return false;
    for (size_t i = 0; i < 3; ++i) {
        char c = name[n - 3 + i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != suffix[i]) return false;
    }
    return true;
}

bool name_matches(const char* name) { return name_ends_in(name, list_suffix()); }

// The matching names of the open list, read once when it opens (a knob step
// must not read and sort a folder of thousands of files again), packed one
// after another with their terminators.
constexpr uint16_t KEPT_NAMES_MAX = 16384;
constexpr uint32_t KEPT_BYTES = 1u << 20;
struct KeptNames {
    uint32_t start[KEPT_NAMES_MAX]; // where name i begins in bytes
    uint32_t used;
    char bytes[KEPT_BYTES];
};
KeptNames kept;

// Keeps matching name `index`; once one does not fit, none of the list is
// kept and each window reads the folder again.
void keep_name(uint16_t index, const char* name)
{
    if (docs.doc_names_kept == 0) return;
    const size_t bytes = std::strlen(name) + 1;
    if (index >= KEPT_NAMES_MAX || bytes > KEPT_BYTES - kept.used) {
        docs.doc_names_kept = 0;
        return;
    }
    kept.start[index] = kept.used;
    std::memcpy(kept.bytes + kept.used, name, bytes);
    kept.used += uint32_t(bytes);
}

void put_in_window(uint16_t index, uint16_t from, const char* name)
{
    if (index < from || index - from >= DOC_LIST_ROWS) return;
    char* slot = docs.doc_names[index - from];
    std::strncpy(slot, name, DOC_NAME_BYTES - 1);
    slot[DOC_NAME_BYTES - 1] = 0;
}

// Walks the open directory: counts every entry and the matching ones, copies
// matching names with index from..from + 10 into doc_names and, when
// `keeping`, keeps every matching name.
void scan(int handle, uint16_t from, bool keeping)
{
    char name[256];
    docs.doc_dir_entries = 0;
    docs.doc_count = 0;
    std::memset(docs.doc_names, 0, sizeof docs.doc_names);
    docs.doc_names_kept = keeping ? 1 : 0;
    kept.used = 0;
    CardStorage& p = platform().card();
    while (p.dir_next(handle, name, sizeof name)) {
        if (docs.doc_dir_entries < UINT16_MAX) ++docs.doc_dir_entries;
        if (!name_matches(name) || docs.doc_count == UINT16_MAX) continue;
        const uint16_t index = docs.doc_count++;
        put_in_window(index, from, name);
        keep_name(index, name);
    }
}

void show_notice(ScreenFn notice)
{
    return_screen = screen_of(ScreenId::RUN);
    ScreenHandler = notice;
    tick.quick_menu_countdown = 0;
}

// A red box in a white frame from x1 to x2 with two lines of 16-pixel text;
// any key returns.
void card_notice(int16_t x1, int16_t x2, const char* first, const char* second)
{
    clear_screen();
    draw_rect(x1, 96, x2, 176, COLOUR_WHITE);
    fill_rect(int16_t(x1 + 1), 97, int16_t(x2 - 1), 175, COLOUR_RED);
    draw_text(240, 104, first, 16, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 138, second, 16, ALIGN_CENTRE, COLOUR_WHITE);
    if (KeyEvent == KEY_NONE) return;
    ScreenHandler = return_screen;
    KeyEvent = KEY_NONE;
}

// A list name drawn character by character up to the scroll track, so a long
// name is cut where the list ends instead of running over the track.
void draw_list_name(int16_t y, const char* name, uint8_t colour)
{
    constexpr int16_t LIST_RIGHT = 455;
    int16_t x = 150;
    for (size_t i = 0; name[i] != 0 && x < LIST_RIGHT; ++i) {
        const char one[2] = {name[i], 0};
        draw_text(x, y, one, 8, ALIGN_LEFT, colour);
        x = text_end_x;
    }
}

// The background as it was before a picture load, put back when it fails.
uint8_t background_saved[FRAME_BYTES];

bool open_picture(const char* path)
{
    std::memcpy(background_saved, background_buffer, FRAME_BYTES);
    clear_background();
    if (load_mif_file(0, 0, path)) return true;
    std::memcpy(background_buffer, background_saved, FRAME_BYTES);
    return false;
}

bool open_checklist(const char* path)
{
    static Checklist loaded;
    if (!checklist_load(path, loaded)) return false;
    static_assert(sizeof loaded.lines == sizeof docs.checklist_lines);
    std::memcpy(docs.checklist_lines, loaded.lines, sizeof loaded.lines);
    docs.checklist_line_count = loaded.line_count;
    docs.checklist_cursor = 0;
    return true;
}

// The settings keep the path only when it fits whole: a cut path would name
// another file.
void remember_in_settings(uint8_t kind, const char* path)
{
    settings.doc_last_kind = kind;
    const size_t len = std::strlen(path);
    if (len < sizeof settings.doc_last_name)
        std::memcpy(settings.doc_last_name, path, len + 1);
    else
        settings.doc_last_name[0] = 0;
    settings_changed();
}

} // namespace

void doc_fill_window(uint16_t pos)
{
    const uint16_t from = pos <= 10 ? 0 : uint16_t(pos - 10);
    if (docs.doc_names_kept == 1) {
        std::memset(docs.doc_names, 0, sizeof docs.doc_names);
        for (uint16_t i = from; i < docs.doc_count && i - from < DOC_LIST_ROWS; ++i)
            put_in_window(i, from, kept.bytes + kept.start[i]);
        return;
    }
    CardStorage& p = platform().card();
    const int handle = p.dir_open(list_dir());
    if (handle < 0) return;
    scan(handle, from, false);
    p.dir_close(handle);
}

void doc_open_list(bool checklists)
{
    docs.doc_kind_list = checklists ? 1 : 0;
    if (sys.sd_card_present != 1 || sys.sd_card_mounted != 1) {
        show_notice(screen_of(ScreenId::INSERT_CARD));
        return;
    }
    CardStorage& p = platform().card();
    const int handle = p.dir_open(list_dir());
    if (handle < 0) {
        show_notice(screen_no_files);
        return;
    }
    scan(handle, 0, true);
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
        draw_list_name(int16_t(LIST_Y + LIST_ROW_HEIGHT * i), docs.doc_names[i],
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
    case KEY_SOFT1: tick.quick_menu_countdown = 0; break;
    case KEY_PUSH:
        tick.quick_menu_countdown = 0;
        doc_open_selected();
        break;
    default: break;
    }
    KeyEvent = KEY_NONE;
}

void doc_open_selected()
{
    const char* name = nav.menu_cursor < DOC_LIST_ROWS ? docs.doc_names[nav.menu_cursor] : "";
    const bool picture = name_ends_in(name, "MIF");
    char path[DOC_PATH_BYTES];
    std::strcpy(path, picture ? INFOPAGE_DIR : CHECKLIST_DIR);
    std::strcat(path, "\\");
    std::strncat(path, name, DOC_NAME_BYTES - 1);
    const bool opened = name[0] != 0 && (picture ? open_picture(path) : open_checklist(path));
    if (!opened) {
        show_notice(screen_doc_unreadable);
        return;
    }
    docs.doc_shown = picture ? 1 : 2;
    std::strcpy(docs.doc_path, path);
    remember_in_settings(docs.doc_shown, path);
}

void doc_restore_after_power_on()
{
    if (docs.doc_shown != 1) return;
    clear_background();
    if (!load_mif_file(0, 0, docs.doc_path)) {
        clear_background();
        docs.doc_shown = 0;
        docs.doc_path[0] = 0;
    }
}

void screen_no_files() { card_notice(140, 340, "NO FILES", "ON SD CARD"); }

void screen_doc_unreadable() { card_notice(110, 370, "CANNOT READ", "FILE"); }

} // namespace ems
