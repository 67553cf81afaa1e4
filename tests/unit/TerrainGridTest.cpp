#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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
