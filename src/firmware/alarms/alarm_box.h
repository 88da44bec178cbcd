// The alarm box: the most important alarm the pilot has not acknowledged,
// shown as a red box with a white frame and white text over the middle of the
// run screen. The next key press while it shows acknowledges it and goes no
// further.
#pragma once
#include <cstddef>
#include <cstdint>

#include "alarms/alarm_table.h"

namespace ems {

// Longest message, terminator included (a label plus its suffix).
constexpr size_t ALARM_TEXT_SIZE = 40;

// The first pending alarm bit in the alarm table's order (set in alarm_flags,
// clear in alarm_acked), or 0 when none. An analog-input bit counts only while
// its channel is switched on (channel_mode 1..4).
uint32_t alarm_pending();

// Message of one alarm bit as its row in the alarm table forms it, LOW or
// HIGH as its channel last recorded: line1 always, line2 "" except for a
// two-line box. Returns the number of lines (1 or 2), 0 for a bit without a
// message (line1 is then ""). Both buffers hold ALARM_TEXT_SIZE.
uint8_t alarm_message(uint32_t bit, char* line1, char* line2);

// A pending key (1..8) acknowledges the alarm whose box the last frame showed,
// if it is still pending, and is consumed, so neither the page nor an overlay
// sees it. A key that came before any box was visible is left for them.
void alarm_acknowledge();

// Draws the box of the first pending alarm (one box per pass) and records it
// in alarm_shown for alarm_acknowledge; drawn after everything else on the run
// screen, so no overlay hides it.
void alarm_display();

// One- and two-line boxes in font 16 centred on x = 240; nothing unless the
// run screen is the active ScreenHandler. The extent comes from line 1.
void alarm_box_1(const char* text);
void alarm_box_2(const char* line1, const char* line2);

} // namespace ems
