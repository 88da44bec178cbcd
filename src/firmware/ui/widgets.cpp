#include "ui/widgets.h"

#include "gfx/draw.h"

namespace ems {

// Placeholder until the title bar is drawn: only the clearing part.
void draw_title_bar(const char* title, const char* subtitle)
{
    clear_screen();
}

} // namespace ems
