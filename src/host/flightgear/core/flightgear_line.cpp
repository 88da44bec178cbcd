#include "host/flightgear/core/flightgear_line.h"

#include <charconv>
#include <cmath>

namespace host {

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

size_t field_count(std::string_view line)
{
    size_t n = 1;
    for (char c : line) n += c == ',';
    return n;
}

} // namespace

FlightGearResult parse_flightgear_line(std::string_view line, FlightGearSample& sample)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > FLIGHTGEAR_LINE_MAX) return {FlightGearParse::TooLong};
    if (field_count(line) != FLIGHTGEAR_FIELD_COUNT) return {FlightGearParse::FieldCount};
    FlightGearSample read;
    size_t start = 0;
    for (size_t i = 0; i < FLIGHTGEAR_FIELD_COUNT; ++i) {
        size_t end = line.find(',', start);
        if (end == std::string_view::npos) end = line.size();
        const std::string_view text = trimmed(line.substr(start, end - start));
        start = end + 1;
        double v = 0;
        const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (text.empty() || error != std::errc() || rest != text.data() + text.size() || !std::isfinite(v))
            return {FlightGearParse::NotANumber, i};
        const FlightGearField& f = FLIGHTGEAR_FIELD_TABLE[i];
        if (v < f.lowest || v > f.highest) return {FlightGearParse::OutOfRange, i};
        read.*f.member = v;
    }
    sample = read;
    return {};
}

bool flightgear_startup_line(const FlightGearSample& s)
{
    if (s.altitude_ft <= FLIGHTGEAR_NO_ALTITUDE_FT) return true;
    for (const double v : {s.rpm, s.map_inhg, s.egt_degf, s.cht_degf, s.oil_temp_degf, s.oil_press_psi,
                           s.fuel_flow_gph, s.tank1_gal, s.tank2_gal, s.bus_volts})
        if (v != 0) return false;
    return true;
}

std::string flightgear_reason(const FlightGearResult& result, std::string_view line)
{
    const char* name = FLIGHTGEAR_FIELD_TABLE[result.field < FLIGHTGEAR_FIELD_COUNT ? result.field : 0].name;
    switch (result.status) {
    case FlightGearParse::Ok: return "ok";
    case FlightGearParse::TooLong: return "line longer than " + std::to_string(FLIGHTGEAR_LINE_MAX);
    case FlightGearParse::FieldCount:
        return std::to_string(field_count(line)) + " fields, not " + std::to_string(FLIGHTGEAR_FIELD_COUNT);
    case FlightGearParse::NotANumber: return std::string(name) + " is not a number";
    case FlightGearParse::OutOfRange: return std::string(name) + " out of range";
    }
    return "bad line";
}

} // namespace host
