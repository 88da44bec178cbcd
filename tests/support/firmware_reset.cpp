#include "support/firmware_reset.h"

#include "alarms/alarm_words.h"
#include "gfx/draw.h"
#include "gps/gps_data.h"
#include "gps/nmea_rx.h"
#include "gps/sun.h"
#include "ops/data_recording.h"
#include "ops/documents.h"
#include "ops/flight_log.h"
#include "ops/pilot_pages.h"
#include "ops/quick_menus.h"
#include "ops/unit_info.h"
#include "pages/gauges.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/fuel.h"
#include "sensors/hobbs.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"
#include "setup/calibration.h"
#include "setup/setup_pages.h"
#include "setup/timers_setup.h"
#include "system/clock.h"
#include "system/raw_inputs.h"
#include "system/system_state.h"
#include "system/tick.h"
#include "ui/navigation.h"
#include "ui/notices.h"
#include "ui/screen.h"

namespace test {

void reset_firmware()
{
    ems::raw = {};
    ems::tick = {};
    ems::sys = {};
    ems::ecu = {};
    ems::alarms = {};
    ems::run = {};
    ems::quick = {};
    ems::flight = {};
    ems::recording = {};
    ems::run_notice = {};
    ems::pilot = {};
    ems::gps = {};
    ems::sens = {};
    ems::thermo = {};
    ems::minmax = {};
    ems::magsun = {};
    ems::gauges = {};
    ems::docs = {};
    ems::unit_info = {};
    ems::senders = {};
    ems::fuel = {};
    ems::clk = {};
    ems::timers = {};
    ems::hobbs_count = {};
    ems::nav = {};
    ems::bindings = {};
    ems::cal_screens = {};
    ems::nmea.nmea_active = 0;
    ems::nmea.gps_data_timeout = 0;
    for (const ems::NmeaSentence& s : ems::NMEA_SENTENCES) ems::nmea.*s.flag = 0;
    ems::ScreenHandler = nullptr;
    ems::return_screen = nullptr;
    ems::KeyEvent = 0;
    ems::settings_load_defaults();
    ems::calibration_load_defaults();
    ems::calibration.serial_number = 0; // 0 at program start; power-on leaves it
    ems::fuel_hobbs = {};
    ems::build_trig_tables(); // built at every power-on; a drawing test may start without one
    ems::clear_screen();
    ems::clear_background();
}

void reset_nmea_link()
{
    ems::nmea_rx = ems::NmeaRx{};
    ems::nmea = ems::NmeaLink{};
}

} // namespace test
