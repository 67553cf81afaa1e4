#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "core/QualityProfile.h"
#include "effects/TerrainGrid.h"

namespace {

const glm::vec3 kCorner(-500.0f, 0.0f, -500.0f);

// A height map whose red byte at (column i, row j) is given by f.
template <typename F>
std::vector<unsigned char> makeMap(int w, int h, F f) {
    std::vector<unsigned char> px(size_t(w) * h * 3);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            unsigned char r = f(i, j);
            px[(size_t(j) * w + i) * 3 + 0] = r;
            px[(size_t(j) * w + i) * 3 + 1] = 0;  // only red is read
            px[(size_t(j) * w + i) * 3 + 2] = 255;
        }
    return px;
}

}  // namespace

TEST(TerrainGrid, HeightFromRedCoversTheRange) {
    EXPECT_FLOAT_EQ(heightFromRed(0), -5.0f);
    EXPECT_FLOAT_EQ(heightFromRed(255), 5.0f);
    EXPECT_NEAR(heightFromRed(128), 0.0196f, 1e-4);
}

TEST(TerrainGrid, A256MapGivesTheFullGrid) {
    const auto px = makeMap(256, 256, [](int, int) { return 128; });
    const TerrainGrid g = buildTerrainGrid(px.data(), 256, 256);
    EXPECT_EQ(g.vertexCount, 256);
    EXPECT_EQ(g.vertices.size(), 65536u);
    EXPECT_EQ(g.indices.size(), 390150u);
    // Last vertex sits at the far corner; texture coordinates span [0, 1] once.
    EXPECT_FLOAT_EQ(g.vertices.back().position.x, 1000.0f);
    EXPECT_FLOAT_EQ(g.vertices.back().position.z, 1000.0f);
    EXPECT_FLOAT_EQ(g.vertices.back().texCoords.x, 1.0f);
    // First cell: topLeft, bottomLeft, topRight, topRight, bottomLeft, bottomRight.
    const std::vector<unsigned int> first(g.indices.begin(), g.indices.begin() + 6);
    EXPECT_EQ(first, (std::vector<unsigned int>{0, 256, 1, 1, 256, 257}));
}

TEST(TerrainGrid, NormalsUseNeighboursWithZeroOutsideTheImage) {
    // Heights rise with x: left neighbour lower than right.
    const auto px = makeMap(4, 4, [](int i, int) { return i * 60; });
    const TerrainGrid g = buildTerrainGrid(px.data(), 4, 4);
    const TerrainVertex& v = g.vertices[1 * 4 + 1];  // i = 1, j = 1
    const glm::vec3 expected =
        glm::normalize(glm::vec3(heightFromRed(120) - heightFromRed(0), 2.0f, 0.0f));
    EXPECT_NEAR(v.normal.x, expected.x, 1e-5);
    EXPECT_NEAR(v.normal.y, expected.y, 1e-5);
    EXPECT_NEAR(v.normal.z, 0.0f, 1e-5);
    // At the edge i = 3 the right neighbour is outside and counts as 0.
    const TerrainVertex& e = g.vertices[1 * 4 + 3];
    EXPECT_NEAR(e.normal.x, glm::normalize(glm::vec3(0.0f - heightFromRed(120), 2.0f, 0.0f)).x,
                1e-5);
}

TEST(TerrainGrid, ShortImageLeavesMissingRowsAtZero) {
    const auto px = makeMap(4, 2, [](int, int) { return 255; });
    const TerrainGrid g = buildTerrainGrid(px.data(), 4, 2);
    EXPECT_EQ(g.vertexCount, 4);
    EXPECT_FLOAT_EQ(g.heights[2][1], 5.0f);
    EXPECT_FLOAT_EQ(g.heights[2][2], 0.0f);
    EXPECT_FLOAT_EQ(g.heights[2][3], 0.0f);
}

TEST(TerrainGrid, DegenerateInputGivesAnEmptyGridAndZeroHeight) {
    const auto px = makeMap(1, 1, [](int, int) { return 255; });
    const TerrainGrid g = buildTerrainGrid(px.data(), 1, 1);
    EXPECT_EQ(g.vertexCount, 0);
    EXPECT_FLOAT_EQ(heightOfTerrainGrid(g, kCorner, 0.0f, 0.0f), 0.0f);
    EXPECT_EQ(buildTerrainGrid(nullptr, 16, 16).vertexCount, 0);
    // Too wide a map would need width x width vertices: refused, not built.
    EXPECT_EQ(buildTerrainGrid(px.data(), kMaxTerrainSide + 1, 0).vertexCount, 0);
}

