#include "app/power.h"

#include <cstdio>

#include "alarms/alarm_words.h"
#include "app/tick.h"
#include "gfx/draw.h"
#include "gfx/mif.h"
#include "gfx/palette.h"
#include "gfx/present.h"
#include "gfx/text.h"
#include "gps/gps_data.h"
#include "ops/data_recording.h"
#include "ops/documents.h"
#include "ops/flight_log.h"
#include "pages/run_screen.h"
#include "sensors/channels.h"
#include "sensors/ecu_data.h"
#include "sensors/hobbs.h"
#include "sensors/minmax.h"
#include "sensors/senders.h"
#include "settings/settings.h"
#include "system/clock.h"
#include "system/hooks.h"
#include "system/platform.h"
#include "system/raw_inputs.h"
#include "ui/navigation.h"
#include "ui/screen.h"

namespace ems {

SystemState sys;

namespace {


void enter_splash()
{
    clear_background();
    load_mif_file(0, 0, "SDCARD\\SPLASH.MIF");
    KeyEvent = 0;
    sys.phase = PowerPhase::Splash;
    sys.phase_passes = 0;
}

bool maintenance_expired()
{
    return fuel_hobbs.hobbs.maint_hours == 0 && fuel_hobbs.hobbs.maint_minutes == 0;
}

void enter_maintenance()
{
    KeyEvent = 0;
    sys.phase = PowerPhase::Maintenance;
    sys.phase_passes = 0;
}

// The last preparations after the splash and notice, then the main loop.
void enter_running()
{
    tick.alarm_holdoff = 5;
    alarms.alarm_flags = 0;
    alarms.alarm_acked = 0;
    KeyEvent = 0;
    fuel_config_derive();
    rpm1_scale_update();
    platform().inputs().show_slider_value(PowerOnSlider::Rpm);
    raw.rpm_period = uint16_t(platform().inputs().slider_position(PowerOnSlider::Rpm));
    sensors_start();
    doc_restore_after_power_on(); // the splash has used the picture's buffer
    sys.phase = PowerPhase::Running;
}

void leave_splash()
{
    if (maintenance_expired())
        enter_maintenance();
    else
        enter_running();
}

// One splash pass; false when a key ended the phase (the frame is not shown).
bool splash_pass()
{
    clear_screen();
    copy_background();
    char text[32];
    draw_text(0, 255, settings.registration, 8, ALIGN_LEFT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "s/n: %07d", int(calibration.serial_number));
    draw_text(479, 240, text, 8, ALIGN_RIGHT, COLOUR_WHITE);
    std::snprintf(text, sizeof text, "Version %0.2f", FIRMWARE_VERSION / 100.0);
    draw_text(479, 255, text, 8, ALIGN_RIGHT, COLOUR_WHITE);
    ++sys.phase_passes;
    if (KeyEvent != 0) return false;
    present_frame();
    return true;
}

bool maintenance_pass()
{
    clear_screen();
    draw_rect(69, 96, 411, 176, COLOUR_WHITE);
    fill_rect(70, 97, 410, 175, COLOUR_RED);
    draw_text(240, 104, "MAINTENANCE TIMER", 16, ALIGN_CENTRE, COLOUR_WHITE);
    draw_text(240, 138, "HAS EXPIRED", 16, ALIGN_CENTRE, COLOUR_WHITE);
    ++sys.phase_passes;
    if (KeyEvent != 0) return false;
    present_frame();
    return true;
}

void read_ul_power_switches()
{
    HostInputs& inputs = platform().inputs();
    if (inputs.check_box(CheckBox::EcuComms)) {
        ecu.ul_data_valid = 1;
        tick.ul_data_timeout = 3;
    }
    const bool ign1 = inputs.check_box(CheckBox::Ignition1);
    const bool ign2 = inputs.check_box(CheckBox::Ignition2);
    ecu.ignition_state = ign1 && ign2 ? 12 : ign1 ? 4 : ign2 ? 8 : 0;
    const struct {
        CheckBox box;
        uint32_t bit;
    } faults[] = {
        {CheckBox::AirTempSensor, ALARM_UL_AIR_TEMP_SENSOR},
        {CheckBox::ThrottlePosSensor, ALARM_UL_THROTTLE_POS_SENSOR},
        {CheckBox::MapSensor, ALARM_UL_MAP_SENSOR},
        {CheckBox::OilTempSensor, ALARM_UL_OIL_TEMP_SENSOR},
        {CheckBox::PosSyncSensorFault, ALARM_UL_POS_SYNC_SENSOR},
    };
    for (const auto& f : faults) {
        if (inputs.check_box(f.box))
            alarms.alarm_flags |= f.bit;
        else
            alarm_clear(f.bit);
    }
}

void process_analog_inputs()
{
    for (uint8_t n = 0; n < 4; ++n) {
        if (n < 2 && settings.ecu_type == ECU_UL_POWER) continue;
        switch (channel_mode_in_use(n)) {
        case 1: aux_pressure_input(n); break;
        case 2: aux_temperature_input(n); break;
        case 3: aux_current_input(n); break;
        case 4: aux_generic_input(n); break;
        default: alarm_clear(ALARM_AUX1 << n); break;
        }
    }
}

template <typename Parse>
void parse_slot(std::atomic<uint8_t>& flag, Parse parse)
{
    if (flag.load(std::memory_order_acquire) == 1) {
        parse();
        flag.store(0, std::memory_order_release);
    }
}

} // namespace

void form_create()
{
    if (!ScreenHandler) ScreenHandler = run_screen;
}

bool firmware_running() { return sys.phase != PowerPhase::Off; }

bool in_power_on_phase() { return sys.phase == PowerPhase::Splash || sys.phase == PowerPhase::Maintenance; }

bool power_on()
{
    if (firmware_running()) {
        // The last command wins: an "&Off" the main loop has not yet seen is
        // cancelled, and the firmware runs on where it is.
        sys.power_off_request = 0;
        return false;
    }
    HostInputs& inputs = platform().inputs();
    sys.power_off_request = 0;
    raw.raw_volts = uint16_t(inputs.slider_position(PowerOnSlider::Volts));
    raw.raw_oat = uint16_t(inputs.slider_position(PowerOnSlider::Oat));
    power_on_hook_1();
    calibration_load_defaults();
    power_on_hook_2();
    settings_load_defaults();
    fuel_hobbs = FuelHobbs{};
    hobbs_count = HobbsCounting{};
    hobbs_load();
    flight = FlightLogState{};
    run.run_page = 0;
    minmax_reset();
    build_trig_tables();
    gps.gps_sats_in_view = 0;
    gps.gps_fix_valid = 0;
    gps.magvar_counter = 600;
    nav.edit_step = 1;
    sys.sd_card_mounted = 1;
    form_create();
    enter_splash();
    return true;
}

void power_off() { sys.power_off_request = 1; }

void process_sensors()
{
    HostInputs& inputs = platform().inputs();
    if (settings.ecu_type == ECU_UL_POWER) read_ul_power_switches();
    ecu.vexa_data_valid = inputs.check_box(CheckBox::VexaOnOff) ? 1 : 0;
    sys.sd_card_mounted = sys.sd_card_present = inputs.check_box(CheckBox::SdCardMounted) ? 1 : 0;

    process_volts();
    process_oat();
    process_cjc();
    for (uint8_t ch = 0; ch < 12; ++ch) process_thermocouple(ch);
    process_tank_level(0);
    process_tank_level(1);
    process_rpm();
    process_fuel_flow();
    process_analog_inputs();
    if (settings.map_display != 0)
        process_map();
    else
        alarm_clear(ALARM_MAP);
    // With UL POWER the "Fuel Press:" input owns the fuel-pressure bit.
    if (settings.ecu_type != ECU_UL_POWER) {
        if (settings.fuel_pressure_display == 1)
            process_fuel_pressure();
        else
            alarm_clear(ALARM_FUEL_PRESSURE);
    }
    if (settings.current_display == 1)
        process_current();
    else
        alarm_clear(ALARM_CURRENT);
    minmax_seed_after_holdoff();
}

void main_loop_pass()
{
    process_sensors();

    if (ScreenHandler) ScreenHandler();

    clock_update(settings.utc_offset);

    for (const NmeaSentence& s : NMEA_SENTENCES) parse_slot(nmea.*s.flag, s.parse);
    if (gps.gps_fix_valid == 1 && gps.magvar_counter > 600) {
        gps.magvar_counter = 0;
        magvar_update();
    }
    data_recording_pass();

    present_frame();
}

void firmware_pass()
{
    for (;;) {
        switch (sys.phase) {
        case PowerPhase::Off:
            return;
        // A phase that has shown all its passes ends at the start of the
        // next one, after the events of its last frame: a key pressed then is
        // discarded with the phase instead of reaching what follows.
        case PowerPhase::Splash:
            if (sys.phase_passes < PHASE_MAX_PASSES && splash_pass()) return;
            leave_splash(); // a key (nothing shown for this pass) or the limit: straight on
            continue;
        case PowerPhase::Maintenance:
            if (sys.phase_passes < PHASE_MAX_PASSES && maintenance_pass()) return;
            enter_running();
            continue;
        case PowerPhase::Running:
            if (sys.power_off_request != 0) {
                data_recording_close();
                sys.phase = PowerPhase::Off;
                return;
            }
            main_loop_pass();
            return;
        }
    }
}

} // namespace ems
