#include "terrain/GroundTextures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "lib/Cells.h"
#include "lib/Noise.h"

namespace assetgen {

namespace {

constexpr float kTau = 6.2831853f;
constexpr int N = kGroundTextureSize;

// Tileable fractal noise over the unit square with `cells` cells per side.
float tiled(float u, float v, int cells, uint32_t seed, int octaves) {
    return fbm2(u * cells, v * cells, seed, octaves, cells, cells);
}

// Per-pixel grain in [-1, 1].
float grain(int x, int y, uint32_t seed) {
    return hashUnit(uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u ^ seed) * 2.0f - 1.0f;
}

// An oval stone around the nearest cell point, turned and squashed at random:
// its colour with some shading from the upper left, or nothing when the
// pixel lies outside it.
bool stone(const CellSample& c, float radius, glm::vec3 tint, glm::vec3& out) {
    const float turn = kTau * hashUnit(c.id ^ 77u), squash = 0.65f + 0.35f * hashUnit(c.id ^ 78u);
    const float a = c.dx * std::cos(turn) + c.dy * std::sin(turn);
    const float b = (c.dy * std::cos(turn) - c.dx * std::sin(turn)) / squash;
    const float r = std::sqrt(a * a + b * b) / radius;
    if (r > 1.0f) return false;
    const float light = 0.9f + 0.25f * (-c.dx - c.dy) / radius;
    const float rim = 1.0f - 0.35f * r * r * r * r;
    out = tint * light * rim;
    return true;
}

}  // namespace

Image sandTexture() {
    Image image(N, N, 3);
    image.fill([](int x, int y, float u, float v) {
        const glm::vec3 base(0.80f, 0.72f, 0.54f);
        const float patches = tiled(u, v, 4, 11, 4);
        const float phase = kTau * (7.0f * v + 2.0f * u) + 3.0f * tiled(u, v, 3, 12, 3);
        const float ripple = std::sin(phase);
        float shade = 1.0f + 0.07f * patches + 0.05f * ripple + 0.06f * grain(x, y, 13);
        if (hashUnit(uint32_t(x) * 92821u ^ uint32_t(y) * 68917u ^ 14u) > 0.992f) shade *= 0.7f;
        return base * shade;
    });
    return image;
}

Image pathTexture() {
    Image image(N, N, 3);
    image.fill([](int x, int y, float u, float v) {
        glm::vec3 colour = glm::vec3(0.60f, 0.53f, 0.42f) *
                           (1.0f + 0.10f * tiled(u, v, 6, 21, 4) + 0.07f * grain(x, y, 22));
        glm::vec3 pebble;
        const CellSample gravel = cells(u, v, 48, 23);
        const float g = 0.75f + 0.45f * hashUnit(gravel.id);
        if (hashUnit(gravel.id ^ 1u) > 0.45f &&
            stone(gravel, 0.12f + 0.1f * hashUnit(gravel.id ^ 5u),
                  glm::vec3(0.62f, 0.59f, 0.54f) * g, pebble))
            colour = pebble;
        const CellSample big = cells(u, v, 14, 24);
        const glm::vec3 tint = glm::mix(glm::vec3(0.52f, 0.50f, 0.47f),
                                        glm::vec3(0.62f, 0.55f, 0.45f), hashUnit(big.id ^ 3u));
        if (hashUnit(big.id) > 0.55f &&
            stone(big, 0.15f + 0.13f * hashUnit(big.id ^ 9u), tint, pebble))
            colour = pebble;
        return colour;
    });
    return image;
}

Image dirtTexture() {
    Image image(N, N, 3);
    image.fill([](int x, int y, float u, float v) {
        const float clumps = tiled(u, v, 8, 31, 5);
        const CellSample crumbs = cells(u, v, 40, 32);
        const float crumb = 1.0f - std::clamp((crumbs.second - crumbs.nearest) * 6.0f, 0.0f, 1.0f);
        glm::vec3 colour = glm::mix(glm::vec3(0.30f, 0.21f, 0.14f), glm::vec3(0.45f, 0.34f, 0.23f),
                                    0.5f + 0.8f * clumps);
        colour *= 1.0f - 0.15f * crumb + 0.08f * grain(x, y, 33);
        glm::vec3 pebble;
        const CellSample stones = cells(u, v, 12, 34);
        const glm::vec3 tint =
            glm::vec3(0.46f, 0.41f, 0.35f) * (0.8f + 0.4f * hashUnit(stones.id ^ 2u));
        if (hashUnit(stones.id) > 0.7f &&
            stone(stones, 0.08f + 0.12f * hashUnit(stones.id ^ 4u), tint, pebble))
            colour = pebble;
        return colour;
    });
    return image;
}

Image grassTexture() {
    // A mottled green ground, then thousands of short blades drawn across it
    // with wrap-around, so blades cut by one edge continue at the other.
    std::vector<glm::vec3> buffer(size_t(N) * N);
    for (int y = 0; y < N; ++y) {
        for (int x = 0; x < N; ++x) {
            const float u = float(x) / N, v = float(y) / N;
            const float mottle = tiled(u, v, 5, 41, 4);
            buffer[size_t(y) * N + x] = glm::mix(glm::vec3(0.13f, 0.24f, 0.06f),
                                                 glm::vec3(0.28f, 0.40f, 0.12f), 0.5f + mottle);
        }
    }
    Rng rng(42);
    for (int blade = 0; blade < 14000; ++blade) {
        const glm::vec2 root(rng.uniform(0.0f, float(N)), rng.uniform(0.0f, float(N)));
        const float angle = rng.uniform(0.0f, kTau);
        const float length = rng.uniform(6.0f, 16.0f);
        const glm::vec2 tip = root + length * glm::vec2(std::cos(angle), std::sin(angle));
        const float hue = rng.uniform();
        const float bright = rng.uniform(0.7f, 1.25f);
        const glm::vec3 colour = bright * glm::mix(glm::vec3(0.20f, 0.45f, 0.11f),
                                                   glm::vec3(0.50f, 0.54f, 0.20f), hue * hue);
        const glm::vec2 lo = glm::min(root, tip) - 2.0f, hi = glm::max(root, tip) + 2.0f;
        for (int py = int(std::floor(lo.y)); py <= int(hi.y); ++py) {
            for (int px = int(std::floor(lo.x)); px <= int(hi.x); ++px) {
                const glm::vec2 p(px + 0.5f, py + 0.5f), ab = tip - root;
                const float t = std::clamp(glm::dot(p - root, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
                const float width = 1.3f * (1.0f - 0.7f * t);  // tapering towards the tip
                const float alpha =
                    std::clamp(width - glm::length(p - (root + t * ab)), 0.0f, 1.0f);
                if (alpha <= 0.0f) continue;
                glm::vec3& dst = buffer[size_t((py % N + N) % N) * N + size_t((px % N + N) % N)];
                dst = glm::mix(dst, colour * (0.8f + 0.3f * t), alpha);
            }
        }
    }
    Image image(N, N, 3);
    image.fill([&](int x, int y, float, float) { return buffer[size_t(y) * N + x]; });
    return image;
}

}  // namespace assetgen
