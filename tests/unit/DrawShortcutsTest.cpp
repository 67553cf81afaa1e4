// The arithmetic behind the passes' shortcuts: what they leave out must be
// exactly what cannot be drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "effects/TerrainGrid.h"
#include "effects/WaterMath.h"
#include "render/ScreenRect.h"
#include "render/ViewVolume.h"

namespace {

Box boxOf(glm::vec3 a, glm::vec3 b) {
    Box box;
    box.add(a);
    box.add(b);
    return box;
}

}  // namespace

TEST(ScreenRect, BoxesProjectConservativelyAndCullOnlyWhatIsOutside) {
    const glm::mat4 lens = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f);
    // A unit box 10 in front: around the centre of a 100 x 100 target.
    const PixelRect r = projectBox(lens, boxOf({-1, -1, -11}, {1, 1, -9}), 100, 100);
    EXPECT_LE(r.x0, 45);
    EXPECT_GE(r.x1, 55);
    EXPECT_GT(r.x0, 35);  // and not much more
    EXPECT_LT(r.x1, 65);
    // Behind the camera: nothing; beyond the far plane: nothing.
    EXPECT_TRUE(projectBox(lens, boxOf({-1, -1, 5}, {1, 1, 9}), 100, 100).empty());
    EXPECT_TRUE(outsideClip(lens, boxOf({-1, -1, -300}, {1, 1, -200})));
    // Reaching behind the camera: the whole target, never a wrong rectangle.
    const PixelRect around = projectBox(lens, boxOf({-1, -1, -5}, {1, 1, 5}), 100, 100);
    EXPECT_EQ(around.x0, 0);
    EXPECT_EQ(around.x1, 100);
    EXPECT_FALSE(outsideClip(lens, boxOf({-1, -1, -5}, {1, 1, 5})));
    // The water plane y = -2 (kept side y > -2) cuts away a box below it only.
    const glm::vec4 keepAbove(0, 1, 0, 2);
    EXPECT_TRUE(belowPlane(keepAbove, boxOf({0, -5, 0}, {1, -2.5f, 1})));
    EXPECT_FALSE(belowPlane(keepAbove, boxOf({0, -5, 0}, {1, -1.5f, 1})));
    EXPECT_TRUE(grow(PixelRect{}, 5, 5, 100, 100).empty());
    const PixelRect g = grow(PixelRect{2, 90, 10, 99}, 5, 5, 100, 100);
    EXPECT_EQ(g.x0, 0);
    EXPECT_EQ(g.y1, 100);
    // A caster behind the camera whose shadow falls ahead into view is kept;
    // the same shadow falling away from the view is not; a box in view is
    // kept whatever way its shadow goes.
    const Box behind = boxOf({-1, -1, 5}, {1, 1, 7});
    EXPECT_FALSE(shadowOutsideClip(lens, behind, {0, 0, -50}));
    EXPECT_TRUE(shadowOutsideClip(lens, behind, {0, 0, 50}));
    EXPECT_TRUE(shadowOutsideClip(lens, behind, {0, 0, 0}));
    EXPECT_FALSE(shadowOutsideClip(lens, boxOf({-1, -1, -11}, {1, 1, -9}), {0, 0, 50}));
    // Off to the side, swept across the view: kept.
    EXPECT_FALSE(shadowOutsideClip(lens, boxOf({40, -1, -11}, {42, 1, -9}), {-80, 0, 0}));
    EXPECT_TRUE(shadowOutsideClip(lens, boxOf({40, -1, -11}, {42, 1, -9}), {80, 0, 0}));
}

