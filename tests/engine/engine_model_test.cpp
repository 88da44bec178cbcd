// The built-in engine against the figures pilots and engine makers quote:
// a slow lean-find, a run-up magneto check, warm-up and cruise temperatures,
// and the same run giving the same numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/engine_model.h"
#include "engine/units.h"

namespace {

using namespace engine;

void run(EngineModel& m, const Controls& c, const Environment& air, double seconds, const Failures& f = {})
{
    for (int i = 0; i < int(seconds / STEP_S + 0.5); ++i) m.step(c, air, f);
}

double mean_egt_f(const EngineModel& m)
{
    double sum = 0;
    for (int i = 0; i < m.profile().cylinders; ++i) sum += m.outputs().egt_k[i];
    return f_from_kelvin(sum / m.profile().cylinders);
}

double mean_cht_f(const EngineModel& m)
{
    double sum = 0;
    for (int i = 0; i < m.profile().cylinders; ++i) sum += m.outputs().cht_k[i];
    return f_from_kelvin(sum / m.profile().cylinders);
}

Controls running(double throttle, double mixture = 1)
{
    Controls c;
    c.magnetos = Magnetos::Both;
    c.throttle = throttle;
    c.mixture = mixture;
    return c;
}

// A warm engine held at a throttle long enough for the heads to settle.
EngineModel warm_engine(const Controls& c, const Environment& air, double seconds = 900)
{
    EngineModel m(LYC360, 1, air);
    m.settle_running(2000, kelvin_from_f(350), kelvin_from_f(180));
    run(m, c, air, seconds);
    return m;
}

struct SweepPoint {
    double phi, power_w, flow_gph, mean_egt_f, mean_cht_f;
    double egt_f[MAX_CYLINDERS];
};

TEST(EngineModel, LeaningFindsPeakEgtBestPowerRichOfItAndTheLeanestCylinderFirst)
{
    Environment air;
    air.airspeed_ms = 110 * MS_PER_KNOT;
    const double throttle = 0.84; // about 65 % power
    EngineModel m = warm_engine(running(throttle, 0.95), air);
    std::vector<SweepPoint> sweep;
    for (double mixture = 0.95; mixture > 0.60; mixture -= 0.005) {
        run(m, running(throttle, mixture), air, 240); // every point settled, heads included
        const Outputs& o = m.outputs();
        SweepPoint p{m.phi(), o.brake_power_w, gph_from_kg_s(o.fuel_flow_kg_s), mean_egt_f(m), mean_cht_f(m), {}};
        for (int i = 0; i < 4; ++i) p.egt_f[i] = f_from_kelvin(o.egt_k[i]);
        sweep.push_back(p);
    }
    // How far rich of peak a point is: each cylinder against its own peak,
    // averaged, as a pilot reads the column of EGTs.
    double peak_egt[4] = {};
    for (const SweepPoint& p : sweep)
        for (int i = 0; i < 4; ++i) peak_egt[i] = std::max(peak_egt[i], p.egt_f[i]);
    auto below_peak = [&](const SweepPoint& p) {
        double sum = 0;
        for (int i = 0; i < 4; ++i) sum += peak_egt[i] - p.egt_f[i];
        return sum / 4;
    };
    auto highest = [&](auto value) {
        return *std::max_element(sweep.begin(), sweep.end(),
                                 [&](const SweepPoint& a, const SweepPoint& b) { return value(a) < value(b); });
    };
    const SweepPoint peak = highest([](const SweepPoint& p) { return p.mean_egt_f; });
    const SweepPoint power = highest([](const SweepPoint& p) { return p.power_w; });
    const SweepPoint cht = highest([](const SweepPoint& p) { return p.mean_cht_f; });
    EXPECT_NEAR(power.power_w / WATTS_PER_HP / LYC360.rated_hp, 0.65, 0.07);
    EXPECT_NEAR(peak.phi, 1.05, 0.03);
    EXPECT_GT(power.phi, peak.phi);
    EXPECT_GE(below_peak(power), 100);
    EXPECT_LE(below_peak(power), 150);
    EXPECT_GT(cht.phi, peak.phi);
    EXPECT_GE(below_peak(cht), 20);
    EXPECT_LE(below_peak(cht), 60);
    const SweepPoint rop100 = *std::min_element(sweep.begin(), sweep.end(), [&](const SweepPoint& a, const SweepPoint& b) {
        return std::abs(below_peak(a) - 100) + (a.phi < 1.05) * 1e9 < std::abs(below_peak(b) - 100) + (b.phi < 1.05) * 1e9;
    });
    EXPECT_GE(rop100.phi, 1.17);
    EXPECT_LE(rop100.phi, 1.23);

    // Each cylinder peaks at its own total flow; the first to peak (highest
    // flow) is the profile's leanest, the spread near the profile's.
    std::vector<double> peak_flow(4);
    for (int i = 0; i < 4; ++i)
        peak_flow[i] = std::max_element(sweep.begin(), sweep.end(), [i](const SweepPoint& a, const SweepPoint& b) {
                           return a.egt_f[i] < b.egt_f[i];
                       })->flow_gph;
    const int first = int(std::max_element(peak_flow.begin(), peak_flow.end()) - peak_flow.begin());
    EXPECT_EQ(first + 1, LYC360.lean_order[0]);
    const double spread = *std::max_element(peak_flow.begin(), peak_flow.end()) -
                          *std::min_element(peak_flow.begin(), peak_flow.end());
    EXPECT_GE(spread, 0.4);
    EXPECT_LE(spread, 0.8);
}

TEST(EngineModel, OneMagnetoDropsRpmALittleAndRaisesEveryEgt)
{
    Environment ground;
    {
        // First, a closed throttle idles as measured engines do.
        EngineModel idle = warm_engine(running(0), ground, 60);
        EXPECT_GE(idle.outputs().rpm, 600);
        EXPECT_LE(idle.outputs().rpm, 700);
        EXPECT_GE(idle.outputs().map_pa / PA_PER_INHG, 10);
        EXPECT_LE(idle.outputs().map_pa / PA_PER_INHG, 12);
    }
    double throttle = 0.3;
    EngineModel m = warm_engine(running(throttle), ground, 60);
    for (int i = 0; i < 30 && std::abs(m.outputs().rpm - 1800) > 10; ++i) {
        throttle += (1800 - m.outputs().rpm) / 8000;
        run(m, running(throttle), ground, 5);
    }
    run(m, running(throttle), ground, 20);
    const Outputs both = m.outputs();
    ASSERT_NEAR(both.rpm, 1800, 15);

    double drop[2];
    int side = 0;
    for (Magnetos mag : {Magnetos::Left, Magnetos::Right}) {
        Controls c = running(throttle);
        c.magnetos = mag;
        run(m, c, ground, 10);
        drop[side++] = both.rpm - m.outputs().rpm;
        for (int i = 0; i < 4; ++i) {
            const double rise = f_from_kelvin(m.outputs().egt_k[i]) - f_from_kelvin(both.egt_k[i]);
            EXPECT_GE(rise, 50) << "cylinder " << i + 1;
            EXPECT_LE(rise, 100) << "cylinder " << i + 1;
        }
        run(m, running(throttle), ground, 20);
    }
    for (double d : drop) {
        EXPECT_GE(d, 40);
        EXPECT_LE(d, 100);
    }
    EXPECT_LT(std::abs(drop[0] - drop[1]), 50);

    // A fouled plug on the left magneto: that cylinder goes cold on L.
    Failures fouled;
    fouled.fouled_plug[2] = true;
    Controls left = running(throttle);
    left.magnetos = Magnetos::Left;
    run(m, left, ground, 30, fouled);
    EXPECT_GT(both.rpm - m.outputs().rpm, 100);
    EXPECT_LT(f_from_kelvin(m.outputs().egt_k[2]), f_from_kelvin(both.egt_k[2]) - 300);
}

TEST(EngineModel, HeadsAndOilWarmOverMinutesAndSettleInTheGreen)
{
    Environment ground;
    EngineModel m(LYC360, 1, ground);
    m.settle_running(1000, ground.oat_k, ground.oat_k);
    run(m, running(0.2), ground, 10);
    const double cold_oil_psi = m.outputs().oil_pressure_pa / PA_PER_PSI;
    run(m, running(0.2), ground, 290);
    EXPECT_GE(mean_cht_f(m), 230);
    EXPECT_LE(mean_cht_f(m), 300);
    EXPECT_GE(f_from_kelvin(m.outputs().oil_temp_k), 85);
    EXPECT_LE(f_from_kelvin(m.outputs().oil_temp_k), 140);
    EXPECT_GT(cold_oil_psi, m.outputs().oil_pressure_pa / PA_PER_PSI);

    // Cruise, about 75 % at 100 F rich of peak, 110 kt.
    Environment cruise;
    cruise.airspeed_ms = 110 * MS_PER_KNOT;
    const Controls cruise_controls = running(0.85, 0.92);
    run(m, cruise_controls, cruise, 1800);
    EXPECT_NEAR(m.outputs().brake_power_w / WATTS_PER_HP / LYC360.rated_hp, 0.75, 0.06);
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE(f_from_kelvin(m.outputs().cht_k[i]), 350);
        EXPECT_LE(f_from_kelvin(m.outputs().cht_k[i]), 420);
    }
    EXPECT_GE(f_from_kelvin(m.outputs().oil_temp_k), 170);
    EXPECT_LE(f_from_kelvin(m.outputs().oil_temp_k), 200);
    EXPECT_GE(m.outputs().oil_pressure_pa / PA_PER_PSI, 65);
    EXPECT_LE(m.outputs().oil_pressure_pa / PA_PER_PSI, 85);

