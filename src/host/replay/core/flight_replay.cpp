#include "host/replay/core/flight_replay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "sensors/sensor_inverse.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"

namespace host {

namespace {

constexpr double MPH_PER_KNOT = 1.150779448;
constexpr double KMH_PER_KNOT = 1.852;
constexpr int AIN_COUNT = 4;

// A column's value in the record, when it has one.
struct Figure {
    double value = 0;
    std::string_view unit;
};

std::optional<Figure> figure(const FlightData& data, size_t row, const std::string& name)
{
    const FlightChannel* c = find_channel(data, name);
    if (!c || c->derived || row >= c->values.size() || std::isnan(c->values[row])) return std::nullopt;
    return Figure{c->values[row], c->unit};
}

bool is_temperature(std::string_view unit) { return unit == "C" || unit == "F"; }
bool is_pressure(std::string_view unit) { return unit == "BAR" || unit == "PSI"; }
double deg_f(const Figure& f) { return f.unit == "F" ? f.value : f.value * 9 / 5 + 32; }
double deg_c(const Figure& f) { return f.unit == "F" ? (f.value - 32) * 5 / 9 : f.value; }
double psi(const Figure& f) { return f.unit == "PSI" ? f.value : f.value * PSI_PER_BAR; }
double gallons(const Figure& f) { return f.unit.starts_with("gal") ? f.value : f.value / LITRES_PER_GALLON; }
double inhg(const Figure& f) { return f.unit == "inHg" ? f.value : f.value / HPA_PER_INHG; }
double knots(const Figure& f)
{
    return f.unit == "mph" ? f.value / MPH_PER_KNOT : f.unit == "km/h" ? f.value / KMH_PER_KNOT : f.value;
}
double feet(const Figure& f) { return f.unit == "m" ? f.value / METRES_PER_FOOT : f.value; }

std::string numbered(const char* name, int n) { return name + std::to_string(n); }

// The analog input (0-based) whose column is the first in the recording with
// a unit of that kind, or -1.
int first_ain(const FlightData& data, size_t row, bool (*kind)(std::string_view))
{
    for (int n = 0; n < AIN_COUNT; ++n)
        if (const auto f = figure(data, row, numbered("AIN", n + 1)); f && kind(f->unit)) return n;
    return -1;
}

// A figure within what the link takes for its field: a recording may hold
// any number up to FLIGHT_VALUE_LIMIT, and the inverse conversions work in
// whole numbers of the instrument's units.
double within(double v, double FlightGearSample::*field)
{
    for (const FlightGearField& f : FLIGHTGEAR_FIELD_TABLE)
        if (f.member == field) return std::clamp(v, f.lowest, f.highest);
    return v;
}

// The record as a FlightGear sample, with the columns the instrument recorded
// in FlightGear's units. Missing figures stay 0; the caller drops what they drive.
FlightGearSample sample_of(const FlightData& data, size_t row, int ain_temp, int ain_press)
{
    FlightGearSample s;
    auto take = [&](const char* name, double& into, double (*convert)(const Figure&)) {
        if (const auto f = figure(data, row, name)) into = convert(*f);
    };
    take("RPM1", s.rpm, [](const Figure& f) { return f.value; });
    take("MAP", s.map_inhg, inhg);
    take("EGT1", s.egt_degf, deg_f);
    take("CHT1", s.cht_degf, deg_f);
    if (ain_temp >= 0) take(numbered("AIN", ain_temp + 1).c_str(), s.oil_temp_degf, deg_f);
    if (ain_press >= 0) take(numbered("AIN", ain_press + 1).c_str(), s.oil_press_psi, psi);
    take("FLOW1", s.fuel_flow_gph, gallons);
    take("TANK1", s.tank1_gal, gallons);
    take("TANK2", s.tank2_gal, gallons);
    take("VOLTS", s.bus_volts, [](const Figure& f) { return f.value; });
    take("OAT", s.oat_degc, deg_c);
    take("LAT", s.latitude_deg, [](const Figure& f) { return f.value; });
    take("LON", s.longitude_deg, [](const Figure& f) { return f.value; });
    take("ALT", s.altitude_ft, feet);
    take("SPEED", s.groundspeed_kt, knots);
    take("COURSE", s.track_deg, [](const Figure& f) { return f.value; });
    for (const FlightGearField& f : FLIGHTGEAR_FIELD_TABLE) s.*f.member = within(s.*f.member, f.member);
    return s;
}

// The column that holds the figure a driven input was made from.
std::string column_of(const DrivenInput& d)
{
    const int egt = std::min<int>(ems::settings.egt_channels, ems::TC_CHANNELS);
    switch (d.input) {
    case SimInput::Tc: return d.index < egt ? numbered("EGT", d.index + 1) : numbered("CHT", d.index - egt + 1);
    case SimInput::Aux: return numbered("AIN", d.index + 1);
    case SimInput::FlowPulses: return numbered("FLOW", d.index + 1);
    case SimInput::FuelLevel: return numbered("TANK", d.index + 1);
    case SimInput::Volts: return "VOLTS";
    case SimInput::Oat: return "OAT";
    case SimInput::Map: return "MAP";
    case SimInput::RpmPeriod: return "RPM1";
    }
    return {};
}

} // namespace

bool replay_usable(const FlightData& data, std::string& error)
{
    for (const char* name : {"RPM1", "MAP", "EGT1", "CHT1", "VOLTS", "OAT", "AIN1", "AIN2", "AIN3", "AIN4", "FLOW1",
                             "TANK1", "TANK2", "LAT"})
        if (const FlightChannel* c = find_channel(data, name); c && !c->derived) return true;
    error = "it is not an engine-data recording: none of its columns (RPM1, MAP, EGT1, VOLTS, ...) drives an input";
    return false;
}

std::vector<DrivenInput> replay_inputs(const FlightData& data, size_t row)
{
    const int ain_temp = first_ain(data, row, is_temperature);
    const int ain_press = first_ain(data, row, is_pressure);
    std::vector<DrivenInput> out;
    for (DrivenInput d : flightgear_inputs(sample_of(data, row, ain_temp, ain_press))) {
        const auto f = figure(data, row, column_of(d));
        if (!f) continue;
        if (d.input == SimInput::RpmPeriod && f->unit == "%") continue; // a percentage needs the full scale
        if (d.input == SimInput::Aux && d.index != ain_temp && d.index != ain_press) continue;
        // Each cylinder its own temperature; the sample carries only cylinder 1's.
        if (d.input == SimInput::Tc) {
            const double c = deg_c({within(deg_f(*f), &FlightGearSample::egt_degf), "F"});
            d.value = ems::tc_input_for(d.index, int32_t(std::lround(c)));
        }
        out.push_back(d);
    }
    return out;
}

std::string replay_nmea(const FlightData& data, size_t row, int gsv_part)
{
    if (row >= data.utc.size() || !figure(data, row, "LAT") || !figure(data, row, "LON")) return {};
    UtcStamp t;
    if (std::sscanf(data.utc[row].c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                    &t.second) != 6)
        return {};
    return flightgear_nmea(sample_of(data, row, -1, -1), t, gsv_part);
}

size_t replay_row_at(const FlightData& data, double played_s)
{
    if (data.seconds.empty()) return 0;
    const double until = data.seconds.front() + played_s;
    const auto after = std::upper_bound(data.seconds.begin(), data.seconds.end(), until);
    return after == data.seconds.begin() ? 0 : size_t(after - data.seconds.begin() - 1);
}

} // namespace host
