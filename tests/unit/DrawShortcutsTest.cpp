// The arithmetic behind the passes' shortcuts: what they leave out must be
// exactly what cannot be drawn.
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "effects/TerrainGrid.h"
#include "render/ScreenRect.h"

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
