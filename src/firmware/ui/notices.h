// Notice screens: a message over the whole LCD that any key dismisses,
// returning to return_screen (which the caller sets before switching).
#pragma once

namespace ems {

void screen_insert_card();      // "INSERT" / "SD CARD": the card is needed but not mounted
void screen_invalid_settings(); // "INVALID SETTINGS" / "FILE": the settings file could not be used
void screen_done();             // "MESSAGE" / "DONE": an operation has completed

} // namespace ems
