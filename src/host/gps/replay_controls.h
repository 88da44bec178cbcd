// The replay controls of the GPS tab's log page: pause, speed and progress
// of a log replay.
#pragma once

class QLayout;

namespace host {

class ControlPanel;
class NmeaFileReplay;

// A row for the replay's page; its "&Pause" button and "Speed:" box go into
// the controls' table.
QLayout* build_replay_controls(NmeaFileReplay* replay, ControlPanel& controls);

} // namespace host
