// Sensor presets: the positions of the window's sliders and check boxes in a
// small text file that people write and read by hand.
//
//   # a comment ('#' or ';' at the start of a line)
//   name = Cruise            the name the preset chooser shows (optional)
//   [EMS]                    the tab the following controls are on
//   TC1 = 720                a slider: its position, a whole number
//   Volts = 156              captions without their trailing ':'
//   VEXA On/Off = off        a check box: on or off (also yes/no, true/false, 1/0)
//
// Blanks around names and values do not matter; the names are matched as
// written (case and inner blanks included). A preset lists only the controls it
// sets; the others keep their positions.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct PresetEntry {
    std::string tab;     // the [section] it stands under
    std::string caption; // without a trailing ':'
    int value = 0;       // a slider position, or 1/0 for a check box
    bool on_off = false; // written as on/off (a check box)
    int line = 0;        // 1-based, for messages
};

struct SensorPreset {
    std::string name;
    std::vector<PresetEntry> entries; // in file order
};

// Files larger than this are refused before they are read.
constexpr size_t PRESET_MAX_BYTES = 64 * 1024;

// Parses a preset. On failure returns false with "line N: reason" in error and
// leaves out untouched.
bool parse_sensor_preset(std::string_view text, SensorPreset& out, std::string& error);

// The file text of a preset, with a header that explains the format; parsing
// it gives the same preset back.
std::string format_sensor_preset(const SensorPreset& preset);

} // namespace host
