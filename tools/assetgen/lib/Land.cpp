#include "lib/Land.h"

#include <algorithm>
#include <cmath>

#include "lib/Noise.h"

namespace assetgen::land {

namespace {

constexpr float kGardenHeight = 0.0196f;  // grey 128
constexpr uint32_t kRollingSeed = 0x5eed0101u;
constexpr uint32_t kBedSeed = 0x5eed0102u;

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Ellipse radius: 0 at the lake's centre, 1 on its shore.
float lakeRadius(float x, float z) {
    const glm::vec2 q = (glm::vec2(x, z) - kLakeCentre) / kLakeHalfAxes;
    return glm::length(q);
}

// The lake bed: -5 in the middle, rising ever faster to the waterline at the shore.
float lakeBed(float x, float z) {
    const float t = std::clamp((1.0f - lakeRadius(x, z)) / 0.65f, 0.0f, 1.0f);
    const float depth = 3.0f * (1.0f - (1.0f - t) * (1.0f - t));
    const float ripples = 0.15f * t * (1.0f - t) * fbm2(x / 25.0f, z / 25.0f, kBedSeed, 3);
    return std::max(-5.0f, kWaterLevel - depth + ripples);
}

// The beach: steep out of the water, then flattening to about +0.3 after 12 units.
float beach(float distance) {
    const float s = std::clamp(distance / 12.0f, 0.0f, 1.0f);
    return kWaterLevel + 2.3f * (1.0f - (1.0f - s) * (1.0f - s));
}

// Rolling ground that rises towards the terrain's edges to frame the valley.
float openLand(float x, float z) {
    const float rolling = 0.75f + 1.1f * fbm2(x / 140.0f, z / 140.0f, kRollingSeed, 4);
    const float edge = std::pow(std::pow(std::abs(x), 4.0f) + std::pow(std::abs(z), 4.0f), 0.25f);
    const float rise = 4.3f * smoothstep(200.0f, 480.0f, edge);
    return rolling + rise;
}

}  // namespace

float shoreDistance(float x, float z) {
    const glm::vec2 q = (glm::vec2(x, z) - kLakeCentre) / kLakeHalfAxes;
    const float e = glm::length(q);
    if (e < 1e-4f) return -kLakeHalfAxes.x;
    // First-order distance to the level set e = 1.
    const float gradient = glm::length(q / kLakeHalfAxes) / e;
    return (e - 1.0f) / gradient;
}

float groundHeight(float x, float z) {
    const float shore = shoreDistance(x, z);
    if (shore < 0.0f) return lakeBed(x, z);

    const float garden = smoothstep(34.0f, 75.0f, std::max(std::abs(x), std::abs(z)));
    const float land = glm::mix(kGardenHeight, openLand(x, z), garden);
    const float h = glm::mix(beach(shore), land, smoothstep(6.0f, 20.0f, shore));
    return std::clamp(h, -5.0f, 5.0f);
}

uint8_t heightToByte(float height) {
    const float v = (height / 10.0f + 0.5f) * 255.0f;
    return uint8_t(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

float byteToHeight(uint8_t byte) {
    return (byte / 255.0f - 0.5f) * 10.0f;
}

float gridCoordinate(int i) {
    return kWorldMin + i * kWorldSize / (kGridSize - 1);
}

HeightGrid sampleHeightGrid() {
    HeightGrid grid(kGridSize, std::vector<float>(kGridSize));
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j)
            grid[i][j] =
                byteToHeight(heightToByte(groundHeight(gridCoordinate(i), gridCoordinate(j))));
    return grid;
}

float surfaceHeight(const HeightGrid& grid, float x, float z) {
    const float cell = kWorldSize / (kGridSize - 1);
    const float tx = (x - kWorldMin) / cell, tz = (z - kWorldMin) / cell;
    const int gx = int(std::floor(tx)), gz = int(std::floor(tz));
    if (gx < 0 || gz < 0 || gx >= kGridSize - 1 || gz >= kGridSize - 1) return 0.0f;
    const float xc = tx - gx, zc = tz - gz;
    if (xc <= 1.0f - zc)
        return (1 - xc - zc) * grid[gx][gz] + xc * grid[gx + 1][gz] + zc * grid[gx][gz + 1];
    return (1 - zc) * grid[gx + 1][gz] + (xc + zc - 1) * grid[gx + 1][gz + 1] +
           (1 - xc) * grid[gx][gz + 1];
}

namespace {

std::vector<glm::vec2> bezierLine(glm::vec2 p0, glm::vec2 p1, glm::vec2 p2, glm::vec2 p3) {
    std::vector<glm::vec2> line;
    const int steps = 96;
    for (int k = 0; k <= steps; ++k) {
        const float t = float(k) / steps, u = 1.0f - t;
        line.push_back(u * u * u * p0 + 3 * t * u * u * p1 + 3 * t * t * u * p2 + t * t * t * p3);
    }
    return line;
}

}  // namespace

std::vector<glm::vec2> pathCentreLine() {
    // A gentle S from the edge of the table's clearing down to the jetty.
    return bezierLine({9.0f, 1.0f}, {26.0f, -8.0f}, {38.0f, 14.0f}, {57.0f, 10.0f});
}

std::vector<glm::vec2> lampPathCentreLine() {
    // From the foot of the lamp round the table's clearing to the jetty path.
    return bezierLine({1.5f, -17.0f}, {5.0f, -10.0f}, {4.0f, -3.0f}, {10.0f, 1.5f});
}

}  // namespace assetgen::land
