// The water's two maps: a distortion map whose red and green carry two
// offsets around 0.5, and a normal map of small waves. Both tile.

#include <cmath>
#include <vector>

#include "lib/Family.h"
#include "lib/Image.h"
#include "lib/Noise.h"

using namespace assetgen;

namespace {

constexpr int kSize = 512;

// Tileable fractal noise over the unit square with `cells` cells per side.
float tiled(float u, float v, int cells, uint32_t seed, int octaves) {
    return fbm2(u * cells, v * cells, seed, octaves, cells, cells);
}

Image dudvMap() {
    Image image(kSize, kSize, 3);
    image.fill([](int, int, float u, float v) {
        const float du = tiled(u, v, 8, 0xd0d0u, 4), dv = tiled(u, v, 8, 0xd0d1u, 4);
        return glm::vec3(0.5f + 0.6f * du, 0.5f + 0.6f * dv, 0.0f);
    });
    return image;
}

// Small waves: a few crossing wave trains with whole numbers of crests across
// the tile, roughened with noise; the normal comes from the height's slope.
Image normalMap() {
    std::vector<float> height(size_t(kSize) * kSize);
    const float tau = 6.2831853f;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float u = float(x) / kSize, v = float(y) / kSize;
            const float warp = 0.6f * tiled(u, v, 4, 0x3a7e0u, 3);
            float h = 0.45f * std::sin(tau * (5.0f * u + 3.0f * v) + 4.0f * warp);
            h += 0.30f * std::sin(tau * (-4.0f * u + 7.0f * v) + 3.0f * warp);
            h += 0.20f * std::sin(tau * (11.0f * u + 2.0f * v) - 5.0f * warp);
            h += 0.50f * tiled(u, v, 16, 0x3a7e1u, 4);
            height[size_t(y) * kSize + x] = h;
        }
    }
    auto at = [&](int x, int y) {
        return height[size_t((y + kSize) % kSize) * kSize + size_t((x + kSize) % kSize)];
    };
    Image image(kSize, kSize, 3);
    const float steepness = 3.5f;
    image.fill([&](int x, int y, float, float) {
        const float sx = (at(x + 1, y) - at(x - 1, y)) * steepness;
        const float sy = (at(x, y + 1) - at(x, y - 1)) * steepness;
        const glm::vec3 n = glm::normalize(glm::vec3(-sx, -sy, 1.0f));
        return n * 0.5f + 0.5f;
    });
    return image;
}

}  // namespace

ASSETGEN_FAMILY(water) {
    const auto dir = root / "textures/water";
    writePng(dudvMap(), dir / "DUDVMap.png");
    writePng(normalMap(), dir / "normalMap.png");
}
