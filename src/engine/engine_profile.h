// An engine type: every constant the model needs, in one table per type.
// The model works in SI units; the tables are written in the units the
// engine's documents use and converted where they are read.
#pragma once
#include <cstdint>

namespace engine {

constexpr int MAX_CYLINDERS = 6;

enum class Cooling : uint8_t { Air, Liquid };

struct EngineProfile {
    const char* name;
    Cooling cooling;
    int cylinders;
    // Geometry and ratings
    double displacement_in3;
    double stroke_in;
    double compression_ratio;
    double volumetric_efficiency;
    double rated_hp;      // at rated RPM, full throttle, sea level
    double rated_rpm;     // the red line
    double idle_rpm;      // closed throttle on the ground
    double map_max_inhg;  // full throttle at rated RPM, sea level
    double map_idle_inhg; // closed throttle at idle RPM (the throttle stop)
    // Mixture: the equivalence ratio at full rich, at sea level. An engine
    // without a mixture control runs at this ratio at every altitude.
    bool mixture_control;
    double full_rich_phi;
    // Per-cylinder spread: the GAMI spread (fuel flow between the first and
    // the last cylinder to peak) at a reference peak flow, and the cylinders
    // from the leanest to the richest (numbered from 1).
    double gami_spread_gph;
    double gami_reference_gph;
    uint8_t lean_order[MAX_CYLINDERS];
    double egt_probe_offset_f[MAX_CYLINDERS]; // installation spread of the probes
    double cooling_factor[MAX_CYLINDERS];     // baffling: under 1 runs a head hotter
    // Ignition
    double spark_fail_drop;   // power lost on one plug per cylinder
    double mag_egt_rise_f;    // EGT rise on one plug at full rich
    // Friction (mean effective pressures)
    double fmep_static_pa;
    double fmep_per_piston_speed; // Pa per m/s of mean piston speed
    double static_friction_hp;
    // Propeller (fixed pitch) and rotating inertia
    double prop_static_rpm;   // full throttle, standing still
    double prop_cruise_rpm;   // full throttle at the cruise airspeed
    double prop_cruise_kt;
    double inertia_kg_m2;     // engine and propeller, at the crankshaft
    double starter_torque_nm;
    double starter_rpm;       // the starter's free-running speed
    // Cylinder heads
    double head_mass_kg;      // per cylinder
    double cht_heat_j_per_kg; // head heat per kg of air at the hottest mixture
    double cool_ram;          // W/K per kg/s of cooling air (air-cooled)
    double cool_rpm;          // W/K at rated RPM (fan and propeller wash)
    double cool_still;        // W/K standing still
    // Liquid cooling: one node of heads and coolant, a radiator
    double coolant_capacity_j_per_k;
    double radiator_w_per_k;  // standing still; grows with airspeed
    double cht_over_coolant_c; // head above coolant at full load
    // Oil
    double oil_cooler_effectiveness; // 0: oil at the heads' temperature, 1: at the air's
    double oil_tau_running_s;
    double oil_tau_stopped_s;
    double oil_relief_psi;
    double oil_viscosity_index;
    double oil_design_f;
    double oil_capacity_l;
    double oil_critical_l; // below this the pump draws air
    // Fuel
    double fuel_pressure_psi;      // engine-driven pump above 1000 RPM
    double fuel_boost_psi;         // electric pump
    double tank_capacity_l;
    // Electrics
    double battery_ah;
    double battery_full_v;
    double battery_empty_v; // nearly exhausted; a dead one reads well under it
    double battery_ohms;
    double alternator_v;
    double alternator_amps;
    double alternator_cut_in_rpm;
    double bus_load_amps;
};

extern const EngineProfile LYC360; // four-cylinder air-cooled, 180 hp, fuel injected
extern const EngineProfile R912;   // four-cylinder liquid-cooled heads, geared, 5800 RPM

// The profile of that name ("LYC360", "R912"), or null.
const EngineProfile* profile_named(const char* name);

} // namespace engine
