// The FlightGear link's line format: one CSV line per datagram (or several,
// one per line), the values of FlightGear properties in the order of
// FLIGHTGEAR_FIELDS. assets/flightgear/sorvik-ems.xml is the protocol file
// that makes FlightGear send it; a test holds the two in step.
#pragma once
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace host {

// name, FlightGear property, its type and printf format in the protocol file,
// lowest and highest value taken (a line with a value outside is refused
// whole). The position is double: a float keeps only 7 digits of it.
#define FLIGHTGEAR_FIELDS(X)                                                                        \
    X(rpm, "/engines/engine[0]/rpm", "float", "%.0f", 0, 99999)                                     \
    X(map_inhg, "/engines/engine[0]/mp-osi", "float", "%.2f", 0, 100)                               \
    X(egt_degf, "/engines/engine[0]/egt-degf", "float", "%.0f", -460, 3000)                         \
    X(cht_degf, "/engines/engine[0]/cht-degf", "float", "%.0f", -460, 2000)                         \
    X(oil_temp_degf, "/engines/engine[0]/oil-temperature-degf", "float", "%.1f", -460, 1000)        \
    X(oil_press_psi, "/engines/engine[0]/oil-pressure-psi", "float", "%.1f", -50, 1000)             \
    X(fuel_flow_gph, "/engines/engine[0]/fuel-flow-gph", "float", "%.2f", -1, 1000)                 \
    X(tank1_gal, "/consumables/fuel/tank[0]/level-gal_us", "float", "%.2f", -1, 100000)             \
    X(tank2_gal, "/consumables/fuel/tank[1]/level-gal_us", "float", "%.2f", -1, 100000)             \
    X(bus_volts, "/systems/electrical/volts", "float", "%.2f", -1, 100)                             \
    X(oat_degc, "/environment/temperature-degc", "float", "%.1f", -100, 100)                        \
    X(latitude_deg, "/position/latitude-deg", "double", "%.6f", -90, 90)                            \
    X(longitude_deg, "/position/longitude-deg", "double", "%.6f", -180, 180)                        \
    X(altitude_ft, "/position/altitude-ft", "float", "%.0f", -10000, 200000)                        \
    X(groundspeed_kt, "/velocities/groundspeed-kt", "float", "%.1f", -1, 5000)                      \
    X(track_deg, "/orientation/track-deg", "float", "%.1f", -360, 720)

// One line's values, in the units FlightGear sends them.
struct FlightGearSample {
#define FLIGHTGEAR_MEMBER(name, property, type, format, lo, hi) double name = 0;
    FLIGHTGEAR_FIELDS(FLIGHTGEAR_MEMBER)
#undef FLIGHTGEAR_MEMBER
};

struct FlightGearField {
    const char* name;
    const char* property;
    const char* type; // "float" or "double"
    const char* format;
    double lowest, highest;
    double FlightGearSample::*member;
};

inline constexpr FlightGearField FLIGHTGEAR_FIELD_TABLE[] = {
#define FLIGHTGEAR_ROW(name, property, type, format, lo, hi) {#name, property, type, format, lo, hi, &FlightGearSample::name},
    FLIGHTGEAR_FIELDS(FLIGHTGEAR_ROW)
#undef FLIGHTGEAR_ROW
};
inline constexpr size_t FLIGHTGEAR_FIELD_COUNT = std::size(FLIGHTGEAR_FIELD_TABLE);

// Longest line taken; FlightGear's lines are about 120 characters.
constexpr size_t FLIGHTGEAR_LINE_MAX = 512;

enum class FlightGearParse { Ok, TooLong, FieldCount, NotANumber, OutOfRange };

// What parsing a line gave; `field` names the refused field (NotANumber,
// OutOfRange).
struct FlightGearResult {
    FlightGearParse status = FlightGearParse::Ok;
    size_t field = 0;
};

// Parses one line (without its line end; a trailing CR is taken off). Blanks
// around a value are allowed. On success fills sample; otherwise leaves it
// unchanged.
FlightGearResult parse_flightgear_line(std::string_view line, FlightGearSample& sample);

// The altitude FlightGear sends while a ground start has not yet placed the
// aircraft.
constexpr double FLIGHTGEAR_NO_ALTITUDE_FT = -9999;

// A line FlightGear sends before its flight model runs: every engine, fuel
// and electrical figure exactly 0 (a real engine, running or not, never reads
// 0 F EGT and CHT with 0 inHg manifold pressure), or the altitude placeholder
// of a ground start. Such lines carry no reading and no position.
bool flightgear_startup_line(const FlightGearSample& sample);

// A short reason for the tab: "17 fields, not 16", "egt_degf is not a number".
std::string flightgear_reason(const FlightGearResult& result, std::string_view line);

} // namespace host
