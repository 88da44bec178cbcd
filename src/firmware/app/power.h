// Power cycle and main loop of the firmware. The host drives it: power_on on
// "&On", then firmware_pass for every pass until the phase is Off again.
#pragma once
#include <cstdint>

#include "system/system_state.h"

namespace ems {

constexpr uint16_t PHASE_MAX_PASSES = 2500; // splash and maintenance notice

// Window creation: makes the run screen the active screen. Called once; a later
// power-on keeps whatever screen was active.
void form_create();

// "&On": the power-on sequence up to the start of the splash phase; true when
// it started. While the firmware runs it only cancels a pending "&Off" and
// returns false.
bool power_on();

// "&Off", File / "&Exit", closing the window: the main loop ends at its next test.
void power_off();

// One pass of the current phase: a splash or notice pass, or a main-loop pass
// (switches, sensors, screen, clock, NMEA, present). A phase left by a key or
// by its pass limit goes straight on into the next phase within the same
// call, as the firmware does; at most one frame is presented.
void firmware_pass();

// One main-loop pass (without the loop's power-off test).
void main_loop_pass();

// The first part of a pass: the host's switches, then every sensor channel in
// pass order.
void process_sensors();

bool firmware_running();  // phase is not Off
bool in_power_on_phase(); // splash or maintenance notice

} // namespace ems
