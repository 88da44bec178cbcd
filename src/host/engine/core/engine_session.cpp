#include "host/engine/core/engine_session.h"

#include <algorithm>
#include <cmath>

#include "engine/combustion.h"
#include "engine/units.h"

namespace host {

namespace {

using namespace engine;

constexpr double LEAN_FIND_PER_S = 0.001;    // of the mixture's travel: 3 to 4 minutes through peak
constexpr double LEAN_FIND_END_PHI = 0.97;   // the richest cylinder a little lean of its peak
constexpr double IDLE_OVER_STOP = 1.6;       // warm idle over the throttle-stop RPM
constexpr double CRUISE_OVER_FULL = 0.95;    // cruise RPM over full throttle at cruise speed
constexpr double CRUISE_PHI = 1.2;           // about 100 F rich of peak

} // namespace

EngineSession::EngineSession() : model_(LYC360, 1, air) {}

void EngineSession::choose(const EngineProfile& profile)
{
    model_ = EngineModel(profile, 1, air);
    lean_find_ = false;
}

void EngineSession::settle_at_rpm(double rpm, double seconds)
{
    const double gain = 1 / (3 * model_.profile().rated_rpm);
    for (int i = 0; i < 40; ++i) {
        for (int s = 0; s < 50; ++s) model_.step(controls, air, failures);
        controls.throttle = std::clamp(controls.throttle + (rpm - model_.outputs().rpm) * gain, 0.0, 1.0);
    }
    for (int s = 0; s < int(seconds / STEP_S); ++s) model_.step(controls, air, failures);
}

void EngineSession::start_in(EngineStart state)
{
    const EngineProfile profile = model_.profile();
    model_ = EngineModel(profile, 1, air);
    lean_find_ = false;
    controls = Controls{};
    controls.tank = TankSelector::Both;
    if (state == EngineStart::Cold) return;

    controls.magnetos = Magnetos::Both;
    if (state == EngineStart::Idle) {
        air.airspeed_ms = 0;
        model_.settle_running(profile.idle_rpm * IDLE_OVER_STOP, air.oat_k + 110, air.oat_k + 45);
        controls.throttle = 0.2;
        settle_at_rpm(profile.idle_rpm * IDLE_OVER_STOP, 30);
    } else {
        air.airspeed_ms = profile.prop_cruise_kt * MS_PER_KNOT;
        const double p_amb = pressure_at(air.altitude_m);
        controls.mixture = profile.mixture_control
                               ? std::min(1.0, CRUISE_PHI / profile.full_rich_phi * p_amb / P_STANDARD)
                               : 1;
        model_.settle_running(profile.prop_cruise_rpm, air.oat_k + 190, air.oat_k + 85);
        controls.throttle = 0.8;
        settle_at_rpm(profile.prop_cruise_rpm * CRUISE_OVER_FULL, 900);
    }
    // Settling burnt fuel the user did not see go.
    for (int t = 0; t < 2; ++t) model_.set_tank_litres(t, profile.tank_capacity_l);
}

std::vector<DrivenInput> EngineSession::tick()
{
    for (int s = 0; s < steps_per_tick_; ++s) {
        if (lean_find_) {
            controls.mixture = std::max(0.0, controls.mixture - LEAN_FIND_PER_S * STEP_S);
            if (!model_.profile().mixture_control || model_.richest_phi() < LEAN_FIND_END_PHI) lean_find_ = false;
        }
        model_.step(controls, air, failures);
        fly(flight, air, STEP_S);
    }
    return engine_inputs(model_.outputs(), air, flight, model_.profile().cylinders);
}

void EngineSession::set_failure(EngineFailure which, int cyl, bool on)
{
    cyl = std::clamp(cyl, 0, MAX_CYLINDERS - 1);
    switch (which) {
    case EngineFailure::Plug: failures.fouled_plug[cyl] = on; break;
    case EngineFailure::Injector: failures.clogged_injector[cyl] = on; break;
    case EngineFailure::Cylinder: failures.dead_cylinder[cyl] = on; break;
    case EngineFailure::OpenEgt: failures.open_egt[cyl] = on; break;
    case EngineFailure::OpenCht: failures.open_cht[cyl] = on; break;
    case EngineFailure::Alternator: failures.alternator = on; break;
    case EngineFailure::OilLeak: failures.oil_leak_l_per_min = on ? OIL_LEAK_L_PER_MIN : 0; break;
    case EngineFailure::FuelLeak: failures.fuel_leak_l_per_h = on ? FUEL_LEAK_L_PER_H : 0; break;
    case EngineFailure::Starvation: failures.fuel_starved = on; break;
    }
}

bool EngineSession::failure(EngineFailure which, int cyl) const
{
    cyl = std::clamp(cyl, 0, MAX_CYLINDERS - 1);
    switch (which) {
    case EngineFailure::Plug: return failures.fouled_plug[cyl];
    case EngineFailure::Injector: return failures.clogged_injector[cyl];
    case EngineFailure::Cylinder: return failures.dead_cylinder[cyl];
    case EngineFailure::OpenEgt: return failures.open_egt[cyl];
    case EngineFailure::OpenCht: return failures.open_cht[cyl];
    case EngineFailure::Alternator: return failures.alternator;
    case EngineFailure::OilLeak: return failures.oil_leak_l_per_min > 0;
    case EngineFailure::FuelLeak: return failures.fuel_leak_l_per_h > 0;
    case EngineFailure::Starvation: return failures.fuel_starved;
    }
    return false;
}

} // namespace host
