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

// A red box with a white border between x1 and x2, rows 96..176, holding two
// lines of white 16-pixel text centred on the screen.
void two_line_box(int16_t x1, int16_t x2, const char* first, const char* second)
{
    clear_screen();
    draw_rect(x1, 96, x2, 176, COLOUR_WHITE);
    fill_rect(int16_t(x1 + 1), 97, int16_t(x2 - 1), 175, COLOUR_RED);
    draw_text(240, 104, first, 16, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 138, second, 16, ALIGN_CENTRE, COLOUR_WHITE);
}

} // namespace

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
