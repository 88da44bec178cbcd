#include "host/inputs/core/sensor_preset.h"

#include <cctype>
#include <climits>

namespace host {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A whole number with an optional sign, within int.
bool parse_int(std::string_view s, int& value)
{
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 10) return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    value = int(v);
    return true;
}

bool parse_value(std::string_view s, PresetEntry& e)
{
    const std::string word = lower(s);
    for (const char* on : {"on", "yes", "true"})
        if (word == on) {
            e.value = 1;
            e.on_off = true;
            return true;
        }
    for (const char* off : {"off", "no", "false"})
        if (word == off) {
            e.value = 0;
            e.on_off = true;
            return true;
        }
    return parse_int(s, e.value);
}

bool failed(std::string& error, int line, const std::string& reason)
{
    error = "line " + std::to_string(line) + ": " + reason;
    return false;
}

} // namespace

bool parse_sensor_preset(std::string_view text, SensorPreset& out, std::string& error)
{
    if (text.size() > PRESET_MAX_BYTES) return failed(error, 1, "the file is too large for a preset");
    SensorPreset preset;
    std::string tab;
    int line_no = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++line_no;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return failed(error, line_no, "a section needs a closing ']'");
            tab = std::string(trim(line.substr(1, line.size() - 2)));
            if (tab.empty()) return failed(error, line_no, "a section needs a tab name");
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) return failed(error, line_no, "expected CAPTION = VALUE");
        std::string_view key = trim(line.substr(0, eq));
        const std::string_view value = trim(line.substr(eq + 1));
        if (key.empty()) return failed(error, line_no, "a caption is missing before '='");
        if (tab.empty()) {
            if (key != "name") return failed(error, line_no, "\"" + std::string(key) + "\" stands before any [TAB]");
            preset.name = std::string(value);
            continue;
        }
        PresetEntry e;
        e.tab = tab;
        // "Volts:" and "Volts" name the same control.
        while (!key.empty() && (key.back() == ':' || std::isspace(static_cast<unsigned char>(key.back()))))
            key.remove_suffix(1);
        if (key.empty()) return failed(error, line_no, "a caption is missing before '='");
        e.caption = std::string(key);
        e.line = line_no;
        if (!parse_value(value, e))
            return failed(error, line_no, "\"" + std::string(value) + "\" is neither a whole number nor on/off");
        for (const PresetEntry& other : preset.entries)
            if (other.tab == e.tab && other.caption == e.caption)
                return failed(error, line_no, e.tab + "/" + e.caption + " is already set on line " +
                                                  std::to_string(other.line));
        preset.entries.push_back(std::move(e));
    }
    out = std::move(preset);
    return true;
}

std::string format_sensor_preset(const SensorPreset& preset)
{
    std::string text =
        "# Sorvik EMS G2 simulator: sensor preset.\n"
        "# [TAB] starts the controls of a tab; each line below it is CAPTION = VALUE,\n"
        "# a slider's position or on/off for a check box. Controls left out keep\n"
        "# their positions when the preset is loaded.\n";
    if (!preset.name.empty()) text += "name = " + preset.name + "\n";
    std::string tab;
    for (const PresetEntry& e : preset.entries) {
        if (e.tab != tab) {
            tab = e.tab;
            text += "\n[" + tab + "]\n";
        }
        text += e.caption + " = " + (e.on_off ? std::string(e.value ? "on" : "off") : std::to_string(e.value)) + "\n";
    }
    return text;
}

} // namespace host
