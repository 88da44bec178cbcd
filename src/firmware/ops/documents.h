// SD-card documents: the state the information display page reads. The
// document functions (listing, loading pictures and checklists) come later.
#pragma once
#include <cstdint>

namespace ems {

constexpr uint8_t CHECKLIST_MAX_LINES = 30;  // lines kept of one checklist
constexpr uint8_t CHECKLIST_LINE_BYTES = 60; // 59 characters and the terminator

struct DocumentState {
    uint8_t doc_shown = 0;                                           // 0 none, 1 picture, 2 checklist
    char checklist_lines[CHECKLIST_MAX_LINES][CHECKLIST_LINE_BYTES] = {}; // NUL-terminated lines
    uint8_t checklist_line_count = 0;                                // 0..30 lines loaded
    uint8_t checklist_cursor = 0;                                    // highlighted line, 0..count - 1
};
extern DocumentState docs;

} // namespace ems
