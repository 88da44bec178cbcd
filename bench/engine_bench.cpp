// One 100 ms step of the built-in engine, running rough in cruise with a
// failure set (every branch of the step taken).
#include <benchmark/benchmark.h>

#include "engine/engine_model.h"

namespace {

void BM_EngineStep(benchmark::State& state)
{
    engine::Environment air;
    air.airspeed_ms = 56;
    engine::EngineModel m(engine::LYC360, 1, air);
    m.settle_running(2400, 450, 360);
    engine::Controls c;
    c.magnetos = engine::Magnetos::Left;
    c.throttle = 0.8;
    c.mixture = 0.9;
    engine::Failures f;
    f.clogged_injector[1] = true;
    for (auto _ : state) {
        m.step(c, air, f);
        benchmark::DoNotOptimize(m.outputs());
    }
}
BENCHMARK(BM_EngineStep);

} // namespace
