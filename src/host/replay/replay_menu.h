// The File menu's replay entries: "Replay into the Instrument..." (a
// recording chosen in a file dialog), "Replay Speed" (1x to 10x) and
// "Stop Replay".
#pragma once
#include <functional>

class QMenu;
class QString;
class QWidget;

namespace host {

class InstrumentReplay;

// Adds them to menu; folder() is where the file dialog opens. Failures and the
// replay's end go to warn and note.
void add_replay_menu(QMenu* menu, InstrumentReplay* replay, QWidget* parent, std::function<QString()> folder);

} // namespace host
