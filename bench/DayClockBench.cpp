// Benchmarks of the per-frame arithmetic.
#include <benchmark/benchmark.h>

#include "app/DayClock.h"

static void BM_AdvanceDayClock(benchmark::State& state) {
    float t = 0.0f;
    bool first = true;
    for (auto _ : state) {
        advanceDayClock(t, first, 0.016f, nullptr);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_AdvanceDayClock);
