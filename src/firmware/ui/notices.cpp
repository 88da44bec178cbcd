#include "ui/notices.h"

#include "gfx/draw.h"
#include "gfx/icons.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/text.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

namespace {

// Any key dismisses a notice.
void dismiss_on_key()
{
    if (KeyEvent == KEY_NONE) return;
    ScreenHandler = return_screen;
    KeyEvent = KEY_NONE;
}

void two_line_box(int16_t x1, int16_t x2, const char* first, const char* second)
{
    clear_screen();
    notice_box(x1, x2, first, second);
}

} // namespace

RunNotice run_notice;

void notice_box(int16_t x1, int16_t x2, const char* first, const char* second)
{
    draw_rect(x1, 96, x2, 176, COLOUR_WHITE);
    fill_rect(int16_t(x1 + 1), 97, int16_t(x2 - 1), 175, COLOUR_RED);
    draw_text(240, 104, first, 16, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 138, second, 16, ALIGN_CENTRE, COLOUR_WHITE);
}

void run_notice_show(int16_t x1, int16_t x2, const char* first, const char* second)
{
    run_notice = {first, second, x1, x2, 0};
}

void run_notice_clear() { run_notice = {}; }

bool run_notice_take_key()
{
    if (!run_notice.first || !run_notice.shown || KeyEvent == KEY_NONE) return false;
    run_notice_clear();
    KeyEvent = KEY_NONE;
    return true;
}

void run_notice_draw()
{
    if (!run_notice.first) return;
    notice_box(run_notice.x1, run_notice.x2, run_notice.first, run_notice.second);
    run_notice.shown = 1;
}

void screen_insert_card()
{
    two_line_box(150, 330, "INSERT", "SD CARD");
    dismiss_on_key();
}

void screen_invalid_settings()
{
    two_line_box(90, 390, "INVALID SETTINGS", "FILE");
    dismiss_on_key();
}

void screen_done()
{
    title_bar("", "MESSAGE");
    draw_image(145, 115, icon_attention);
    draw_text(285, 120, "DONE", 20, ALIGN_CENTRE, COLOUR_WHITE);
    dismiss_on_key();
}

} // namespace ems