class TerrainLookup : public ::testing::Test {
protected:
    // A 5 x 5 map (cell size 250) with distinct heights everywhere.
    std::vector<unsigned char> px = makeMap(5, 5, [](int i, int j) { return 10 + i * 40 + j * 7; });
    TerrainGrid g = buildTerrainGrid(px.data(), 5, 5);
    float at(float x, float z) const { return heightOfTerrainGrid(g, kCorner, x, z); }
};

TEST_F(TerrainLookup, GridVerticesReturnTheirHeight) {
    EXPECT_NEAR(at(-500.0f, -500.0f), g.heights[0][0], 1e-5);
    EXPECT_NEAR(at(-250.0f, -500.0f), g.heights[1][0], 1e-5);
    EXPECT_NEAR(at(0.0f, 0.0f), g.heights[2][2], 1e-5);
    EXPECT_NEAR(at(250.0f, 0.0f), g.heights[3][2], 1e-5);
}

TEST_F(TerrainLookup, BothTrianglesOfACellInterpolateOnTheMeshDiagonal) {
    const auto& H = g.heights;
    // Upper-left triangle (xc + zc <= 1): xc = 0.2, zc = 0.3 in cell (1, 1).
    const float upper = at(-250.0f + 50.0f, -250.0f + 75.0f);
    EXPECT_NEAR(upper, 0.5f * H[1][1] + 0.2f * H[2][1] + 0.3f * H[1][2], 1e-4);
    // Lower-right triangle: xc = 0.8, zc = 0.6.
    const float lower = at(-250.0f + 200.0f, -250.0f + 150.0f);
    EXPECT_NEAR(lower, 0.4f * H[2][1] + 0.4f * H[2][2] + 0.2f * H[1][2], 1e-4);
    // On the diagonal both formulas agree.
    const float onDiagonal = at(-250.0f + 125.0f, -250.0f + 125.0f);
    EXPECT_NEAR(onDiagonal, 0.5f * H[2][1] + 0.5f * H[1][2], 1e-4);
}

