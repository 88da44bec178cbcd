// Saving and recalling the settings file from MISCELLANEOUS SETUP: the file
// itself is settings/settings_file.cpp; these add the cursor and the notice
// that follow.
#pragma once

#include "ui/screen.h"

namespace ems {

// Writes the file and shows screen_done, or screen_invalid_settings on any
// failure but one: a SORVIK2.TMP the card will not let go of (a link, a FIFO)
// shows screen_save_failed, which tells the user to remove it. Returns true on
// success. Sets menu_cursor to 1.
bool settings_save_to_card();
// "SAVE FAILED" / "REMOVE SORVIK2.TMP"; any key returns to return_screen.
void screen_save_failed();
// Reads the file into the settings and shows screen_done, or
// screen_invalid_settings when it is missing or not usable (nothing changes
// then). Returns true on success. Sets menu_cursor to 2.
bool settings_recall_from_card();

// Key 6 on the MISCELLANEOUS SETUP rows: return_screen = page, then save or
// recall when the card is mounted, else screen_insert_card.
void misc_save_settings(ScreenFn page);
void misc_recall_settings(ScreenFn page);

} // namespace ems
