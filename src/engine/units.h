// Conversions between the SI units the engine model works in and the units
// pilots and engine makers quote.
#pragma once

namespace engine {

constexpr double PA_PER_INHG = 3386.389;
constexpr double PA_PER_PSI = 6894.757;
constexpr double WATTS_PER_HP = 745.7;
constexpr double M3_PER_IN3 = 1.6387064e-5;
constexpr double METRES_PER_FOOT = 0.3048;
constexpr double MS_PER_KNOT = 0.514444;
constexpr double KG_PER_US_GALLON = 6.0 * 0.45359237; // avgas, 6.0 lb per gallon
constexpr double LITRES_PER_US_GALLON = 3.785411784;
constexpr double KELVIN_AT_0C = 273.15;

constexpr double kelvin_from_f(double f) { return (f - 32) * 5 / 9 + KELVIN_AT_0C; }
constexpr double f_from_kelvin(double k) { return (k - KELVIN_AT_0C) * 9 / 5 + 32; }
constexpr double kelvin_from_c(double c) { return c + KELVIN_AT_0C; }
constexpr double c_from_kelvin(double k) { return k - KELVIN_AT_0C; }
// A temperature difference in F as kelvin.
constexpr double kelvin_span_from_f(double f) { return f * 5 / 9; }
constexpr double gph_from_kg_s(double kg_s) { return kg_s * 3600 / KG_PER_US_GALLON; }

} // namespace engine