TEST_F(TerrainLookup, FarEdgeAndOutsideAreZero) {
    EXPECT_FLOAT_EQ(at(500.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(at(0.0f, 500.0f), 0.0f);
    EXPECT_FLOAT_EQ(at(-900.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(at(0.0f, 2000.0f), 0.0f);
    EXPECT_FLOAT_EQ(at(1e30f, -1e30f), 0.0f);
    EXPECT_FLOAT_EQ(at(std::nanf(""), 0.0f), 0.0f);
}

TEST_F(TerrainLookup, JustOutsideTheLowEdgeUsesCellZero) {
    // tx = -100 of a 250 cell: truncates to cell 0 with xc = (tx + c) / c = 0.6.
    const auto& H = g.heights;
    const float v = at(-600.0f, -500.0f + 25.0f);  // zc = 0.1
    const float xc = 0.6f, zc = 0.1f;
    EXPECT_NEAR(v, (1 - xc - zc) * H[0][0] + xc * H[1][0] + zc * H[0][1], 1e-4);
    // A full cell further out is outside the grid.
    EXPECT_FLOAT_EQ(at(-750.1f, -500.0f + 25.0f), 0.0f);
}

namespace {

// Twice the signed xz area of triangle (a, b, c), vertices in grid units.
long long doubledArea(int n, unsigned a, unsigned b, unsigned c) {
    const long long ax = a % n, az = a / n, bx = b % n, bz = b / n, cx = c % n, cz = c / n;
    return (bx - ax) * (cz - az) - (bz - az) * (cx - ax);
}

}  // namespace

TEST(TerrainLevels, EveryLevelIsOneCrackFreeGridWithTheFullGridsWinding) {
    // Odd and even cell counts, tiny grids and the scene's 255 cells a side.
    for (int n : {2, 3, 4, 5, 6, 17, 18, 40, 256}) {
        const std::vector<unsigned int> fine = terrainGridIndices(n, 1);
        const long long fineSign = doubledArea(n, fine[0], fine[1], fine[2]) > 0 ? 1 : -1;
        for (int stride : {1, 2, 4}) {
            SCOPED_TRACE(testing::Message() << n << " vertices, stride " << stride);
            const int cells = terrainLevelCells(n, stride);
            EXPECT_EQ(cells, (n - 1 + stride - 1) / stride);
            const std::vector<unsigned int> idx = terrainGridIndices(n, stride);
            ASSERT_EQ(idx.size(), 6u * cells * cells);
            long long area = 0;
            std::map<std::pair<unsigned, unsigned>, int> edges;  // directed edge -> uses
            for (size_t t = 0; t < idx.size(); t += 3) {
                for (size_t k = 0; k < 3; ++k) ASSERT_LT(idx[t + k], unsigned(n * n));
                const long long a = doubledArea(n, idx[t], idx[t + 1], idx[t + 2]);
                ASSERT_EQ(a > 0 ? 1 : -1, fineSign) << "triangle " << t / 3;  // never 0 either
                area += a * fineSign;
                for (size_t k = 0; k < 3; ++k) ++edges[{idx[t + k], idx[t + (k + 1) % 3]}];
            }
            // Same winding everywhere and exactly the square's area: no gaps, no overlaps.
            EXPECT_EQ(area, 2LL * (n - 1) * (n - 1));
            // Every inner edge is met once each way; only the square's border
            // is met once. A T-junction would leave a long inner edge unmatched.
            for (const auto& [edge, uses] : edges) {
                EXPECT_EQ(uses, 1);
                const unsigned a = edge.first, b = edge.second;
                const bool border = (a % n == b % n && (a % n == 0 || a % n == unsigned(n - 1))) ||
                                    (a / n == b / n && (a / n == 0 || a / n == unsigned(n - 1)));
                if (!border) {
                    EXPECT_EQ(edges.count({b, a}), 1u) << a << "-" << b;
                }
            }
        }
    }
}

TEST(TerrainLevels, CoarseCellsKeepTheCornersOrderAndTheLastNarrowCell) {
    // 3 vertices: one coarse cell over the whole grid, same corner order as a fine cell.
    EXPECT_EQ(terrainGridIndices(3, 2), (std::vector<unsigned int>{0, 6, 2, 2, 6, 8}));
    EXPECT_EQ(terrainGridIndices(3, 4), terrainGridIndices(3, 2));
    // 2 vertices: the single cell is the same at every stride.
    EXPECT_EQ(terrainGridIndices(2, 4), terrainGridIndices(2, 1));
    // 4 vertices, stride 2: cells [0, 2] and the narrow [2, 3] in each direction.
    const std::vector<unsigned int> four = terrainGridIndices(4, 2);
    ASSERT_EQ(four.size(), 24u);
    EXPECT_EQ(std::vector<unsigned int>(four.begin() + 6, four.begin() + 12),
              (std::vector<unsigned int>{2, 10, 3, 3, 10, 11}));
    EXPECT_EQ(std::vector<unsigned int>(four.end() - 6, four.end()),
              (std::vector<unsigned int>{10, 14, 11, 11, 14, 15}));
    // The full grid's list is the stride 1 level.
    const auto px = makeMap(7, 7, [](int i, int j) { return i * j; });
    EXPECT_EQ(buildTerrainGrid(px.data(), 7, 7).indices, terrainGridIndices(7, 1));
    // Strides that would not line up with the blocks, and too few vertices.
    for (int stride : {0, -2, 3, 32}) {
        EXPECT_TRUE(terrainGridIndices(40, stride).empty()) << stride;
        EXPECT_EQ(terrainLevelCells(40, stride), 0) << stride;
    }
    EXPECT_TRUE(terrainGridIndices(1, 2).empty());
    std::vector<IndexRun> runs{{1, 1}};
    visibleCellRuns(40, std::vector<char>(9, 1), runs, 3);
    EXPECT_TRUE(runs.empty());
}

TEST(TerrainLevels, BlockRunsSelectEachBlocksTrianglesOnceAtEveryStride) {
    const int n = 40;  // 39 cells a side: blocks of 16, 16 and 7 fine cells
    const int blocks = terrainBlocksPerSide(n);
    for (int stride : {1, 2, 4}) {
        const std::vector<unsigned int> idx = terrainGridIndices(n, stride);
        std::vector<int> drawn(idx.size() / 3, 0);
        for (int b = 0; b < blocks * blocks; ++b) {
            SCOPED_TRACE(testing::Message() << "stride " << stride << ", block " << b);
            std::vector<char> visible(size_t(blocks) * blocks, 0);
            visible[b] = 1;
            std::vector<IndexRun> runs;
            visibleCellRuns(n, visible, runs, stride);
            const unsigned x0 = b % blocks * kTerrainBlockCells,
                           z0 = b / blocks * kTerrainBlockCells;
            for (const IndexRun& run : runs) {
                ASSERT_LE(run.first + run.count, idx.size());
                ASSERT_EQ(run.first % 6, 0u);  // whole cells
                for (size_t i = run.first; i < run.first + run.count; ++i) {
                    // Every corner lies inside the block (its edges included).
                    EXPECT_GE(idx[i] % n, x0);
                    EXPECT_LE(idx[i] % n, x0 + kTerrainBlockCells);
                    EXPECT_GE(idx[i] / n, z0);
                    EXPECT_LE(idx[i] / n, z0 + kTerrainBlockCells);
                }
                for (size_t t = run.first / 3; t < (run.first + run.count) / 3; ++t) ++drawn[t];
            }
        }
        // Together the blocks draw every triangle of the level exactly once.
        EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 1), long(drawn.size())) << stride;
    }
}

TEST(TerrainLevels, SkirtsHangFromEveryBorderSideOfACoarseBlockDeepEnoughToCloseItsCracks) {
    // 39 cells a side: blocks of 16, 16 and 7 fine cells.
    const int n = 40;
    const int blocks = terrainBlocksPerSide(n);
    const unsigned below = unsigned(n * n);
    for (int stride : {4, 8}) {
        SCOPED_TRACE(testing::Message() << "stride " << stride);
        const TerrainSkirts skirts = terrainSkirts(n, stride, below);
        ASSERT_EQ(skirts.blockFirst.size(), size_t(blocks) * blocks + 1);
        EXPECT_EQ(skirts.blockFirst.front(), 0u);
        EXPECT_EQ(skirts.blockFirst.back(), skirts.indices.size());
        const int cells = terrainLevelCells(n, stride);
        auto line = [&](int c) { return std::min(c * stride, n - 1); };
        for (int b = 0; b < blocks * blocks; ++b) {
            const int blockCells = kTerrainBlockCells / stride;
            const int cx0 = std::min(b % blocks * blockCells, cells),
                      cx1 = std::min(cx0 + blockCells, cells);
            const int cz0 = std::min(b / blocks * blockCells, cells),
                      cz1 = std::min(cz0 + blockCells, cells);
            const size_t first = skirts.blockFirst[b], last = skirts.blockFirst[b + 1];
            // Twelve indices a side (two triangles, both facings), for every
            // cell side of the block's four borders.
            ASSERT_EQ(last - first, 12u * 2 * size_t((cx1 - cx0) + (cz1 - cz0))) << b;
            for (size_t q = first; q < last; q += 12) {
                const unsigned a = skirts.indices[q], c = skirts.indices[q + 2];
                // The side's two ends are vertices of the level on the
                // block's border; the quad reaches their lowered copies.
                for (unsigned v : {a, c}) {
                    const int x = int(v % n), z = int(v / n);
                    const bool onX = x == line(cx0) || x == line(cx1);
                    const bool onZ = z == line(cz0) || z == line(cz1);
                    EXPECT_TRUE(onX || onZ) << b << ": " << v;
                    EXPECT_TRUE(x % stride == 0 || x == n - 1) << v;
                    EXPECT_TRUE(z % stride == 0 || z == n - 1) << v;
                }
                const std::vector<unsigned> quad(skirts.indices.begin() + long(q),
                                                 skirts.indices.begin() + long(q) + 12);
                for (unsigned v : quad)
                    EXPECT_TRUE(v == a || v == c || v == a + below || v == c + below) << v;
                // Both facings: the second pair of triangles runs the other way.
                EXPECT_EQ(quad[1], a + below);
                EXPECT_EQ(quad[7], c);
            }
        }
    }
    // A grid whose heights are linear in x and z: every coarse side lies on
    // the fine ground, so the skirts need no depth. One vertex dug 3 units
    // into it on a line of the stride 4 level (but off that level's
    // vertices) needs 3; off every line, nothing.
    std::vector<std::vector<float>> heights(size_t(n), std::vector<float>(size_t(n), 0.0f));
    for (int x = 0; x < n; ++x)
        for (int z = 0; z < n; ++z)
            heights[size_t(x)][size_t(z)] = 0.1f * float(x) - 0.05f * float(z);
    EXPECT_NEAR(terrainSkirtDepth(heights, n, 4), 0.0f, 1e-5f);
    auto dug = heights;
    dug[6][8] -= 3.0f;  // z = 8 is a line of the stride 4 and 8 levels; x = 6 is neither's vertex
    EXPECT_NEAR(terrainSkirtDepth(dug, n, 4), 3.0f, 1e-4f);
    EXPECT_NEAR(terrainSkirtDepth(dug, n, 8), 3.0f, 1e-4f);
    auto offLines = heights;
    offLines[5][7] -= 3.0f;
    EXPECT_NEAR(terrainSkirtDepth(offLines, n, 4), 0.0f, 1e-5f);
    // A raised vertex never needs a skirt: the coarse side lies below it.
    auto raised = heights;
    raised[6][8] += 3.0f;
    EXPECT_NEAR(terrainSkirtDepth(raised, n, 4), 0.0f, 1e-5f);
    // Refused strides and too few vertices.
    EXPECT_TRUE(terrainSkirts(n, 3, below).indices.empty());
    EXPECT_EQ(terrainSkirtDepth(heights, n, 3), 0.0f);
    EXPECT_EQ(terrainSkirtDepth(heights, 1, 4), 0.0f);
}

TEST(TerrainLevels, OnlyReducedFramesDrawACoarserLevelKeepTheShadowMapOrDrawLighterForms) {
    const std::vector<std::pair<float, int>> cases = {
        {1.0f, 1}, {0.85f, 1}, {0.76f, 1}, {0.75f, 2}, {0.65f, 2},
        {0.55f, 2}, {0.4f, 2},  {0.3f, 2},  {0.1f, 2}};
    for (const auto& [scale, stride] : cases) {
        QualityProfile profile;
        profile.setScale(scale);
        EXPECT_EQ(profile.groundStride(), stride) << scale;
        const FrameChoices choices = profile.choices();
        EXPECT_EQ(choices.groundStride, stride) << scale;
        // A full-scale frame draws its shadow map every frame, as designed.
        EXPECT_EQ(choices.shadowKeepTexels > 0.0, scale < 1.0f) << scale;
        EXPECT_EQ(choices.shadowSide(5400) < 5400, scale < 1.0f) << scale;
        // The water targets at half the frame's share of its own targets,
        // and whole at full scale.
        EXPECT_EQ(choices.waterSide(500), scale < 1.0f ? choices.side(250) : 500) << scale;
        // Nor does it draw far forms or sort the leaves it draws in one pass.
        EXPECT_EQ(choices.farFormsFrom > 0.0f, scale < 1.0f) << scale;
        EXPECT_EQ(choices.distantFormsFrom > choices.farFormsFrom, scale < 1.0f) << scale;
        if (scale >= 1.0f) {
            EXPECT_EQ(choices.distantFormsFrom, 0.0f);
        }
        // The far ground from a coarser level in reduced frames only.
        EXPECT_EQ(choices.farGroundFrom > 0.0f, scale < 1.0f) << scale;
        // The reflection's trees are all distant forms in reduced frames only.
        EXPECT_EQ(choices.distantReflections, scale < 1.0f) << scale;
        EXPECT_EQ(choices.nearestFirst, scale < 1.0f) << scale;
        EXPECT_EQ(choices.nearestLevels, scale < 1.0f) << scale;
        EXPECT_EQ(choices.leanPrograms, scale < 1.0f) << scale;
        EXPECT_EQ(choices.shadowEveryOther, scale < 1.0f) << scale;
        // Thin forms only in the small frames that draw the coarser ground.
        EXPECT_EQ(choices.thinForms, stride == 2) << scale;
        // Leaves and grass depth first at every level of the controller.
        EXPECT_EQ(choices.depthFirst, scale >= 0.3f) << scale;
    }
}
