// Per-frame arithmetic of the scene: culling and ground height lookups.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "effects/TerrainGrid.h"
#include "scene/Frustum.h"

static void BM_FrustumUpdateAndCull24(benchmark::State& state) {
    Frustum frustum(90.0f, 1080.0f / 720.0f, 0.1f, 800.0f);
    std::vector<glm::vec3> centres;
    for (int i = 0; i < 24; ++i) centres.emplace_back(i * 20.0f - 240.0f, 5.0f, (i % 5) * 30.0f);
    float angle = 0.0f;
    for (auto _ : state) {
        angle += 0.01f;
        const glm::vec3 front(std::cos(angle), 0.0f, std::sin(angle));
        const glm::vec3 right = glm::normalize(glm::cross(front, glm::vec3(0, 1, 0)));
        frustum.update(glm::vec3(0, 10, 0), front, right, glm::cross(right, front));
        int visible = 0;
        for (const glm::vec3& c : centres) visible += frustum.containsSphere(c, 20.0f);
        benchmark::DoNotOptimize(visible);
    }
}
BENCHMARK(BM_FrustumUpdateAndCull24);

static void BM_TerrainHeightLookup(benchmark::State& state) {
    std::vector<unsigned char> pixels(256 * 256 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
    const TerrainGrid grid = buildTerrainGrid(pixels.data(), 256, 256);
    float x = -499.0f;
    for (auto _ : state) {
        x = x > 499.0f ? -499.0f : x + 0.37f;
        benchmark::DoNotOptimize(heightOfTerrainGrid(grid, glm::vec3(-500, 0, -500), x, x * 0.5f));
    }
}
BENCHMARK(BM_TerrainHeightLookup);

static void BM_BuildTerrainGrid256(benchmark::State& state) {
    std::vector<unsigned char> pixels(256 * 256 * 3, 128);
    for (auto _ : state) {
        TerrainGrid grid = buildTerrainGrid(pixels.data(), 256, 256);
        benchmark::DoNotOptimize(grid.vertices.data());
    }
}
BENCHMARK(BM_BuildTerrainGrid256);
