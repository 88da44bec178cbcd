#include "ui/screen_ids.h"

#include "ui/navigation.h"

namespace ems {

void go_to(ScreenId id, uint8_t row)
{
    nav.menu_cursor = row;
    ScreenHandler = screen_of(id);
}

void show_screen(ScreenId id) { ScreenHandler = screen_of(id); }

bool showing(ScreenId id) { return ScreenHandler == screen_of(id); }

} // namespace ems
