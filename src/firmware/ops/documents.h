// SD-card documents: picture pages in SDCARD\INFOPAGE\ (names ending in MIF)
// and checklists in SDCARD\CHECKLST\ (names ending in ECL), the list pop-up
// that shows what the card holds, and the state the information display page
// reads. Opening a listed document (loading the picture or the checklist)
// comes with the document viewer; until then a push on the list closes it.
#pragma once
#include <cstdint>

namespace ems {

constexpr uint8_t CHECKLIST_MAX_LINES = 30;  // lines kept of one checklist
constexpr uint8_t CHECKLIST_LINE_BYTES = 60; // 59 characters and the terminator
constexpr uint8_t DOC_LIST_ROWS = 11;        // names in the list window
constexpr uint8_t DOC_NAME_BYTES = 20;       // 19 characters of a name and the terminator

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
};
extern DocumentState docs;

// From the documents quick menu: lists the checklists (true) or the info
// pages. Without a card: "INSERT" / "SD CARD"; without the directory or a
// matching file: "NO FILES" / "ON SD CARD"; both return to the run screen.
// Otherwise the first name is selected and the list pop-up opens.
void doc_open_list(bool checklists);
// Reads the directory again and fills doc_names with the matching names from
// index pos - 10 (0 when pos <= 10) on, at most 11; the rest are emptied.
void doc_fill_window(uint16_t pos);

// The list pop-up (title bar with "CHECKLISTS" or "INFO PAGES", EXIT only):
// 7 and 8 move through the files, 1 and 6 close it.
void popup_doc_list();
// "NO FILES" / "ON SD CARD"; any key returns to return_screen.
void screen_no_files();

} // namespace ems
