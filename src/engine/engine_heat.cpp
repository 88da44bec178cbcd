// Exhaust, cylinder heads and oil.
#include <algorithm>
#include <cmath>

#include "engine/combustion.h"
#include "engine/engine_model.h"
#include "engine/units.h"

namespace engine {

namespace {

constexpr double PROBE_LAG_S = 4;        // a visible trend while leaning
constexpr double EGT_COOL_FIRING_S = 20; // a cylinder that stops firing, air still pumped through
constexpr double EGT_COOL_STOPPED_S = 100;
constexpr double HEAD_SPECIFIC_HEAT = 800; // J/kg/K, aluminium head and barrel
constexpr double SINGLE_PLUG_HEAD_HEAT = 0.93; // a slower burn leaves more heat in the exhaust
constexpr double OIL_PRESSURE_LAG_S = 0.5;     // gauge damping
constexpr double OIL_STARVED_LAG_S = 3;
constexpr double OIL_CIRCULATING_PA = 5 * PA_PER_PSI;
constexpr double EGT_PEAK_PHI = 1.05;

} // namespace

void EngineModel::step_egt(const Environment& air, double dt)
{
    const int n_cyl = std::clamp(p_.cylinders, 1, MAX_CYLINDERS);
    const double peak_rise = exhaust_rise(EGT_PEAK_PHI);
    for (int i = 0; i < n_cyl; ++i) {
        const bool firing = running_ && ign_[i] > 0;
        double target = air.oat_k, lag = running_ ? EGT_COOL_FIRING_S : EGT_COOL_STOPPED_S;
        if (firing) {
            const double single_plug = ign_[i] < 1 ? d_.s_mag : 0;
            target = air.oat_k + exhaust_rise(phi_cyl_[i]) * (1 + single_plug);
            lag = PROBE_LAG_S;
        }
        gas_k_[i] += (target - gas_k_[i]) * dt / lag;
        // The probe's installation error grows with the heat it reads.
        const double share = (gas_k_[i] - air.oat_k) / peak_rise;
        egt_k_[i] = gas_k_[i] + kelvin_span_from_f(p_.egt_probe_offset_f[i]) * share;
        out_.egt_k[i] = egt_k_[i];
    }
}

void EngineModel::step_heads(const Environment& air, double air_cyl, double dt)
{
    const int n_cyl = std::clamp(p_.cylinders, 1, MAX_CYLINDERS);
    const double p_amb = pressure_at(air.altitude_m);
    const double rho = p_amb / (R_AIR * air.oat_k);
    // Slower cycles give the charge longer to lose heat to the head.
    const double dwell = std::sqrt(p_.rated_rpm / std::max(rpm_, 0.25 * p_.rated_rpm));
    std::array<double, MAX_CYLINDERS> heat{};
    double heat_total = 0;
    for (int i = 0; i < n_cyl; ++i) {
        const double ign = ign_[i] >= 1 ? 1 : ign_[i] > 0 ? SINGLE_PLUG_HEAD_HEAT : 0;
        heat[i] = running_ ? p_.cht_heat_j_per_kg * dwell * air_cyl * head_heat_share(phi_cyl_[i]) * ign : 0;
        heat_total += heat[i];
    }

    if (p_.cooling == Cooling::Liquid) {
        // Heads and coolant as one node; the radiator's flow grows with airspeed.
        const double airspeed_kt = air.airspeed_ms / MS_PER_KNOT;
        const double radiator = p_.radiator_w_per_k * (1 + airspeed_kt / 60);
        coolant_k_ += (heat_total - radiator * (coolant_k_ - air.oat_k)) * dt / p_.coolant_capacity_j_per_k;
        const double mean_heat = heat_total / n_cyl;
        for (int i = 0; i < n_cyl; ++i) {
            const double share = mean_heat > 0 ? heat[i] / mean_heat : 0;
            cht_k_[i] = coolant_k_ + p_.cht_over_coolant_c * load_ * share;
            out_.cht_k[i] = cht_k_[i];
        }
        out_.coolant_k = coolant_k_;
        return;
    }

    // Air-cooled (JSBSim's terms): ram air through the baffles, the
    // propeller's wash with RPM, free convection; shared by the cylinders.
    const double area = p_.displacement_in3 / 360;
    const double cooling_air = area * air.airspeed_ms * rho;
    const double conductance =
        (p_.cool_ram * cooling_air + p_.cool_rpm * rpm_ / p_.rated_rpm + p_.cool_still) / n_cyl;
    const double capacity = HEAD_SPECIFIC_HEAT * p_.head_mass_kg;
    for (int i = 0; i < n_cyl; ++i) {
        const double loss = conductance * p_.cooling_factor[i] * (cht_k_[i] - air.oat_k);
        cht_k_[i] += (heat[i] - loss) * dt / capacity;
        out_.cht_k[i] = cht_k_[i];
    }
    out_.coolant_k = air.oat_k;
}

void EngineModel::step_oil(const Environment& air, const Failures& f, double dt)
{
    const int n_cyl = std::clamp(p_.cylinders, 1, MAX_CYLINDERS);
    oil_l_ = std::max(0.0, oil_l_ - f.oil_leak_l_per_min * dt / 60);
    const double left = oil_l_ / p_.oil_capacity_l;

    // The oil settles between the heads' temperature and the air's, nearer
    // the air the better its cooler works; less oil carries less heat away.
    double heads = p_.cooling == Cooling::Liquid ? coolant_k_ : 0;
    if (p_.cooling == Cooling::Air) {
        for (int i = 0; i < n_cyl; ++i) heads += cht_k_[i];
        heads /= n_cyl;
    }
    const double effectiveness = p_.oil_cooler_effectiveness * left;
    const double target_k = heads - effectiveness * (heads - air.oat_k);
    const double tau = oil_pa_ > OIL_CIRCULATING_PA ? p_.oil_tau_running_s : p_.oil_tau_stopped_s;
    oil_k_ += (target_k - oil_k_) * dt / tau;

    // Pump pressure rises with RPM to the relief valve's; cold oil reads higher.
    const double relief = p_.oil_relief_psi;
    double psi = std::min(relief, relief / (0.75 * p_.rated_rpm) * rpm_);
    psi += (kelvin_from_f(p_.oil_design_f) - oil_k_) * p_.oil_viscosity_index * psi / relief;
    const bool starved = oil_l_ < p_.oil_critical_l;
    const double target_pa = starved ? 0 : std::max(0.0, psi) * PA_PER_PSI;
    oil_pa_ += (target_pa - oil_pa_) * dt / (starved ? OIL_STARVED_LAG_S : OIL_PRESSURE_LAG_S);
    out_.oil_temp_k = oil_k_;
    out_.oil_pressure_pa = oil_pa_;
}

} // namespace engine
