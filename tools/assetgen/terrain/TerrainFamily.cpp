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

// Ground cover as layers painted over grass: meadow patches, earth, the
// beach, then the paths, which run down to the jetty over the sand.
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

// Where the ground is worn along a line: the centre to a ragged edge.
float worn(glm::vec2 p, const std::vector<glm::vec2>& line, float halfWidth, float ragged) {
    const float d = distanceToLine(p, line) + ragged;
    return 1.0f - smoothstep(halfWidth, halfWidth + 1.4f, d);
}

Cover coverAt(float x, float z, const std::vector<glm::vec2>& path,
              const std::vector<glm::vec2>& lampPath) {
    const glm::vec2 p(x, z);
    const float wobble = fbm2(x / 6.0f, z / 6.0f, kBlendSeed, 3);
    const float tufts = fbm2(x / 2.5f, z / 2.5f, kBlendSeed + 3, 2);
    Cover cover;

    // The meadow in patches at two scales: lighter, drier grass thinning over
    // sandy soil, and darker, earthy hollows, so the land never shows one
    // even green up to the horizon.
    const float dry = fbm2(x / 110.0f, z / 110.0f, kBlendSeed + 11, 3) +
                      0.3f * fbm2(x / 28.0f, z / 28.0f, kBlendSeed + 12, 2);
    cover.paint(&Cover::sand, 0.45f * smoothstep(0.0f, 0.3f, dry));
    const float earthy = fbm2(x / 60.0f, z / 60.0f, kBlendSeed + 7, 3) + 0.1f * tufts;
    cover.paint(&Cover::dirt, 0.45f * smoothstep(0.05f, 0.35f, earthy));

    // Bare earth under the table and the trees, frayed at the rim.
    float bare =
        1.0f - smoothstep(9.0f, 12.0f, glm::length(p - land::kTableCentre) + 1.5f * wobble);
    for (const glm::vec2 tree : land::kTrees)
        bare = std::max(bare, 1.0f - smoothstep(5.5f, 9.0f, glm::length(p - tree) + 2.0f * wobble));
    cover.paint(&Cover::dirt, bare * (0.85f + 0.15f * tufts));

    // The beach: sand to a few units above the waterline, then tufts of
    // grass that thicken inland, so it blends into the meadow.
    const float shore = land::shoreDistance(x, z) + 2.0f * wobble;
    const float inland = smoothstep(5.0f, 20.0f, shore + 5.0f * tufts);
    cover.paint(&Cover::sand, 1.0f - inland);

    // Worn paths: trodden earth along the edges, the gravel in the middle;
    // the lamp's foot is worn round where people stop.
    if (std::abs(x - 30.0f) < 40.0f && std::abs(z) < 40.0f) {
        const float ragged = 0.7f * wobble + 0.35f * tufts;
        const float edge = std::max(worn(p, path, 3.2f, ragged), worn(p, lampPath, 2.4f, ragged));
        cover.paint(&Cover::dirt, 0.6f * edge);
        float centre = std::max(worn(p, path, 2.0f, ragged), worn(p, lampPath, 1.3f, ragged));
        centre =
            std::max(centre, 1.0f - smoothstep(3.0f, 4.5f, glm::length(p - land::kLamp) + ragged));
        cover.paint(&Cover::path, centre);
    }
    return cover;
}

Image blendMap() {
    const std::vector<glm::vec2> path = land::pathCentreLine(),
                                 lampPath = land::lampPathCentreLine();
    Image image(kBlendSize, kBlendSize, 3);
    const float texel = land::kWorldSize / kBlendSize;
    for (int j = 0; j < kBlendSize; ++j) {
        for (int i = 0; i < kBlendSize; ++i) {
            const Cover c = coverAt(land::kWorldMin + (i + 0.5f) * texel,
                                    land::kWorldMin + (j + 0.5f) * texel, path, lampPath);
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
