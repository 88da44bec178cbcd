#include "engine/combustion.h"

#include <cmath>

#include "engine/table.h"

namespace engine {

namespace {

// Below phi 0.7 the charge does not burn. Lean of phi 0.9 work is proportional to fuel (power per gallon is constant
// lean of peak); rich of it the extra fuel cools more than it burns.
constexpr Point POWER_SHARE[] = {
    {0.70, 0.00}, {0.75, 0.72}, {0.80, 0.80}, {0.85, 0.855}, {0.90, 0.90}, {0.95, 0.935},
    {1.00, 0.96}, {1.05, 0.978}, {1.10, 0.988}, {1.15, 0.995}, {1.20, 0.999}, {1.25, 1.00}, {1.30, 0.99},
    {1.40, 0.958}, {1.50, 0.915}, {1.60, 0.865}};

// Combustion efficiency (JSBSim's table): all the fuel burns lean of
// stoichiometric, rich of it the oxygen runs out.
constexpr Point COMBUSTION_EFFICIENCY[] = {
    {0.00, 0.98}, {0.90, 0.98}, {1.00, 0.97}, {1.05, 0.95}, {1.10, 0.90}, {1.15, 0.85},
    {1.20, 0.79}, {1.30, 0.70}, {1.40, 0.63}, {1.50, 0.57}, {1.60, 0.525}, {2.00, 0.345}};

constexpr Point HEAD_HEAT[] = {
    {0.70, 0.55}, {0.80, 0.70}, {0.90, 0.84}, {1.00, 0.95}, {1.05, 0.985}, {1.12, 1.00},
    {1.20, 0.98}, {1.30, 0.94}, {1.40, 0.90}, {1.50, 0.86}, {1.60, 0.82}};

} // namespace

double power_share(double phi) { return lookup(POWER_SHARE, phi); }

double exhaust_rise(double phi)
{
    if (phi <= 0) return 0;
    const double fuel_per_air = phi / STOICHIOMETRIC_AFR;
    return fuel_per_air * FUEL_HEATING_J_PER_KG * lookup(COMBUSTION_EFFICIENCY, phi) * EXHAUST_SHARE /
           (CP_AIR + CP_FUEL * fuel_per_air);
}

double head_heat_share(double phi) { return phi <= 0 ? 0 : lookup(HEAD_HEAT, phi); }

double pressure_at(double altitude_m)
{
    const double base = 1 - 2.25577e-5 * altitude_m;
    return P_STANDARD * std::pow(base > 0.05 ? base : 0.05, 5.25588);
}

} // namespace engine
