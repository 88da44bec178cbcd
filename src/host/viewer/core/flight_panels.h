// The panels the flight-data viewer stacks on one time axis, and which panel
// a recorded channel belongs to.
#pragma once
#include <cstddef>
#include <iterator>
#include <string_view>

namespace host {

struct FlightPanelKind {
    const char* title; // on the panel and in the View menu
    const char* key;   // in the remembered layout and the scenario command
};

constexpr FlightPanelKind FLIGHT_PANELS[] = {
    {"EGT", "egt"},
    {"CHT", "cht"},
    {"Fuel Flow", "flow"},
    {"RPM and MAP", "rpm_map"},
    {"Electrical", "electrical"},
    {"Other", "other"},
};
constexpr size_t FLIGHT_PANEL_COUNT = std::size(FLIGHT_PANELS);
constexpr size_t OTHER_PANEL = FLIGHT_PANEL_COUNT - 1;

// The panel (an index into FLIGHT_PANELS) a channel of that name shows in.
size_t panel_of(std::string_view channel);
// The panel of that key, or FLIGHT_PANEL_COUNT.
size_t panel_by_key(std::string_view key);
// Whether the channel shows in its panel before the user chooses: all but
// those of the Other panel, the alarm words and the spreads.
bool shown_in_panel_at_first(std::string_view channel);

} // namespace host
