#include "effects/TerrainGrid.h"

#include <cmath>

float heightFromRed(unsigned char red) {
    return (static_cast<float>(red) / 255.0f - 0.5f) * kTerrainHeightRange;
}

namespace {

// Height of grid vertex (i, j) read from the image; outside the image it is 0.
float imageHeight(const unsigned char* pixels, int width, int height, int i, int j) {
    if (i < 0 || j < 0 || i >= width || j >= height) return 0.0f;
    return heightFromRed(pixels[(static_cast<size_t>(j) * width + i) * 3]);
}

}  // namespace

TerrainGrid buildTerrainGrid(const unsigned char* rgbPixels, int mapWidth, int mapHeight) {
    TerrainGrid grid;
    const int n = mapWidth;
    if (n < 2 || n > kMaxTerrainSide || mapHeight < 0 || !rgbPixels) return grid;
    grid.vertexCount = n;
    grid.heights.assign(n, std::vector<float>(n, 0.0f));
    grid.vertices.reserve(static_cast<size_t>(n) * n);
    const float s = static_cast<float>(n - 1);
    auto h = [&](int i, int j) { return imageHeight(rgbPixels, mapWidth, mapHeight, i, j); };

    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const float height = h(i, j);
            grid.heights[i][j] = height;
            TerrainVertex v;
            v.position = glm::vec3(i / s * kTerrainSize, height, j / s * kTerrainSize);
            // Right minus left in x, lower index minus higher index in z; the
            // constant 2 is the fixed vertical weight of the central difference.
            v.normal = glm::normalize(
                glm::vec3(h(i + 1, j) - h(i - 1, j), 2.0f, h(i, j - 1) - h(i, j + 1)));
            v.texCoords = glm::vec2(i / s, j / s);
            grid.vertices.push_back(v);
        }
    }

    grid.indices.reserve(static_cast<size_t>(6) * (n - 1) * (n - 1));
    for (int gz = 0; gz < n - 1; ++gz) {
        for (int gx = 0; gx < n - 1; ++gx) {
            const unsigned int topLeft = gz * n + gx;
            const unsigned int topRight = topLeft + 1;
            const unsigned int bottomLeft = (gz + 1) * n + gx;
            const unsigned int bottomRight = bottomLeft + 1;
            grid.indices.insert(grid.indices.end(),
                                {topLeft, bottomLeft, topRight, topRight, bottomLeft, bottomRight});
        }
    }
    return grid;
}

float heightOfTerrainGrid(const TerrainGrid& grid, glm::vec3 position, float worldX, float worldZ) {
    return heightOfTerrainGrid(grid.heights, grid.vertexCount, position, worldX, worldZ);
}

float heightOfTerrainGrid(const std::vector<std::vector<float>>& heights, int vertexCount,
                          glm::vec3 position, float worldX, float worldZ) {
    const int n = vertexCount;
    if (n < 2 || heights.size() < static_cast<size_t>(n)) return 0.0f;
    const float tx = worldX - position.x;
    const float tz = worldZ - position.z;
    const float c = kTerrainSize / static_cast<float>(n - 1);
    const float fx = tx / c;
    const float fz = tz / c;
    // Outside the grid (including NaN) the ground is at 0.
    if (!(fx > -1.0f && fz > -1.0f && fx < static_cast<float>(n - 1) &&
          fz < static_cast<float>(n - 1)))
        return 0.0f;
    const int gx = static_cast<int>(fx);  // truncation towards zero
    const int gz = static_cast<int>(fz);
    if (gx >= n - 1 || gz >= n - 1 || gx < 0 || gz < 0) return 0.0f;

    const float xc = static_cast<float>((tx - std::floor(static_cast<double>(tx) / c) * c) / c);
    const float zc = static_cast<float>((tz - std::floor(static_cast<double>(tz) / c) * c) / c);
    const auto& H = heights;
    if (xc <= 1.0f - zc)
        return (1.0f - xc - zc) * H[gx][gz] + xc * H[gx + 1][gz] + zc * H[gx][gz + 1];
    return (1.0f - zc) * H[gx + 1][gz] + (xc + zc - 1.0f) * H[gx + 1][gz + 1] +
           (1.0f - xc) * H[gx][gz + 1];
}
