// What a cylinder's charge gives, as functions of its equivalence ratio phi
// (fuel-air ratio over the stoichiometric 1/14.7): the shares of the fuel's
// heat that become work, exhaust heat and head heat. Curves calibrated so
// that exhaust gas peaks at phi 1.05, power near phi 1.23 (100 to 150 F rich
// of peak) and head heat at phi 1.12 (about 30 F rich of peak).
#pragma once

namespace engine {

constexpr double STOICHIOMETRIC_AFR = 14.7;
constexpr double FUEL_HEATING_J_PER_KG = 47.3e6;
constexpr double CP_AIR = 1005; // J/kg/K
constexpr double CP_FUEL = 1700;
constexpr double EXHAUST_SHARE = 0.30;
constexpr double R_AIR = 287.3; // J/kg/K
constexpr double P_STANDARD = 101325;
constexpr double RHO_STANDARD = 1.225;
constexpr double FUEL_KG_PER_L = 0.72;

// Indicated work per kg of air, over its best; 0 past the lean limit.
double power_share(double phi);
// Exhaust gas temperature rise over the intake air, K.
double exhaust_rise(double phi);
// Head heat per kg of air, over its most (phi 1.12).
double head_heat_share(double phi);

// Static pressure at a pressure altitude (standard atmosphere).
double pressure_at(double altitude_m);

} // namespace engine
