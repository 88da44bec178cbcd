// Notice screens: a message over the whole LCD that any key dismisses,
// returning to return_screen (which the caller sets before switching).
#pragma once
#include <cstdint>

namespace ems {

void screen_insert_card();      // "INSERT" / "SD CARD": the card is needed but not mounted
void screen_invalid_settings(); // "INVALID SETTINGS" / "FILE": the settings file could not be used
void screen_done();             // "MESSAGE" / "DONE": an operation has completed

// The notices' box: red with a white border between x1 and x2, rows 96..176,
// two lines of white 16-pixel text centred on the screen. Drawn over what is
// there.
void notice_box(int16_t x1, int16_t x2, const char* first, const char* second);

// A notice over the run screen's page rather than in its place, for what
// happens in flight without the pilot asking (the recording stopping): the
// page, its keys and the alarms go on beneath it, and the alarm box is drawn
// over it, so our own notice never hides an alarm. It waits while another
// screen is active. The first key after it was in sight (one the alarm box
// does not take) dismisses it.
struct RunNotice {
    const char* first = nullptr; // null: no notice
    const char* second = "";
    int16_t x1 = 0, x2 = 0; // the box's extent
    uint8_t shown = 0;      // 1 once a frame has shown it
};
extern RunNotice run_notice;

void run_notice_show(int16_t x1, int16_t x2, const char* first, const char* second);
void run_notice_clear();
// Run screen: a pending key dismisses a notice that was in sight; true when it did.
bool run_notice_take_key();
// Run screen: draws the notice, if any (before the alarm box).
void run_notice_draw();

} // namespace ems
