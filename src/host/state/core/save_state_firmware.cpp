// The firmware's part of a save state: taken from and put back into the
// unit's records.
#include "host/state/core/save_state.h"

#include "pages/run_screen.h"
#include "ui/widgets.h"

namespace host {

SaveState capture_firmware_state()
{
    SaveState s;
    s.settings = ems::settings;
    if (ems::settings_validate(s.settings) != nullptr) {
        // A unit not yet switched on holds no settings: the state takes the
        // factory settings it would start with, and the unit's own stay.
        const ems::UnitSettings kept = ems::settings;
        const ems::DerivedSettings derived = ems::derived;
        ems::settings_load_defaults();
        s.settings = ems::settings;
        ems::settings = kept;
        ems::derived = derived;
    }
    s.calibration = ems::calibration;
    s.counters = ems::fuel_hobbs;
    s.flight = ems::flight;
    s.run_page = ems::run.run_page;
    return s;
}

void apply_firmware_state(const SaveState& s)
{
    ems::settings = s.settings;
    ems::settings.version = ems::FIRMWARE_VERSION;
    ems::fuel_config_derive();
    ems::rpm1_scale_update();
    ems::calibration = s.calibration;
    ems::fuel_hobbs = s.counters;
    ems::flight = s.flight;
    // A half-made edit of a setup page is not part of a state: the unit
    // carries on from the run screen, on the saved page if it can show it.
    ems::exit_to_run_screen();
    ems::run.run_page = s.run_page;
    ems::next_enabled_page_back();
}

} // namespace host
