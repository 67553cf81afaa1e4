#include <gtest/gtest.h>

#include "camera/Projection.h"

namespace {

// Every entry not listed must be exactly zero.
void expectOnlyPerspectiveEntries(const glm::mat4& m) {
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            const bool used =
                (col == row && col < 3) || (col == 2 && row == 3) || (col == 3 && row == 2);
            if (!used) {
                EXPECT_EQ(m[col][row], 0.0f) << "[" << col << "][" << row << "]";
            }
        }
}

}  // namespace

TEST(Projection, ScreenLensAt1080x720) {
    const glm::mat4 m = screenProjection(1080, 720);
    EXPECT_NEAR(m[0][0], 1.0f / (1.5f * 0.4738147f), 1e-5f);
    EXPECT_NEAR(m[1][1], 2.1105297f, 1e-5f);
    EXPECT_NEAR(m[2][2], -1.00025f, 1e-6f);
    EXPECT_EQ(m[2][3], -1.0f);
    EXPECT_NEAR(m[3][2], -0.200025f, 1e-6f);
    expectOnlyPerspectiveEntries(m);

    // Only the horizontal scale depends on the window shape.
    const glm::mat4 wide = screenProjection(1920, 1080);
    EXPECT_NEAR(wide[0][0], 1.0f / ((1920.0f / 1080.0f) * 0.4738147f), 1e-5f);
    EXPECT_EQ(wide[1][1], m[1][1]);

    // Points on the near and far planes land on clip depth -1 and +1.
    const glm::vec4 nearPoint = m * glm::vec4(0, 0, -0.1f, 1);
    const glm::vec4 farPoint = m * glm::vec4(0, 0, -800.0f, 1);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, 1e-4f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-4f);
}

TEST(Projection, CaptureLensIsNinetyDegreesSquare) {
    const glm::mat4 m = captureProjection();
    EXPECT_EQ(m[0][0], 1.0f);
    EXPECT_EQ(m[1][1], 1.0f);
    EXPECT_NEAR(m[2][2], -1.00025f, 1e-6f);
    EXPECT_NEAR(m[3][2], -0.200025f, 1e-6f);
    expectOnlyPerspectiveEntries(m);
}

TEST(Projection, ADegenerateWindowSizeGivesAFiniteLens) {
    for (auto size : {std::pair<int, int>{1080, 0}, {0, 0}, {-5, 720}}) {
        const glm::mat4 m = screenProjection(size.first, size.second);
        EXPECT_NEAR(m[0][0], m[1][1], 1e-6f);  // aspect 1
    }
}
