#include "app/screen_names.h"

#include "ops/documents.h"
#include "ops/flight_log.h"
#include "ops/main_menu.h"
#include "ops/pilot_pages.h"
#include "ops/quick_menus.h"
#include "ops/settings_card.h"
#include "ops/unit_info.h"
#include "pages/minmax_page.h"
#include "pages/run_screen.h"
#include "setup/calibration.h"
#include "setup/setup_pages.h"
#include "setup/timers_setup.h"
#include "system/tick.h"
#include "ui/notices.h"

namespace ems {

namespace {

struct NamedScreen {
    ScreenFn fn;
    const char* name;
};

#define SCREEN(fn) {fn, #fn}
const NamedScreen SCREENS[] = {
    SCREEN(run_screen),
    SCREEN(screen_main_menu),
    SCREEN(screen_misc_setup),
    SCREEN(screen_registration),
    SCREEN(screen_information),
    SCREEN(screen_serial_number),
    SCREEN(screen_sensor_info),
    SCREEN(screen_flight_log),
    SCREEN(screen_view_flight_log),
    SCREEN(screen_erase_flight_log),
    SCREEN(screen_export_failed),
    SCREEN(screen_save_failed),
    SCREEN(screen_data_recording),
    SCREEN(screen_timers_setup),
    SCREEN(screen_set_utc),
    SCREEN(screen_hobbs_time),
    SCREEN(screen_maintenance_timer),
    SCREEN(screen_enter_hobbs_code),
    SCREEN(screen_enter_current_code),
    SCREEN(screen_enter_new_code),
    SCREEN(screen_confirm_new_code),
    SCREEN(screen_code_message),
    SCREEN(screen_ems_setup_menu),
    SCREEN(screen_gps_setup),
    SCREEN(screen_volts_setup),
    SCREEN(screen_oat_setup),
    SCREEN(screen_egt_setup),
    SCREEN(screen_cht_setup),
    SCREEN(screen_map_setup),
    SCREEN(screen_rpm1_setup),
    SCREEN(screen_rpm2_setup),
    SCREEN(screen_channel_setup),
    SCREEN(screen_fuel_setup),
    SCREEN(screen_fuel_pressure_setup),
    SCREEN(screen_current_setup),
    SCREEN(screen_ecu_setup),
    SCREEN(screen_sender_calibration),
    SCREEN(screen_zero_current),
    SCREEN(screen_zero_main_current),
    SCREEN(screen_tank_setup),
    SCREEN(screen_tank_calibrate),
    SCREEN(screen_slope_error),
    SCREEN(screen_insert_card),
    SCREEN(screen_invalid_settings),
    SCREEN(screen_done),
    SCREEN(screen_no_files),
    SCREEN(screen_doc_unreadable),
    // Pop-ups of the run screen.
    SCREEN(popup_quick_menu),
    SCREEN(popup_short_menu),
    SCREEN(popup_documents_menu),
    SCREEN(popup_backlight),
    SCREEN(screen_minmax),
    SCREEN(popup_timer),
    SCREEN(popup_lean_mode),
    SCREEN(popup_cruise_mode),
    SCREEN(popup_refill_tank1),
    SCREEN(popup_refill_tank2),
    SCREEN(popup_fuel_totals),
    SCREEN(popup_cruise_speed),
    SCREEN(popup_doc_list),
};
#undef SCREEN

} // namespace

const char* screen_name(ScreenFn fn)
{
    if (!fn) return "none";
    for (const NamedScreen& s : SCREENS)
        if (s.fn == fn) return s.name;
    return "unknown";
}

const char* active_screen_name() { return screen_name(ScreenHandler); }

const char* open_popup_name()
{
    if (ScreenHandler != run_screen || tick.quick_menu_countdown == 0) return "none";
    return screen_name(quick.quick_menu_handler);
}

} // namespace ems
