// The document the information display page shows, and the list it was
// opened from. The page and the run screen's keys read it; the documents
// menu (ops/documents.h) fills it, so it sits with the page, below the menu.
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

} // namespace ems
