// SD-card documents: picture pages in SDCARD\INFOPAGE\ (names ending in MIF)
// and checklists in SDCARD\CHECKLST\ (names ending in ECL), and the list
// pop-up that shows what the card holds. A push on the list opens the selected
// document into the state the information display page reads
// (pages/document_state.h); one that cannot be read leaves what is shown as
// it was and says so.
#pragma once
#include <cstdint>

#include "pages/document_state.h"

namespace ems {

// From the documents quick menu: lists the checklists (true) or the info
// pages. Without a card: "INSERT" / "SD CARD"; without the directory or a
// matching file: "NO FILES" / "ON SD CARD"; both return to the run screen.
// Otherwise the first name is selected and the list pop-up opens.
void doc_open_list(bool checklists);
// Fills doc_names with the matching names from index pos - 10 (0 when
// pos <= 10) on, at most 11; the rest are emptied. The names come from the
// folder as read when the list opened; only a folder whose names did not all
// fit in memory then is read again.
void doc_fill_window(uint16_t pos);

// The list pop-up (title bar with "CHECKLISTS" or "INFO PAGES", EXIT only):
// 7 and 8 move through the files, 1 closes it, 6 closes it and opens the
// selected file with doc_open_selected.
void popup_doc_list();
// Opens the name under the list cursor: a name ending in MIF (any case) as a
// picture from SDCARD\INFOPAGE\ into the background, any other as a
// checklist from SDCARD\CHECKLST\. On success doc_shown, doc_path, the
// checklist cursor and the settings' doc_last_kind / doc_last_name follow;
// a file that cannot be opened, or a picture that cannot be decoded whole,
// changes nothing and shows "CANNOT READ" / "FILE" over the run screen.
void doc_open_selected();
// After power-on (the splash has used the background): the picture shown
// before is read again, or, when that fails, no document is shown.
void doc_restore_after_power_on();
// "NO FILES" / "ON SD CARD"; any key returns to return_screen.
void screen_no_files();
// "CANNOT READ" / "FILE"; any key returns to return_screen.
void screen_doc_unreadable();

} // namespace ems
