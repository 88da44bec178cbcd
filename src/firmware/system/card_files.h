// Small questions about the card that several subsystems ask.
#pragma once

#include "system/platform.h"

namespace ems {

constexpr const char* CARD_ROOT = "SDCARD"; // the card itself, as a card path

// True when the folder is there (the card folder itself for CARD_ROOT).
bool card_has_folder(CardStorage& card, const char* folder);

// True when the folder of a card path lists its last name, in any letter
// case (the card's FAT names): it tells a file that is there but cannot be
// used (a link, a FIFO, a folder of that name) from one that is missing.
bool card_lists(CardStorage& card, const char* card_path);

} // namespace ems
