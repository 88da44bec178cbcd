// Air, fuel, power and rotation. Heads, exhaust and oil are in
// engine_heat.cpp; fuel system and electrics in engine_systems.cpp.
#include "engine/engine_model.h"

#include <algorithm>
#include <cmath>

#include "engine/combustion.h"
#include "engine/units.h"

namespace engine {

namespace {

constexpr double PI = 3.14159265358979;
constexpr double MAP_LAG_S = 1.0;
constexpr double FIRING_SHARE_OF_IDLE = 0.5; // below this RPM the engine neither catches nor keeps running
constexpr double SMALLEST_RUNNING_HP = 0.125;
constexpr double ROUGH_PHI = 0.78;          // a cylinder leaner than this misfires now and then
constexpr int ROUGH_RPM = 15;
constexpr double DILUTION = 1.2;            // work lost at a closed throttle, over (1 - MAP/ambient)^2

double omega(double rpm) { return rpm * 2 * PI / 60; }

// Mean piston speed in ft/s: the manifold's impedance model is written in it.
double piston_speed_fts(double rpm, double stroke_in) { return rpm * stroke_in / 360; }

// At a low manifold pressure the exhaust left in the cylinder dilutes the
// charge and it burns slowly: an idling engine makes little of its fuel.
double charge_burn(double map, double p_amb)
{
    const double closed = 1 - std::clamp(map / p_amb, 0.0, 1.0);
    return std::max(0.0, 1 - DILUTION * closed * closed);
}

} // namespace

EngineModel::EngineModel(const EngineProfile& profile, uint32_t seed, const Environment& air)
    : p_(profile), random_(seed ? seed : 1)
{
    derive();
    const double p_amb = pressure_at(air.altitude_m);
    map_ = p_amb;
    oil_k_ = coolant_k_ = air.oat_k;
    gas_k_.fill(air.oat_k);
    egt_k_.fill(air.oat_k);
    cht_k_.fill(air.oat_k);
    oil_l_ = p_.oil_capacity_l;
    tank_l_ = {p_.tank_capacity_l, p_.tank_capacity_l};
    step_electrics(Controls{}, Failures{}, 0);
    out_.tank_l = tank_l_;
    out_.egt_k = egt_k_;
    out_.cht_k = cht_k_;
    out_.oil_temp_k = oil_k_;
    out_.coolant_k = coolant_k_;
    out_.map_pa = map_;
}

void EngineModel::derive()
{
    d_.vd_m3 = p_.displacement_in3 * M3_PER_IN3;
    const double ze_rated = 100 / piston_speed_fts(p_.rated_rpm, p_.stroke_in);
    const double map_max = p_.map_max_inhg * PA_PER_INHG;
    d_.za = P_STANDARD * ze_rated / map_max - ze_rated;
    const double ze_idle = 100 / piston_speed_fts(p_.idle_rpm, p_.stroke_in);
    d_.zt0 = ze_idle * (P_STANDARD / (p_.map_idle_inhg * PA_PER_INHG) - 1) - d_.za;

    // Indicated work per kg of air, so that the engine makes its rated power
    // at full throttle, rated RPM, sea level and phi 1.15.
    const double air = air_flow(p_.rated_rpm, map_max, P_STANDARD, 288.15);
    d_.k_ind = (p_.rated_hp * WATTS_PER_HP - loss_power(p_.rated_rpm, map_max, P_STANDARD)) /
               (air * power_share(1.15) * charge_burn(map_max, P_STANDARD));

    // One plug burns slower: the exhaust runs hotter by the profile's rise at full rich.
    d_.s_mag = kelvin_span_from_f(p_.mag_egt_rise_f) / exhaust_rise(p_.full_rich_phi);

    // Propeller: absorbs P_ref ((n^3 - k v n^2) sigma), n = RPM over the static
    // full-throttle RPM, v = airspeed over the cruise airspeed; k is where the
    // full-throttle power meets the cruise RPM.
    d_.prop_ref_w = brake_power_full_throttle(p_.prop_static_rpm);
    const double n = p_.prop_cruise_rpm / p_.prop_static_rpm;
    d_.prop_k = n - brake_power_full_throttle(p_.prop_cruise_rpm) / (d_.prop_ref_w * n * n);

    // Mixture spread: evenly spaced offsets from the leanest cylinder to the
    // richest, summing to 0, their width the GAMI spread at the reference flow.
    const int n_cyl = std::clamp(p_.cylinders, 1, MAX_CYLINDERS);
    const double width = p_.gami_spread_gph / p_.gami_reference_gph;
    offset_.fill(0);
    for (int rank = 0; rank < n_cyl && n_cyl > 1; ++rank) {
        const int cyl = std::clamp(int(p_.lean_order[rank]) - 1, 0, n_cyl - 1);
        offset_[cyl] = width * (double(rank) / (n_cyl - 1) - 0.5);
    }
}

double EngineModel::air_flow(double rpm, double map, double p_amb, double t_amb) const
{
    // Volumetric efficiency corrected for the exhaust residue (Taylor, gamma 1.3).
    constexpr double GAMMA = 1.3;
    const double cr = p_.compression_ratio;
    const double m = std::min(cr, p_amb / std::max(map, 1.0));
    const double ve_corr = (GAMMA - 1) / GAMMA + (cr - m) / (GAMMA * (cr - 1));
    return d_.vd_m3 * rpm / 120 * p_.volumetric_efficiency * ve_corr * map / (R_AIR * t_amb);
}

double EngineModel::indicated_power(double air_cyl, double phi_cyl, double ign) const
{
    return d_.k_ind * air_cyl * power_share(phi_cyl) * ign;
}

// Pumping and friction (negative), W.
double EngineModel::loss_power(double rpm, double map, double p_amb) const
{
    if (rpm <= 0) return 0;
    const double speed_ms = piston_speed_fts(rpm, p_.stroke_in) * METRES_PER_FOOT;
    const double fmep = -(p_.fmep_per_piston_speed * speed_ms + p_.fmep_static_pa);
    const double pmep = (map - p_amb) * p_.volumetric_efficiency;
    // Accessories and seals: a constant torque, the profile's horsepower at rated RPM.
    const double stiction = p_.static_friction_hp * WATTS_PER_HP * rpm / p_.rated_rpm;
    return (pmep + fmep) * d_.vd_m3 * rpm / 120 - stiction;
}

double EngineModel::brake_power_full_throttle(double rpm) const
{
    const double ze = 100 / piston_speed_fts(rpm, p_.stroke_in);
    const double map = P_STANDARD * ze / (ze + d_.za);
    const double air = air_flow(rpm, map, P_STANDARD, 288.15);
    return d_.k_ind * air * power_share(p_.full_rich_phi) * charge_burn(map, P_STANDARD) + loss_power(rpm, map, P_STANDARD);
}

double EngineModel::equivalence_ratio(const Controls& c, double p_amb) const
{
    if (!p_.mixture_control) return p_.full_rich_phi * supply_;
    // The mixture sets the fuel for sea-level air: it runs richer with height.
    return p_.full_rich_phi * std::clamp(c.mixture, 0.0, 1.0) * P_STANDARD / p_amb * supply_;
}

double EngineModel::ignition(const Controls& c, const Failures& f, int cyl) const
{
    if (f.dead_cylinder[cyl]) return 0;
    const bool a = (c.magnetos == Magnetos::Left || c.magnetos == Magnetos::Both) && !f.fouled_plug[cyl];
    const bool b = c.magnetos == Magnetos::Right || c.magnetos == Magnetos::Both;
    return a && b ? 1 : a || b ? 1 - p_.spark_fail_drop : 0;
}

void EngineModel::step_manifold(double throttle, double p_amb, double dt)
{
    double target = p_amb;
    if (rpm_ > 1) {
        const double ze = 100 / piston_speed_fts(rpm_, p_.stroke_in);
        const double closed = 1 - std::clamp(throttle, 0.0, 1.0);
        target = p_amb * ze / (ze + d_.za + closed * closed * d_.zt0);
    }
    map_ += (target - map_) * dt / MAP_LAG_S;
}

void EngineModel::step_rotation(const Controls& c, const Environment& air, double engine_w, double dt)
{
    const double p_amb = pressure_at(air.altitude_m);
    const double sigma = p_amb / (R_AIR * air.oat_k) / RHO_STANDARD;
    const double v = air.airspeed_ms / (p_.prop_cruise_kt * MS_PER_KNOT);
    const bool cranking = c.starter && c.master && soc_ > 0.05;
    // Two sub-steps: the rotation's time constant is under a second.
    for (int sub = 0; sub < 2; ++sub) {
        const double w = std::max(omega(rpm_), 5.0);
        const double n = rpm_ / p_.prop_static_rpm;
        const double prop_w = d_.prop_ref_w * sigma * (n * n * n - d_.prop_k * v * n * n);
        double torque = (engine_w + loss_power(rpm_, map_, p_amb) - prop_w) / w;
        if (cranking) torque += p_.starter_torque_nm * std::max(0.0, 1 - rpm_ / p_.starter_rpm);
        rpm_ = std::max(0.0, rpm_ + torque / p_.inertia_kg_m2 * (dt / 2) * 60 / (2 * PI));
    }
}

void EngineModel::step(const Controls& c, const Environment& air, const Failures& f)
{
    const double dt = STEP_S;
    const double p_amb = pressure_at(air.altitude_m);
    const int n_cyl = std::clamp(p_.cylinders, 1, MAX_CYLINDERS);

    step_manifold(c.throttle, p_amb, dt);
    const double air_total = air_flow(rpm_, map_, p_amb, air.oat_k);
    const double air_cyl = air_total / n_cyl;
    phi_ = equivalence_ratio(c, p_amb);
    const double burn = charge_burn(map_, p_amb);

    double fuel = 0, indicated = 0;
    bool any_spark = false;
    for (int i = 0; i < n_cyl; ++i) {
        const double offset = offset_[i] - (f.clogged_injector[i] ? 0.10 : 0);
        phi_cyl_[i] = phi_ * (1 + offset);
        ign_[i] = ignition(c, f, i);
        any_spark = any_spark || ign_[i] > 0;
        fuel += air_cyl * phi_cyl_[i] / STOICHIOMETRIC_AFR;
        indicated += indicated_power(air_cyl, phi_cyl_[i], ign_[i]) * burn;
    }

    // The engine fires once turning fast enough with spark and fuel, and
    // stops when either is gone or it no longer makes power.
    const bool can_fire = any_spark && fuel > 0 && indicated >= SMALLEST_RUNNING_HP * WATTS_PER_HP &&
                          rpm_ >= FIRING_SHARE_OF_IDLE * p_.idle_rpm && c.master;
    running_ = can_fire;
    const double engine_w = running_ ? indicated : 0;
    step_rotation(c, air, engine_w, dt);
    const double brake = engine_w + loss_power(rpm_, map_, p_amb);
    load_ = std::clamp(brake / (p_.rated_hp * WATTS_PER_HP), 0.0, 1.2);

    step_egt(air, dt);
    step_heads(air, air_cyl, dt);
    step_oil(air, f, dt);
    const double fuel_l_per_h = fuel * 3600 / FUEL_KG_PER_L;
    step_fuel_system(c, f, fuel_l_per_h, dt);
    step_electrics(c, f, dt);

    bool rough = false;
    for (int i = 0; i < n_cyl; ++i) rough = rough || phi_cyl_[i] < ROUGH_PHI || ign_[i] == 0;
    const int ripple = rough && running_ ? int(next_random() % (2 * ROUGH_RPM + 1)) - ROUGH_RPM : 0;

    out_.running = running_;
    out_.rpm = std::max(0.0, rpm_ + ripple);
    out_.map_pa = map_;
    out_.fuel_flow_kg_s = fuel;
    out_.fuel_flow_l_per_h = fuel_l_per_h;
    out_.brake_power_w = brake;
    for (int i = 0; i < n_cyl; ++i) {
        out_.egt_open[i] = f.open_egt[i];
        out_.cht_open[i] = f.open_cht[i];
    }
}

void EngineModel::settle_running(double rpm, double cht_k, double oil_k)
{
    running_ = true;
    rpm_ = rpm;
    supply_ = 1;
    cht_k_.fill(cht_k);
    coolant_k_ = cht_k;
    oil_k_ = oil_k;
}

double EngineModel::richest_phi() const
{
    const int n_cyl = std::clamp(p_.cylinders, 1, MAX_CYLINDERS);
    return phi_ * (1 + *std::max_element(offset_.begin(), offset_.begin() + n_cyl));
}

void EngineModel::set_mixture_spread(double gph, const std::array<uint8_t, MAX_CYLINDERS>& lean_order)
{
    p_.gami_spread_gph = std::clamp(gph, 0.0, 5.0);
    std::copy(lean_order.begin(), lean_order.end(), p_.lean_order);
    derive();
}

void EngineModel::set_tank_litres(int tank, double litres)
{
    if (tank < 0 || tank > 1) return;
    tank_l_[tank] = std::clamp(litres, 0.0, p_.tank_capacity_l);
    out_.tank_l = tank_l_;
}

// xorshift32: the roughness cue only, so that a run repeats exactly.
uint32_t EngineModel::next_random()
{
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

} // namespace engine
