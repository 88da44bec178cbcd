// The information display page: document picture, checklist, or the
// "INFORMATION" / "DISPLAY" title the page shows while no document is chosen.
#include "pages/info_page.h"

#include "gfx/draw.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "pages/document_state.h"
#include "pages/gauges_internal.h"
#include "system/system_state.h"

namespace ems {

DocumentState docs;

using namespace gauge_detail;

namespace {

// Checklist lines from the one above the cursor's screenful, 20 pixels apart,
// character by character in font 10; the cursor line in red.
void draw_checklist()
{
    uint8_t count = docs.checklist_line_count;
    if (count > CHECKLIST_MAX_LINES) count = CHECKLIST_MAX_LINES;
    int first = docs.checklist_cursor > 12 ? docs.checklist_cursor - 12 : 0;
    for (int i = first; i < count && 20 * (i - first) <= 240; ++i) {
        uint8_t colour = i == docs.checklist_cursor ? COLOUR_RED : COLOUR_WHITE;
        const char* line = docs.checklist_lines[i];
        int16_t x = 0;
        for (int c = 0; c < CHECKLIST_LINE_BYTES && line[c] != 0 && x < 460; ++c) {
            char one[2] = {line[c], 0};
            draw_text(x, int16_t(20 * (i - first)), one, 10, ALIGN_LEFT, colour);
            x = text_end_x;
        }
    }
}

} // namespace

void page_info()
{
    bool card = sys.sd_card_present == 1 && sys.sd_card_mounted == 1;
    if (card && docs.doc_shown == 1) {
        copy_background();
        return;
    }
    clear_screen();
    if (card && docs.doc_shown == 2) {
        draw_checklist();
        return;
    }
    if (card && docs.doc_shown != 0) return;
    draw_text(240, 90, "INFORMATION", 20, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 140, "DISPLAY", 20, ALIGN_CENTRE, COLOUR_WHITE);
}

} // namespace ems
