// The fuel area of the engine page (layout chosen by fuel_config), the fuel
// pressure readout, and the small items of the top strip: the OAT column and
// the UL Power lane lamps.
#pragma once
#include <cstdint>

#include "pages/gauges.h"

namespace ems {

// The fuel widget chosen by fuel_config (0..15) in the lower right of the engine page.
void fuel_area();
// Fuel pressure bar at `at`, with its value and unit to the right; with_label
// writes "FP" to the left. Drawn by the layouts only while
// fuel_pressure_display is 1.
void fuel_pressure_readout(const BarReadout& at, bool with_label);
// Formats tank quantity v (tank unit, 0.1 for gallons or with tank_resolution 1)
// into text (at least 16 bytes); empty when fuel_unit is above 5.
void fuel_quantity_text(char* text, uint16_t v);
// OAT label and value centred at x = 446 in the top strip.
void oat_column();
// The two UL Power lane lamps at x = 460, from ignition_state.
void ul_lane_lamps();

} // namespace ems
