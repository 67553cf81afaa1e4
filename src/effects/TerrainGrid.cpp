#include "effects/TerrainGrid.h"

#include <algorithm>
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

    grid.indices = terrainGridIndices(n, 1);
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

int terrainBlocksPerSide(int vertexCount) {
    const int cells = vertexCount - 1;
    return cells < 1 ? 0 : (cells + kTerrainBlockCells - 1) / kTerrainBlockCells;
}

namespace {

// A box per square of `side` x `side` cells of what `of` gives for each of
// its vertices; a vertex on a square's edge belongs to the squares on both
// sides.
template <typename Of>
std::vector<Box> boxPerSquare(size_t vertexTotal, int vertexCount, int side, Of of) {
    const int cells = vertexCount - 1;
    const int blocks = cells < 1 || side < 1 ? 0 : (cells + side - 1) / side;
    std::vector<Box> boxes(static_cast<size_t>(blocks) * blocks);
    if (vertexTotal < static_cast<size_t>(vertexCount) * vertexCount) return boxes;
    for (int j = 0; j < vertexCount; ++j)
        for (int i = 0; i < vertexCount; ++i) {
            const glm::vec3 p = of(static_cast<size_t>(j) * vertexCount + i);
            for (int bz : {(j - 1) / side, j / side})
                for (int bx : {(i - 1) / side, i / side})
                    if (bx >= 0 && bz >= 0 && bx < blocks && bz < blocks)
                        boxes[static_cast<size_t>(bz) * blocks + bx].add(p);
        }
    return boxes;
}

}  // namespace

std::vector<Box> terrainBlockBoxes(const std::vector<TerrainVertex>& vertices, int vertexCount,
                                   glm::vec3 position) {
    return terrainSquareBoxes(vertices, vertexCount, position, kTerrainBlockCells);
}

std::vector<Box> terrainSquareBoxes(const std::vector<TerrainVertex>& vertices, int vertexCount,
                                    glm::vec3 position, int side) {
    return boxPerSquare(vertices.size(), vertexCount, side,
                        [&](size_t v) { return vertices[v].position + position; });
}

std::vector<Box> terrainBlockNormals(const std::vector<TerrainVertex>& vertices, int vertexCount) {
    return boxPerSquare(vertices.size(), vertexCount, kTerrainBlockCells,
                        [&](size_t v) { return vertices[v].normal; });
}

bool validTerrainStride(int stride) {
    return stride > 0 && stride <= kTerrainBlockCells && kTerrainBlockCells % stride == 0;
}

int terrainLevelCells(int vertexCount, int stride) {
    const int cells = vertexCount - 1;
    if (cells < 1 || !validTerrainStride(stride)) return 0;
    return (cells + stride - 1) / stride;
}

namespace {

// Fine vertex column (or row) of a level cell's near edge at this stride; the
// far edge of the last cell is the grid's last vertex (of n a side).
int levelLine(int c, int stride, int n) {
    return c * stride < n - 1 ? c * stride : n - 1;
}

}  // namespace

std::vector<unsigned int> terrainGridIndices(int vertexCount, int stride) {
    std::vector<unsigned int> indices;
    const int cells = terrainLevelCells(vertexCount, stride);
    const int n = vertexCount;
    auto line = [&](int c) { return levelLine(c, stride, n); };
    indices.reserve(static_cast<size_t>(6) * cells * cells);
    for (int cz = 0; cz < cells; ++cz) {
        const unsigned int top = static_cast<unsigned int>(line(cz)) * n;
        const unsigned int bottom = static_cast<unsigned int>(line(cz + 1)) * n;
        for (int cx = 0; cx < cells; ++cx) {
            const unsigned int left = line(cx), right = line(cx + 1);
            const unsigned int topLeft = top + left, topRight = top + right;
            const unsigned int bottomLeft = bottom + left, bottomRight = bottom + right;
            indices.insert(indices.end(),
                           {topLeft, bottomLeft, topRight, topRight, bottomLeft, bottomRight});
        }
    }
    return indices;
}


