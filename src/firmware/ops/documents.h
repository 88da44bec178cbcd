// SD-card documents: picture pages in SDCARD\INFOPAGE\ (names ending in MIF)
// and checklists in SDCARD\CHECKLST\ (names ending in ECL), the list pop-up
// that shows what the card holds, and the state the information display page
// reads. A push on the list opens the selected document; one that cannot be
// read leaves what is shown as it was and says so.
#pragma once
#include <cstdint>

namespace ems {

constexpr uint8_t CHECKLIST_MAX_LINES = 30;  // lines kept of one checklist
constexpr uint8_t CHECKLIST_LINE_BYTES = 60; // 59 characters and the terminator
constexpr uint8_t DOC_LIST_ROWS = 11;        // names in the list window
constexpr uint16_t DOC_NAME_BYTES = 256;     // a whole card file name and the terminator
constexpr uint16_t DOC_PATH_BYTES = 16 + DOC_NAME_BYTES; // "SDCARD\\CHECKLST\\" and a name

struct DocumentState {
    uint8_t doc_shown = 0;                                           // 0 none, 1 picture, 2 checklist
    char checklist_lines[CHECKLIST_MAX_LINES][CHECKLIST_LINE_BYTES] = {}; // NUL-terminated lines
    uint8_t checklist_line_count = 0;                                // 0..30 lines loaded
    uint8_t checklist_cursor = 0;                                    // highlighted line, 0..count - 1
    uint8_t doc_kind_list = 0;                                       // list open: 1 checklists, 0 info pages
    uint16_t doc_count = 0;                                          // matching files in the directory
    uint16_t doc_dir_entries = 0;                                    // directory entries read
    uint16_t doc_pos = 0;                                            // selected file among the matching ones
    char doc_names[DOC_LIST_ROWS][DOC_NAME_BYTES] = {};              // the list window's names, NUL-terminated
    char doc_path[DOC_PATH_BYTES] = {};                              // card path of the document shown, "" for none
    uint8_t doc_names_kept = 0; // 1: every matching name of the open list was kept when it opened
};
extern DocumentState docs;

// From the documents quick menu: lists the checklists (true) or the info
// pages. Without a card: "INSERT" / "SD CARD"; without the directory or a
// matching file: "NO FILES" / "ON SD CARD"; both return to the run screen.
// Otherwise the first name is selected and the list pop-up opens.
void doc_open_list(bool checklists);
// Fills doc_names with the matching names from index pos - 10 (0 when
// pos <= 10) on, at most 11; the rest are emptied. The names come from the
// folder as read when the list opened; only a folder whose names did not all
// fit in memory then is read again.
void doc_fill_window(uint16_t pos);

// The list pop-up (title bar with "CHECKLISTS" or "INFO PAGES", EXIT only):
// 7 and 8 move through the files, 1 closes it, 6 closes it and opens the
// selected file with doc_open_selected.
void popup_doc_list();
// Opens the name under the list cursor: a name ending in MIF (any case) as a
// picture from SDCARD\INFOPAGE\ into the background, any other as a
// checklist from SDCARD\CHECKLST\. On success doc_shown, doc_path, the
// checklist cursor and the settings' doc_last_kind / doc_last_name follow;
// a file that cannot be opened, or a picture that cannot be decoded whole,
// changes nothing and shows "CANNOT READ" / "FILE" over the run screen.
void doc_open_selected();
// After power-on (the splash has used the background): the picture shown
// before is read again, or, when that fails, no document is shown.
void doc_restore_after_power_on();
// "NO FILES" / "ON SD CARD"; any key returns to return_screen.
void screen_no_files();
// "CANNOT READ" / "FILE"; any key returns to return_screen.
void screen_doc_unreadable();

} // namespace ems
