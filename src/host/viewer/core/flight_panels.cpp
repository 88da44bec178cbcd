#include "host/viewer/core/flight_panels.h"

#include "host/viewer/core/flight_analysis.h"

namespace host {

namespace {

bool starts(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

} // namespace

size_t panel_of(std::string_view c)
{
    if (starts(c, "EGT")) return 0;
    if (starts(c, "CHT")) return 1;
    if (starts(c, "FLOW")) return 2;
    if (starts(c, "RPM") || c == "MAP") return 3;
    if (c == "VOLTS" || c == "AMPS") return 4;
    return OTHER_PANEL;
}

size_t panel_by_key(std::string_view key)
{
    for (size_t i = 0; i < FLIGHT_PANEL_COUNT; ++i)
        if (key == FLIGHT_PANELS[i].key) return i;
    return FLIGHT_PANEL_COUNT;
}

bool shown_in_panel_at_first(std::string_view c)
{
    // The spread would squeeze the cylinders' traces into a line at the top of their panel.
    return panel_of(c) != OTHER_PANEL && !is_alarm_word(c) && !is_spread(c);
}

} // namespace host
