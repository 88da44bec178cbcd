// The engine as the benchmarks run it: every slider somewhere in its range,
// the busiest engine page or the default one, the host's boxes as a running
// engine has them.
#pragma once
#include "app/power.h"
#include "gfx/draw.h"
#include "pages/run_screen.h"
#include "sensors/ecu_data.h"
#include "settings/settings.h"
#include "system/platform.h"
#include "system/raw_inputs.h"
#include "system/tick.h"

namespace bench {

// Every slider somewhere in its range, as a running engine would show.
inline void running_engine_inputs()
{
    using ems::raw;
    raw.raw_volts = 1600;
    raw.raw_current = 2300;
    raw.raw_oat = 1800;
    raw.raw_map = 1200;
    raw.rpm_period = 600;
    raw.raw_cjc = 2300;
    for (int i = 0; i < 12; ++i) raw.tc_input[i] = int16_t(i < 6 ? 680 + 10 * i : 160 + 5 * i);
    for (int i = 0; i < 4; ++i) raw.raw_aux[i] = uint16_t(900 + 300 * i);
    raw.raw_fuel_level[0] = 1500;
    raw.raw_fuel_level[1] = 1700;
    raw.raw_fuel_pressure = 1400;
    raw.flow_pulses[0] = 3000;
    raw.flow_pulses[1] = 2800;
    raw.rpm2 = 1100;
    ems::tick.alarm_holdoff = 0;
}

// The busiest engine page: both RPM instruments with MAP, twelve
// thermocouples, current and OAT readouts, two flows, two tanks, fuel pressure.
inline void busiest_settings()
{
    using ems::settings;
    settings.rpm2_display = 0;
    settings.map_display = 1;
    settings.egt_channels = 6;
    settings.cht_channels = 6;
    settings.current_display = 1;
    settings.oat_display = 1;
    settings.flow2_on = 1;
    settings.tank2_mode = ems::TANK_SENDER;
    settings.fuel_pressure_display = 1;
    ems::fuel_config_derive();
}

// The host's boxes as a running engine has them: VEXA on, the card mounted.
struct RunningBoxes final : ems::HostInputs {
    bool check_box(ems::CheckBox b) override
    {
        return b == ems::CheckBox::VexaOnOff || b == ems::CheckBox::SdCardMounted;
    }
};

struct Setup {
    explicit Setup(bool busiest)
    {
        ems::set_platform({.inputs = &boxes});
        ems::build_trig_tables();
        ems::calibration_load_defaults();
        ems::settings_load_defaults();
        if (busiest) busiest_settings();
        running_engine_inputs();
        for (int i = 0; i < 100; ++i) ems::process_sensors(); // filters settle
        ems::run.run_page = 0;
    }
    ~Setup() { ems::set_platform({}); }
    RunningBoxes boxes;
};


} // namespace bench
