// Fuel system and electrics.
#include <algorithm>

#include "engine/combustion.h"
#include "engine/engine_model.h"
#include "engine/table.h"
#include "engine/units.h"

namespace engine {

namespace {

constexpr double SUPPLY_FALL_PER_S = 0.5; // an empty line stops the engine in about 2 s
constexpr double SUPPLY_RISE_PER_S = 1.0;
constexpr double FUEL_PRESSURE_LAG_S = 0.5;
constexpr double PUMP_FULL_RPM = 1000;
constexpr double STARTER_AMPS = 150;

// A lead-acid battery's open-circuit volts by its charge, over the profile's
// full-to-empty span: flat through most of it, falling away when exhausted.
constexpr Point BATTERY_CURVE[] = {{0.0, -3.0}, {0.05, -0.5}, {0.15, 0.0}, {0.5, 0.45}, {1.0, 1.0}};

bool draws(TankSelector s, int tank)
{
    return s == TankSelector::Both || (tank == 0 && s == TankSelector::Left) || (tank == 1 && s == TankSelector::Right);
}

} // namespace

void EngineModel::step_fuel_system(const Controls& c, const Failures& f, double burn_l_per_h, double dt)
{
    int feeding = 0;
    for (int t = 0; t < 2; ++t) feeding += draws(c.tank, t) && tank_l_[t] > 0;
    const bool fuel_at_pump = feeding > 0 && !f.fuel_starved;
    supply_ = fuel_at_pump ? std::min(1.0, supply_ + SUPPLY_RISE_PER_S * dt)
                           : std::max(0.0, supply_ - SUPPLY_FALL_PER_S * dt);

    // What the engine burns and what leaks ahead of the flow transducer both
    // leave the selected tanks, shared between them when both feed.
    const double drawn_l = (burn_l_per_h + (fuel_at_pump ? f.fuel_leak_l_per_h : 0)) * dt / 3600;
    for (int t = 0; t < 2 && feeding > 0; ++t)
        if (draws(c.tank, t) && tank_l_[t] > 0) tank_l_[t] = std::max(0.0, tank_l_[t] - drawn_l / feeding);

    const double pump = p_.fuel_pressure_psi * std::min(1.0, rpm_ / PUMP_FULL_RPM);
    const double boost = c.boost_pump && c.master ? p_.fuel_boost_psi : 0;
    const double target = (pump + boost) * supply_ * PA_PER_PSI;
    fuel_pa_ += (target - fuel_pa_) * dt / FUEL_PRESSURE_LAG_S;
    out_.fuel_pressure_pa = fuel_pa_;
    out_.tank_l = tank_l_;
}

void EngineModel::step_electrics(const Controls& c, const Failures& f, double dt)
{
    const double emf = p_.battery_empty_v + (p_.battery_full_v - p_.battery_empty_v) * lookup(BATTERY_CURVE, soc_);
    const double load = c.master ? p_.bus_load_amps + (c.starter ? STARTER_AMPS : 0) : 0;
    const bool charging =
        c.master && c.alternator_field && !f.alternator && running_ && rpm_ >= p_.alternator_cut_in_rpm;
    double amps, volts;
    if (charging) {
        // The regulator holds the bus; the battery takes what it accepts.
        amps = std::clamp(2 + 40 * (1 - soc_), 0.0, std::max(0.0, p_.alternator_amps - load));
        volts = p_.alternator_v;
    } else {
        amps = -load;
        volts = std::max(0.0, emf + amps * p_.battery_ohms);
    }
    soc_ = std::clamp(soc_ + amps * dt / 3600 / p_.battery_ah, 0.0, 1.0);
    out_.bus_volts = volts;
    out_.battery_amps = amps;
}

} // namespace engine