    // A power step down: the heads take 45 to 120 s to cover 63 % of the way.
    const double from = mean_cht_f(m);
    Controls reduced = cruise_controls;
    reduced.throttle = 0.6;
    EngineModel probe = m;
    run(probe, reduced, cruise, 1800);
    const double to = mean_cht_f(probe);
    double seconds = 0;
    while (mean_cht_f(m) > from + (to - from) * 0.632 && seconds < 600) {
        run(m, reduced, cruise, 1);
        seconds += 1;
    }
    EXPECT_GE(seconds, 45);
    EXPECT_LE(seconds, 120);
}

TEST(EngineModel, TheSameRunGivesTheSameNumbers)
{
    auto script = [] {
        Environment air;
        EngineModel m(LYC360, 7, air);
        Failures f;
        f.clogged_injector[1] = true;
        f.fouled_plug[0] = true;
        std::vector<Outputs> stream;
        Controls c = running(0.1);
        c.starter = true;
        for (int i = 0; i < 3000; ++i) {
            if (i == 40) c.starter = false;
            if (i == 600) c.throttle = 0.9;
            if (i == 1500) c.magnetos = Magnetos::Left;
            if (i == 2000) c.mixture = 0.4; // cut off
            m.step(c, air, f);
            stream.push_back(m.outputs());
        }
        return stream;
    };
    const std::vector<Outputs> a = script(), b = script();
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a[1000].running);
    EXPECT_FALSE(a.back().running);
}

} // namespace