TEST(TerrainBlocks, RunsCoverExactlyTheCellsOfVisibleBlocksInIndexOrder) {
    const int n = 40;  // 39 cells a side: blocks of 16, 16 and 7 cells
    std::vector<TerrainVertex> vertices(size_t(n) * n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) vertices[size_t(j) * n + i].position = glm::vec3(i, (i + j) % 3, j);
    ASSERT_EQ(terrainBlocksPerSide(n), 3);
    const std::vector<Box> boxes = terrainBlockBoxes(vertices, n, glm::vec3(100, 0, 0));
    ASSERT_EQ(boxes.size(), 9u);
    EXPECT_EQ(boxes[0].min, glm::vec3(100, 0, 0));
    EXPECT_EQ(boxes[0].max, glm::vec3(116, 2, 16));  // edge vertices belong to both blocks
    EXPECT_EQ(boxes[8].max, glm::vec3(139, 2, 39));

    std::vector<IndexRun> runs;
    visibleCellRuns(n, std::vector<char>(9, 1), runs);
    ASSERT_EQ(runs.size(), 1u);  // everything: one run, the whole list
    EXPECT_EQ(runs[0].first, 0u);
    EXPECT_EQ(runs[0].count, 6u * 39 * 39);

    std::vector<char> visible(9, 0);
    visible[4] = 1;  // the middle block: cells 16..31 of rows 16..31
    visible[5] = 1;  // and its neighbour to the right, up to the edge
    visibleCellRuns(n, visible, runs);
    ASSERT_EQ(runs.size(), 16u);
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(runs[row].first, 6u * ((16 + row) * 39 + 16));
        EXPECT_EQ(runs[row].count, 6u * (16 + 7));
    }
    visibleCellRuns(n, std::vector<char>(9, 0), runs);
    EXPECT_TRUE(runs.empty());
    visibleCellRuns(1, std::vector<char>(), runs);  // no cells at all
    EXPECT_TRUE(runs.empty());
}

TEST(WaterParts, OnlyTheTexelsTheSurfaceCanReadAreDrawn) {
    const glm::mat4 lens = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f);
    // Ground 2 below an eye looking along -z, reaching behind the eye: only
    // its part in view counts, from the bottom edge up to below the horizon.
    const ViewportArea ground =
        projectPolygon(lens, {{-50, -2, 10}, {50, -2, 10}, {50, -2, -50}, {-50, -2, -50}});
    ASSERT_FALSE(ground.empty);
    EXPECT_FLOAT_EQ(ground.min.y, 0.0f);
    EXPECT_FLOAT_EQ(ground.min.x, 0.0f);
    EXPECT_GT(ground.max.y, 0.45f);
    EXPECT_LT(ground.max.y, 0.5f);  // the far edge, short of the horizon
    EXPECT_TRUE(projectPolygon(lens, {{-5, -2, 1}, {5, -2, 1}, {5, -2, 9}, {-5, -2, 9}}).empty);
    EXPECT_TRUE(unite(ViewportArea{}, ViewportArea{}).empty);

    // Screen points moved by the distortion, bilinear pairs and a texel of
    // rounding each side; the reflection's rows turned upside down.
    const ViewportArea middle{{0.4f, 0.1f}, {0.6f, 0.2f}, false};
    std::vector<PixelRect> parts = waterReadRects(middle, 0.05f, false, 500, 300, true);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].x0, 173);  // floor(0.35 * 500 - 0.5) - 1
    EXPECT_EQ(parts[0].x1, 327);  // floor(0.65 * 500 - 0.5) + 3
    EXPECT_EQ(parts[0].y0, 13);
    EXPECT_EQ(parts[0].y1, 77);
    parts = waterReadRects(middle, 0.05f, true, 500, 300, true);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].y0, 223);  // rows of 0.75 to 0.95
    EXPECT_EQ(parts[0].y1, 287);
    EXPECT_TRUE(waterReadRects(ViewportArea{}, 0.05f, false, 500, 300, true).empty());

    // Held at 0.001 and 0.999, a lookup on 300 rows reads the row past the
    // opposite edge (at -0.2 and 299.2 texels), on 500 columns only at the
    // top (0.999 * 500 - 0.5 is just over 499), never in a reduced frame.
    const ViewportArea lowEdge{{0.0f, 0.0f}, {0.5f, 0.3f}, false};
    parts = waterReadRects(lowEdge, 0.05f, false, 500, 300, true);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].x0, 0);
    EXPECT_EQ(parts[0].x1, 277);  // no column 499: the low edge reads 0 and 1
    EXPECT_EQ(parts[0].y0, 0);
    EXPECT_EQ(parts[1].y0, 299);
    EXPECT_EQ(parts[1].y1, 300);
    const ViewportArea rightEdge{{0.9f, 0.5f}, {1.0f, 0.6f}, false};
    parts = waterReadRects(rightEdge, 0.05f, false, 500, 300, true);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].x0, 0);  // column 0, past the right edge
    EXPECT_EQ(parts[0].x1, 1);
    EXPECT_EQ(parts[1].x1, 500);
    parts = waterReadRects(lowEdge, 0.05f, false, 250, 150, false);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].y0, 0);
    EXPECT_LE(parts[0].x1, 250);

    // Culling narrowed to a part of the viewport leaves out a box that lands
    // only outside it.
    const Box left = boxOf({-6, -1, -11}, {-4, 1, -9});
    const glm::mat4 rightHalf = clipToPart(PixelRect{50, 0, 100, 100}, 100, 100);
    EXPECT_TRUE(outsideClip(rightHalf * lens, left));
    EXPECT_FALSE(outsideClip(rightHalf * lens, boxOf({4, -1, -11}, {6, 1, -9})));
    EXPECT_FALSE(outsideClip(clipToPart(PixelRect{0, 0, 50, 100}, 100, 100) * lens, left));
    EXPECT_EQ(clipToPart(PixelRect{0, 0, 100, 100}, 100, 100), glm::mat4(1.0f));
}

