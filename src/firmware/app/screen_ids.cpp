// The handler behind every screen id; a switch, so an id without its handler
// does not compile.
#include "ui/screen_ids.h"

#include "ops/flight_log.h"
#include "ops/main_menu.h"
#include "ops/settings_card.h"
#include "ops/unit_info.h"
#include "pages/run_screen.h"
#include "setup/calibration.h"
#include "setup/setup_pages.h"
#include "setup/timers_setup.h"
#include "ui/notices.h"

namespace ems {

ScreenFn screen_of(ScreenId id)
{
    switch (id) {
    case ScreenId::RUN: return run_screen;
    case ScreenId::MAIN_MENU: return screen_main_menu;
    case ScreenId::FLIGHT_LOG: return screen_flight_log;
    case ScreenId::EMS_SETUP: return screen_ems_setup_menu;
    case ScreenId::GPS_SETUP: return screen_gps_setup;
    case ScreenId::TIMERS_SETUP: return screen_timers_setup;
    case ScreenId::DATA_RECORDING: return screen_data_recording;
    case ScreenId::MISC_SETUP: return screen_misc_setup;
    case ScreenId::SENSOR_INFO: return screen_sensor_info;
    case ScreenId::FUEL_SETUP: return screen_fuel_setup;
    case ScreenId::INSERT_CARD: return screen_insert_card;
    case ScreenId::INVALID_SETTINGS: return screen_invalid_settings;
    case ScreenId::DONE: return screen_done;
    case ScreenId::HOBBS_CODE: return screen_enter_hobbs_code;
    case ScreenId::CURRENT_CODE: return screen_enter_current_code;
    case ScreenId::NEW_CODE: return screen_enter_new_code;
    case ScreenId::CONFIRM_NEW_CODE: return screen_confirm_new_code;
    case ScreenId::CODE_MESSAGE: return screen_code_message;
    case ScreenId::HOBBS_TIME: return screen_hobbs_time;
    case ScreenId::MAINTENANCE_TIMER: return screen_maintenance_timer;
    case ScreenId::SET_UTC: return screen_set_utc;
    case ScreenId::REGISTRATION: return screen_registration;
    case ScreenId::INFORMATION: return screen_information;
    case ScreenId::SERIAL_NUMBER: return screen_serial_number;
    case ScreenId::SAVE_FAILED: return screen_save_failed;
    case ScreenId::VIEW_FLIGHT_LOG: return screen_view_flight_log;
    case ScreenId::ERASE_FLIGHT_LOG: return screen_erase_flight_log;
    case ScreenId::EXPORT_FAILED: return screen_export_failed;
    case ScreenId::SENDER_CALIBRATION: return screen_sender_calibration;
    case ScreenId::TANK_CALIBRATE: return screen_tank_calibrate;
    case ScreenId::TANK_SETUP: return screen_tank_setup;
    case ScreenId::SLOPE_ERROR: return screen_slope_error;
    }
    return run_screen;
}

} // namespace ems
