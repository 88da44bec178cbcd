// A piston engine in fixed 100 ms steps: manifold pressure, air and fuel
// flow, power and RPM against a fixed-pitch propeller, per-cylinder EGT and
// CHT, oil, fuel system and electrics, with the failures pilots train for.
// A lumped model after JSBSim's FGPiston, recalibrated so that best power
// lies about 100 F rich of peak, the heads run hottest a little rich of
// peak and the heads and oil warm up over minutes.
//
// SI units inside and out (Pa, K, kg/s, W, V, A, litres), RPM in rev/min.
// Deterministic: no clock, no global state; the same inputs give the same
// numbers. Knows nothing of the instrument.
#pragma once
#include <array>
#include <cstdint>

#include "engine/engine_profile.h"

namespace engine {

constexpr double STEP_S = 0.1;

enum class Magnetos : uint8_t { Off, Left, Right, Both };
enum class TankSelector : uint8_t { Off, Left, Right, Both };

struct Controls {
    double throttle = 0;  // 0 closed .. 1 open
    double mixture = 1;   // 0 cut-off .. 1 full rich
    Magnetos magnetos = Magnetos::Off;
    bool starter = false;
    bool master = true;
    bool alternator_field = true;
    bool boost_pump = false;
    TankSelector tank = TankSelector::Both;
    bool operator==(const Controls&) const = default;
};

struct Environment {
    double altitude_m = 0; // pressure altitude
    double oat_k = 288.15;
    double airspeed_ms = 0; // indicated
};

struct Failures {
    std::array<bool, MAX_CYLINDERS> fouled_plug{};   // the left magneto's plug (A)
    std::array<bool, MAX_CYLINDERS> clogged_injector{};
    std::array<bool, MAX_CYLINDERS> dead_cylinder{}; // no combustion; fuel still flows
    std::array<bool, MAX_CYLINDERS> open_egt{};      // probe wire broken
    std::array<bool, MAX_CYLINDERS> open_cht{};
    bool alternator = false;
    double oil_leak_l_per_min = 0;
    double fuel_leak_l_per_h = 0; // ahead of the flow transducer
    bool fuel_starved = false;    // a blocked line or vent: no fuel reaches the pump
    bool operator==(const Failures&) const = default;
};

struct Outputs {
    bool running = false;
    double rpm = 0;        // with the roughness cue
    double map_pa = 0;
    double fuel_flow_kg_s = 0;
    double fuel_flow_l_per_h = 0;
    double fuel_pressure_pa = 0;
    std::array<double, MAX_CYLINDERS> egt_k{};
    std::array<double, MAX_CYLINDERS> cht_k{};
    std::array<bool, MAX_CYLINDERS> egt_open{};
    std::array<bool, MAX_CYLINDERS> cht_open{};
    double oil_temp_k = 0;
    double oil_pressure_pa = 0;
    double coolant_k = 0;  // liquid-cooled engines
    double bus_volts = 0;
    double battery_amps = 0; // charging is positive
    std::array<double, 2> tank_l{};
    double brake_power_w = 0;
    bool operator==(const Outputs&) const = default;
};

class EngineModel {
public:
    // Starts cold and stopped at the air's temperature, tanks full.
    explicit EngineModel(const EngineProfile& profile = LYC360, uint32_t seed = 1,
                         const Environment& air = Environment{});

    // One fixed step of STEP_S.
    void step(const Controls& controls, const Environment& air, const Failures& failures);

    // Running at the given RPM and temperatures, as after a long steady run.
    void settle_running(double rpm, double cht_k, double oil_k);
    void set_tank_litres(int tank, double litres);
    void set_battery_charge(double share) { soc_ = share < 0 ? 0 : share > 1 ? 1 : share; }

    const Outputs& outputs() const { return out_; }
    const EngineProfile& profile() const { return p_; }
    // The mixture offset of each cylinder (its share of fuel over the mean).
    double mixture_offset(int cylinder) const { return offset_[cylinder]; }
    // The indicated equivalence ratio of the mean cylinder at the last step.
    double phi() const { return phi_; }
    // That of the richest cylinder.
    double richest_phi() const;
    // A new GAMI spread and order of the cylinders from the leanest (numbered
    // from 1); the rest of the state stays.
    void set_mixture_spread(double gph, const std::array<uint8_t, MAX_CYLINDERS>& lean_order);

private:
    struct Derived {
        double vd_m3, za, zt0, k_ind, s_mag, prop_ref_w, prop_k;
    };
    void derive();
    double equivalence_ratio(const Controls& c, double p_amb) const;
    double air_flow(double rpm, double map, double p_amb, double t_amb) const;
    double indicated_power(double air_cyl, double phi_cyl, double ign) const;
    double loss_power(double rpm, double map, double p_amb) const;
    double brake_power_full_throttle(double rpm) const;
    void step_manifold(double throttle, double p_amb, double dt);
    void step_rotation(const Controls& c, const Environment& air, double engine_w, double dt);
    void step_egt(const Environment& air, double dt);
    void step_heads(const Environment& air, double air_flow, double dt);
    void step_oil(const Environment& air, const Failures& f, double dt);
    void step_fuel_system(const Controls& c, const Failures& f, double burn_l_per_h, double dt);
    void step_electrics(const Controls& c, const Failures& f, double dt);
    double ignition(const Controls& c, const Failures& f, int cyl) const;
    uint32_t next_random();

    EngineProfile p_;
    Derived d_{};
    std::array<double, MAX_CYLINDERS> offset_{};
    // State
    bool running_ = false;
    double rpm_ = 0, map_ = 0, supply_ = 1, soc_ = 1, oil_l_ = 0;
    double oil_k_ = 0, oil_pa_ = 0, coolant_k_ = 0, fuel_pa_ = 0;
    std::array<double, MAX_CYLINDERS> gas_k_{}, egt_k_{}, cht_k_{}, phi_cyl_{}, ign_{};
    std::array<double, 2> tank_l_{};
    double phi_ = 0, load_ = 0;
    uint32_t random_;
    Outputs out_;
};

} // namespace engine
