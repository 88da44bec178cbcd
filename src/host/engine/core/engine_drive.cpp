#include "host/engine/core/engine_drive.h"

#include <algorithm>
#include <cmath>

#include "engine/combustion.h"
#include "engine/units.h"
#include "sensors/channels.h"
#include "sensors/sensor_inverse.h"
#include "sensors/thermocouple.h"
#include "settings/settings.h"

namespace host {

namespace {

constexpr double METRES_PER_DEGREE = 111320; // of latitude; of longitude at the equator
constexpr double PI = 3.14159265358979;

// Density altitude's effect only: true airspeed from indicated.
double true_airspeed(const engine::Environment& air)
{
    const double p = engine::pressure_at(air.altitude_m);
    const double sigma = p / (engine::R_AIR * air.oat_k) / engine::RHO_STANDARD;
    return air.airspeed_ms / std::sqrt(std::max(sigma, 0.05));
}

int16_t tc_input(int channel, double kelvin, bool open)
{
    if (open) return int16_t(ems::TC_INPUT_MIN);
    return ems::tc_input_for(uint8_t(channel), int32_t(std::lround(engine::c_from_kelvin(kelvin))));
}

} // namespace

void fly(EngineFlight& flight, const engine::Environment& air, double seconds)
{
    if (!flight.moving) return;
    const double metres = true_airspeed(air) * seconds;
    const double track = flight.track_deg * PI / 180;
    flight.latitude_deg = std::clamp(flight.latitude_deg + metres * std::cos(track) / METRES_PER_DEGREE, -89.9, 89.9);
    const double per_degree_east = METRES_PER_DEGREE * std::cos(flight.latitude_deg * PI / 180);
    flight.longitude_deg += metres * std::sin(track) / per_degree_east;
    if (flight.longitude_deg > 180) flight.longitude_deg -= 360;
    if (flight.longitude_deg < -180) flight.longitude_deg += 360;
}

FlightGearSample engine_sample(const engine::Outputs& o, const engine::Environment& air, const EngineFlight& flight)
{
    using namespace engine;
    FlightGearSample s;
    s.rpm = o.rpm;
    s.map_inhg = o.map_pa / PA_PER_INHG;
    s.egt_degf = f_from_kelvin(o.egt_k[0]);
    s.cht_degf = f_from_kelvin(o.cht_k[0]);
    s.oil_temp_degf = f_from_kelvin(o.oil_temp_k);
    s.oil_press_psi = o.oil_pressure_pa / PA_PER_PSI;
    s.fuel_flow_gph = o.fuel_flow_l_per_h / LITRES_PER_US_GALLON;
    s.tank1_gal = o.tank_l[0] / LITRES_PER_US_GALLON;
    s.tank2_gal = o.tank_l[1] / LITRES_PER_US_GALLON;
    s.bus_volts = o.bus_volts;
    s.oat_degc = c_from_kelvin(air.oat_k);
    s.latitude_deg = flight.latitude_deg;
    s.longitude_deg = flight.longitude_deg;
    s.altitude_ft = air.altitude_m / METRES_PER_FOOT;
    s.groundspeed_kt = flight.moving ? true_airspeed(air) / MS_PER_KNOT : 0;
    s.track_deg = flight.track_deg;
    return s;
}

std::vector<DrivenInput> engine_inputs(const engine::Outputs& o, const engine::Environment& air,
                                       const EngineFlight& flight, int cylinders)
{
    std::vector<DrivenInput> in = flightgear_inputs(engine_sample(o, air, flight));
    const int n = std::clamp(cylinders, 1, engine::MAX_CYLINDERS);
    const int egt = std::min<int>(ems::settings.egt_channels, ems::TC_CHANNELS);
    for (DrivenInput& d : in) {
        if (d.input == SimInput::Tc) {
            const bool is_egt = d.index < egt;
            const int cyl = (is_egt ? d.index : d.index - egt) % n;
            d.value = is_egt ? tc_input(d.index, o.egt_k[cyl], o.egt_open[cyl])
                             : tc_input(d.index, o.cht_k[cyl], o.cht_open[cyl]);
        }
        if (d.input == SimInput::RpmPeriod && o.rpm < ems::rpm_of_period(ems::RPM_PERIOD_SLOWEST))
            d.value = ems::RPM_PERIOD_STOPPED;
    }
    return in;
}

} // namespace host