void visibleCellRuns(int vertexCount, const std::vector<char>& blockVisible,
                     std::vector<IndexRun>& runs, int stride) {
    runs.clear();
    const int cells = terrainLevelCells(vertexCount, stride);
    const int blocks = terrainBlocksPerSide(vertexCount);
    if (cells == 0 || blockVisible.size() < static_cast<size_t>(blocks) * blocks) return;
    // Strides divide the block side, so level blocks line up with the full
    // grid's blocks and their boxes.
    const int blockCells = kTerrainBlockCells / stride;
    for (int gz = 0; gz < cells; ++gz) {
        const int bz = gz / blockCells;
        for (int bx = 0; bx < blocks; ++bx) {
            if (!blockVisible[static_cast<size_t>(bz) * blocks + bx]) continue;
            const int gx0 = bx * blockCells;
            const int gx1 = gx0 + blockCells < cells ? gx0 + blockCells : cells;
            const size_t first = 6 * (static_cast<size_t>(gz) * cells + gx0);
            const size_t count = 6 * static_cast<size_t>(gx1 - gx0);
            if (!runs.empty() && runs.back().first + runs.back().count == first)
                runs.back().count += count;
            else
                runs.push_back({first, count});
        }
    }
}

TerrainSkirts terrainSkirts(int vertexCount, int stride, unsigned int below) {
    TerrainSkirts skirts;
    const int cells = terrainLevelCells(vertexCount, stride);
    const int blocks = terrainBlocksPerSide(vertexCount);
    const int n = vertexCount;
    if (cells == 0) return skirts;
    auto line = [&](int c) { return levelLine(c, stride, n); };
    auto at = [&](int x, int z) { return static_cast<unsigned int>(z * n + x); };
    // One side from fine vertex a to fine vertex b, both facings.
    auto side = [&](unsigned int a, unsigned int b) {
        skirts.indices.insert(skirts.indices.end(), {a, below + a, b, b, below + a, below + b, a, b,
                                                     below + a, b, below + b, below + a});
    };
    const int blockCells = kTerrainBlockCells / stride;
    for (int bz = 0; bz < blocks; ++bz)
        for (int bx = 0; bx < blocks; ++bx) {
            skirts.blockFirst.push_back(skirts.indices.size());
            const int cx0 = std::min(bx * blockCells, cells),
                      cx1 = std::min(cx0 + blockCells, cells);
            const int cz0 = std::min(bz * blockCells, cells),
                      cz1 = std::min(cz0 + blockCells, cells);
            for (int c = cx0; c < cx1; ++c) {
                side(at(line(c), line(cz0)), at(line(c + 1), line(cz0)));
                side(at(line(c), line(cz1)), at(line(c + 1), line(cz1)));
            }
            for (int c = cz0; c < cz1; ++c) {
                side(at(line(cx0), line(c)), at(line(cx0), line(c + 1)));
                side(at(line(cx1), line(c)), at(line(cx1), line(c + 1)));
            }
        }
    skirts.blockFirst.push_back(skirts.indices.size());
    return skirts;
}

float terrainSkirtDepth(const std::vector<std::vector<float>>& heights, int vertexCount,
                        int stride) {
    const int cells = terrainLevelCells(vertexCount, stride);
    const int n = vertexCount;
    if (cells == 0 || heights.size() < size_t(n)) return 0.0f;
    auto line = [&](int c) { return levelLine(c, stride, n); };
    float depth = 0.0f;
    // Along a level line, between two of its vertices (fine positions p0 and
    // p1), the fine vertices against the straight side between them.
    auto along = [&](auto height, int p0, int p1) {
        for (int p = p0 + 1; p < p1; ++p) {
            const float t = float(p - p0) / float(p1 - p0);
            const float sideHeight = height(p0) + t * (height(p1) - height(p0));
            depth = std::max(depth, sideHeight - height(p));
        }
    };
    for (int l = 0; l <= cells; ++l) {
        const int fixed = line(l);
        for (int c = 0; c < cells; ++c) {
            along([&](int x) { return heights[size_t(x)][size_t(fixed)]; }, line(c), line(c + 1));
            along([&](int z) { return heights[size_t(fixed)][size_t(z)]; }, line(c), line(c + 1));
        }
    }
    return depth;
}

float steepestGround(const std::vector<std::vector<float>>& heights, int vertexCount) {
    if (vertexCount < 2 || heights.size() < size_t(vertexCount)) return 0.0f;
    // A triangle's two legs run along x and z, so its slope is at most the
    // steepest step between neighbours times the square root of 2; a coarse
    // level's legs span several steps and slope no more than the steepest.
    float step = 0.0f;
    for (int i = 0; i < vertexCount; ++i)
        for (int j = 0; j < vertexCount; ++j) {
            if (i + 1 < vertexCount)
                step = std::max(step, std::abs(heights[i + 1][j] - heights[i][j]));
            if (j + 1 < vertexCount)
                step = std::max(step, std::abs(heights[i][j + 1] - heights[i][j]));
        }
    return std::sqrt(2.0f) * step / (kTerrainSize / float(vertexCount - 1));
}
