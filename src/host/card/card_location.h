// Which folder stands for the SD card when the program starts, and where the
// sample card that comes with the program lies.
#pragma once
#include <QString>

namespace host {

// The installed sample card: share/sorvik-ems/SDCARD beside the program's
// own folder (wherever the package was installed or unpacked), else in the
// system's data folders. Empty when there is none (a build-tree run).
QString sample_card_dir();

// The user's own card: SDCARD in the user's data folder for the program
// (~/.local/share/sorvik-ems/SDCARD), the folder scripts/run.sh uses too.
QString default_card_dir();

// The card chosen last with --card or File / "Open Card Folder...", kept in
// the application's settings; empty when none was chosen.
QString remembered_card();
void remember_card(const QString& dir);

// The card to start with when none is given: SDCARD in the working
// directory (a build-tree run, the tests) unless it is the sample card; else the remembered card while
// it still exists; else the user's own card, first filled with whatever it
// lacks of the sample card (never replacing a file of the user's). Empty
// means SDCARD in the working directory. A problem while filling the card
// is returned in warning; the card is still used.
QString startup_card(QString& warning);

} // namespace host
