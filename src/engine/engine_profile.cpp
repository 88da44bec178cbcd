#include "engine/engine_profile.h"

#include <cstring>
#include <initializer_list>

namespace engine {

// Lycoming-class IO-360 (JSBSim's engIO360C and FGPiston defaults, with the
// cylinder heads made heavy enough to warm up in minutes). Electrical and
// fuel-pressure figures are typical values, not a maker's.
const EngineProfile LYC360 = {
    .name = "LYC360", .cooling = Cooling::Air, .cylinders = 4,
    .displacement_in3 = 361, .stroke_in = 4.375, .compression_ratio = 8.5, .volumetric_efficiency = 0.85,
    .rated_hp = 180, .rated_rpm = 2700, .idle_rpm = 650, .map_max_inhg = 28.5, .map_idle_inhg = 11.0,
    .mixture_control = true, .full_rich_phi = 1.3,
    .gami_spread_gph = 0.58, .gami_reference_gph = 9.7, .lean_order = {3, 4, 2, 1},
    .egt_probe_offset_f = {10, -15, 20, -10}, .cooling_factor = {1.0, 0.95, 1.0, 0.92},
    .spark_fail_drop = 0.10, .mag_egt_rise_f = 70,
    .fmep_static_pa = 46500, .fmep_per_piston_speed = 18400, .static_friction_hp = 1.5,
    .prop_static_rpm = 2300, .prop_cruise_rpm = 2500, .prop_cruise_kt = 110,
    .inertia_kg_m2 = 1.6, .starter_torque_nm = 140, .starter_rpm = 1300,
    .head_mass_kg = 9.85, .cht_heat_j_per_kg = 820000, .cool_ram = 3.95, .cool_rpm = 140, .cool_still = 95,
    .coolant_capacity_j_per_k = 0, .radiator_w_per_k = 0, .cht_over_coolant_c = 0,
    .oil_cooler_effectiveness = 0.60, .oil_tau_running_s = 240, .oil_tau_stopped_s = 1200,
    .oil_relief_psi = 80, .oil_viscosity_index = 0.3, .oil_design_f = 185,
    .oil_capacity_l = 7.6, .oil_critical_l = 2.8,
    .fuel_pressure_psi = 28, .fuel_boost_psi = 4, .tank_capacity_l = 100,
    .battery_ah = 30, .battery_full_v = 12.7, .battery_empty_v = 11.8, .battery_ohms = 0.02,
    .alternator_v = 14.2, .alternator_amps = 60, .alternator_cut_in_rpm = 1000, .bus_load_amps = 10,
};

// Rotax-class 912: liquid-cooled heads, carburetted (no mixture control), a
// gearbox to the propeller; the instrument shows crankshaft RPM, red line
// 5800. Fuel pressure 0.15-0.3 bar in normal running.
const EngineProfile R912 = {
    .name = "R912", .cooling = Cooling::Liquid, .cylinders = 4,
    .displacement_in3 = 82.5, .stroke_in = 2.40, .compression_ratio = 10.5, .volumetric_efficiency = 0.85,
    .rated_hp = 98.6, .rated_rpm = 5800, .idle_rpm = 1400, .map_max_inhg = 28.5, .map_idle_inhg = 11.0,
    .mixture_control = false, .full_rich_phi = 1.2,
    .gami_spread_gph = 0.5, .gami_reference_gph = 5.0, .lean_order = {1, 3, 2, 4},
    .egt_probe_offset_f = {-110, -130, -120, -120}, .cooling_factor = {1, 1, 1, 1},
    .spark_fail_drop = 0.05, .mag_egt_rise_f = 40,
    .fmep_static_pa = 46500, .fmep_per_piston_speed = 12000, .static_friction_hp = 0.5,
    .prop_static_rpm = 4900, .prop_cruise_rpm = 5400, .prop_cruise_kt = 100,
    .inertia_kg_m2 = 0.25, .starter_torque_nm = 30, .starter_rpm = 2800,
    .head_mass_kg = 2.0, .cht_heat_j_per_kg = 906000, .cool_ram = 0, .cool_rpm = 0, .cool_still = 0,
    .coolant_capacity_j_per_k = 25000, .radiator_w_per_k = 260, .cht_over_coolant_c = 8,
    .oil_cooler_effectiveness = 0.05, .oil_tau_running_s = 300, .oil_tau_stopped_s = 1200,
    .oil_relief_psi = 72, .oil_viscosity_index = 0.3, .oil_design_f = 212,
    .oil_capacity_l = 3.0, .oil_critical_l = 1.5,
    .fuel_pressure_psi = 3.6, .fuel_boost_psi = 0.6, .tank_capacity_l = 50,
    .battery_ah = 18, .battery_full_v = 12.7, .battery_empty_v = 11.8, .battery_ohms = 0.03,
    .alternator_v = 14.2, .alternator_amps = 20, .alternator_cut_in_rpm = 1800, .bus_load_amps = 6,
};

const EngineProfile* profile_named(const char* name)
{
    for (const EngineProfile* p : {&LYC360, &R912})
        if (std::strcmp(p->name, name) == 0) return p;
    return nullptr;
}

} // namespace engine
