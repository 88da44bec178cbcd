#include "config/timers_setup.h"

#include "ops/main_menu.h"
#include "ui/setup_keys.h"

namespace ems {

namespace {

const SetupPage timers_page = {
    .section = "",
    .name = "TIMERS SETUP",
    .largest_step = 1,
    .parent = screen_main_menu,
    .parent_item = MAIN_TILE_TIMERS,
};

} // namespace

void screen_timers_setup() { setup_page(timers_page); }

} // namespace ems
