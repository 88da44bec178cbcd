// Stand-ins for the calibration screens until they are built: each shows its
// title and goes back to the page that opened it on EXIT or BACK.
#include "config/calibration.h"

#include "config/setup_pages.h"
#include "ui/navigation.h"
#include "ui/screen.h"
#include "ui/widgets.h"

namespace ems {

SenderCalibrationTable cal_work{};
uint8_t cal_kind = CAL_KIND_PRESSURE;

namespace {

void stand_in(const char* title)
{
    title_bar("EMS SETUP", title);
    soft_key_bar(1);
    if (KeyEvent == KEY_SOFT1) exit_to_run_screen();
    if (KeyEvent == KEY_SOFT2 && return_screen) {
        nav.menu_cursor = bindings.return_row;
        ScreenHandler = return_screen;
    }
    KeyEvent = KEY_NONE;
}

} // namespace

void screen_sender_calibration() { stand_in("CALIBRATE SENDER"); }
void screen_zero_current() { stand_in("ZERO CURRENT SENSOR"); }
void screen_zero_main_current() { stand_in("ZERO CURRENT SENSOR"); }
void screen_tank_setup() { stand_in(bindings.tank_index ? "TANK 2 SETUP" : "TANK 1 SETUP"); }
void screen_tank_calibrate() { stand_in("CALIBRATE TANK"); }
void screen_slope_error() { stand_in("SLOPE ERROR"); }

} // namespace ems
