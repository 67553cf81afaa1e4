// The ground: the height map and the blend map from the valley's shape, and
// the four ground textures that the blend map mixes.

#include <algorithm>
#include <cmath>

#include "lib/Family.h"
#include "lib/Image.h"
#include "lib/Land.h"
#include "lib/Noise.h"
#include "terrain/GroundTextures.h"

using namespace assetgen;

namespace {

constexpr int kBlendSize = 512;
constexpr uint32_t kBlendSeed = 0xb1e0d001u;

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Image heightMap() {
    Image image(land::kGridSize, land::kGridSize, 3);
    for (int j = 0; j < image.height; ++j) {
        for (int i = 0; i < image.width; ++i) {
            const float h = land::groundHeight(land::gridCoordinate(i), land::gridCoordinate(j));
            const uint8_t grey = land::heightToByte(h);
            for (int c = 0; c < 3; ++c) image.pixels[(size_t(j) * image.width + i) * 3 + c] = grey;
        }
    }
    return image;
}

float distanceToLine(glm::vec2 p, const std::vector<glm::vec2>& line) {
    float best = 1e9f;
    for (size_t k = 0; k + 1 < line.size(); ++k) {
        const glm::vec2 a = line[k], ab = line[k + 1] - line[k];
        const float t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
        best = std::min(best, glm::length(p - (a + t * ab)));
    }
    return best;
}

// Ground cover as layers painted over grass: dirt, then the path, then sand.
// Each layer covers what lies below by its own weight, so the weights always
// sum to one and the red, green and blue channels hold path, dirt and grass.
struct Cover {
    float sand = 0.0f, path = 0.0f, dirt = 0.0f, grass = 1.0f;
    void paint(float Cover::*layer, float alpha) {
        sand *= 1.0f - alpha;
        path *= 1.0f - alpha;
        dirt *= 1.0f - alpha;
        grass *= 1.0f - alpha;
        this->*layer += alpha;
    }
};

Cover coverAt(float x, float z, const std::vector<glm::vec2>& path) {
    const glm::vec2 p(x, z);
    const float wobble = fbm2(x / 6.0f, z / 6.0f, kBlendSeed, 3);
    Cover cover;

    // Worn patches in the meadow.
    const float worn = fbm2(x / 45.0f, z / 45.0f, kBlendSeed + 7, 3);
    cover.paint(&Cover::dirt, 0.35f * smoothstep(0.15f, 0.45f, worn));

    float bare = 1.0f - smoothstep(9.0f, 11.5f, glm::length(p - land::kTableCentre) + wobble);
    for (const glm::vec2 tree : land::kTrees)
        bare = std::max(bare, 1.0f - smoothstep(5.5f, 8.0f, glm::length(p - tree) + 1.5f * wobble));
    cover.paint(&Cover::dirt, bare);

    if (std::abs(x - 30.0f) < 40.0f && std::abs(z) < 40.0f) {
        const float d = distanceToLine(p, path) + 0.6f * wobble;
        cover.paint(&Cover::path, 1.0f - smoothstep(2.2f, 3.4f, d));
    }

    const float shore = land::shoreDistance(x, z) + 2.0f * wobble;
    cover.paint(&Cover::sand, 1.0f - smoothstep(8.0f, 13.0f, shore));
    return cover;
}

Image blendMap() {
    const std::vector<glm::vec2> path = land::pathCentreLine();
    Image image(kBlendSize, kBlendSize, 3);
    const float texel = land::kWorldSize / kBlendSize;
    for (int j = 0; j < kBlendSize; ++j) {
        for (int i = 0; i < kBlendSize; ++i) {
            const Cover c = coverAt(land::kWorldMin + (i + 0.5f) * texel,
                                    land::kWorldMin + (j + 0.5f) * texel, path);
            image.set(i, j, glm::vec3(c.path, c.dirt, c.grass));
        }
    }
    return image;
}

}  // namespace

ASSETGEN_FAMILY(terrain) {
    const auto dir = root / "textures/terrain";
    writePng(heightMap(), dir / "heightmapmiddle.png");
    writePng(blendMap(), dir / "blendmapmiddle.png");
    writeJpg(sandTexture(), dir / "sand.jpg");
    writeJpg(pathTexture(), dir / "path.jpg");
    writeJpg(dirtTexture(), dir / "dirt.jpg");
    writeJpg(grassTexture(), dir / "grass.jpg");
}