TEST(TerrainBlocks, WaterShowsOnlyWhereTheGroundCannotHideIt) {
    const int n = 9;  // 8 cells a side: squares of 4 cells, 2 x 2 of them
    std::vector<TerrainVertex> vertices(size_t(n) * n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) vertices[size_t(j) * n + i].position = glm::vec3(i, 1, j);
    vertices[size_t(2) * n + 6].position.y = -3;  // inside the square (1, 0)
    vertices[size_t(4) * n + 1].position.y = -1;  // on the edge of squares (0, 0) and (0, 1)
    const std::vector<Box> squares = terrainSquareBoxes(vertices, n, glm::vec3(0), 4);
    ASSERT_EQ(squares.size(), 4u);
    EXPECT_EQ(squares[1].min, glm::vec3(4, -3, 0));
    EXPECT_EQ(squares[2].min, glm::vec3(0, -1, 4));

    // Water at -0.5 seen from 3 units up: it can show where the ground dips
    // below it, never under the square whose ground stays 1.5 above it.
    const glm::mat4 lens = glm::perspective(glm::radians(60.0f), 1.5f, 0.1f, 800.0f);
    const glm::vec3 eye(4, 3, -2);
    std::vector<Box> showing = squaresShowingWater(squares, eye, -0.5f, 0.4f, lens);
    ASSERT_EQ(showing.size(), 3u);
    EXPECT_EQ(showing[0].min, squares[0].min);
    EXPECT_EQ(showing[1].min, squares[1].min);
    EXPECT_EQ(showing[2].min, squares[2].min);
    EXPECT_TRUE(squaresShowingWater(squares, eye, -3.5f, 0.4f, lens).empty());
    // Far away the depth steps are coarse: the ground must lie much farther
    // above the water to hide it, the more so the steeper it is.
    EXPECT_LT(coverDepth(10.0f, 0.4f, lens), 0.06f);
    EXPECT_GT(coverDepth(800.0f, 0.4f, lens), 2.0f);
    EXPECT_LT(coverDepth(800.0f, 0.4f, lens), 5.0f);
    EXPECT_GT(coverDepth(800.0f, 2.0f, lens), coverDepth(800.0f, 0.4f, lens));
    const std::vector<Box> far = {Box{{500, 0.5f, 0}, {504, 0.5f, 4}, false}};
    EXPECT_EQ(squaresShowingWater(far, glm::vec3(400, 3, 0), -0.5f, 0.4f, lens).size(), 0u);
    EXPECT_EQ(squaresShowingWater(far, glm::vec3(-300, 3, 0), -0.5f, 0.4f, lens).size(), 1u);

    // The steepest step between neighbours, over a cell 125 units wide, as a
    // triangle's slope.
    std::vector<std::vector<float>> heights(n, std::vector<float>(n, 1.0f));
    heights[6][2] = -3.0f;
    EXPECT_FLOAT_EQ(steepestGround(heights, n), std::sqrt(2.0f) * 4.0f / 125.0f);
    EXPECT_EQ(steepestGround(heights, 1), 0.0f);
}
