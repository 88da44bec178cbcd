// Power state and card switches of the simulated instrument.
#pragma once
#include <cstdint>

namespace ems {

// Where the firmware is in its power cycle.
enum class PowerPhase : uint8_t {
    Off,         // window open, firmware not running
    Splash,      // power-on splash picture, up to 2500 passes or a key
    Maintenance, // "MAINTENANCE TIMER" / "HAS EXPIRED" notice, up to 2500 passes or a key
    Running,     // main loop
};

struct SystemState {
    uint8_t power_off_request = 0; // 1 asks the main loop to end at its next test
    uint8_t sd_card_mounted = 0;   // follows "SD Card Mounted" every pass
    uint8_t sd_card_present = 0;   // likewise
    PowerPhase phase = PowerPhase::Off;
    uint16_t phase_passes = 0;     // passes shown in the current splash/notice phase
};
extern SystemState sys;

} // namespace ems
