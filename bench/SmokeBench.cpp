// The smoke's processor side, once a frame: emission, simulation and the
// far-to-near sort of the pool, in the steady state of a 60 Hz run.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "effects/ParticlePool.h"

static void BM_SmokeStepSteady(benchmark::State& state) {
    std::srand(1);
    ParticlePool pool({glm::vec3(-1.0f, 8.5f, -0.8f), glm::vec3(-2.3f, 8.5f, 6.3f)});
    const glm::vec3 eye(10.0f, 12.0f, 20.0f);
    // A second of frames first: the living count no longer grows after that.
    for (int i = 0; i < 60; ++i) pool.step(1.0f / 60.0f, eye);
    for (auto _ : state) {
        pool.step(1.0f / 60.0f, eye);
        benchmark::DoNotOptimize(pool.particlesCount);
    }
    state.counters["living"] = pool.particlesCount;
}
BENCHMARK(BM_SmokeStepSteady);
