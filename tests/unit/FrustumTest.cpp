#include <gtest/gtest.h>

#include "scene/Frustum.h"

namespace {

void expectVec(const glm::vec3& actual, const glm::vec3& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The program's culling volume at 1080 x 720, eye at the origin looking down -z.
Frustum programFrustumAtOrigin() {
    Frustum f(90.0f, 1080.0f / 720.0f, 0.1f, 800.0f);
    f.update(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(1, 0, 0), glm::vec3(0, 1, 0));
    return f;
}

}  // namespace

TEST(Frustum, ExtentsCornersAndPlanesOfTheProgramsVolume) {
    Frustum f = programFrustumAtOrigin();
    EXPECT_NEAR(f.tangent, 1.0f, 1e-6);
    EXPECT_NEAR(f.nearHalfHeight, 0.1f, 1e-7);
    EXPECT_NEAR(f.nearHalfWidth, 0.15f, 1e-7);
    EXPECT_NEAR(f.farHalfHeight, 800.0f, 1e-3);
    EXPECT_NEAR(f.farHalfWidth, 1200.0f, 1e-3);

    expectVec(f.nearTopLeft, {-0.15f, 0.1f, -0.1f}, 1e-6f);
    expectVec(f.nearBottomRight, {0.15f, -0.1f, -0.1f}, 1e-6f);
    expectVec(f.farTopRight, {1200.0f, 800.0f, -800.0f}, 1e-3f);
    expectVec(f.farBottomLeft, {-1200.0f, -800.0f, -800.0f}, 1e-3f);

    expectVec(f.planes[Frustum::Top].normal, {0.0f, -239.97f, -239.97f}, 1e-2f);
    expectVec(f.planes[Frustum::Near].normal, {0.0f, 0.0f, -0.06f}, 1e-6f);
    expectVec(f.planes[Frustum::Top].point, f.nearTopLeft, 0.0f);

    // Every normal points inwards: a point on the axis and the centroid of
    // the corners are inside all six planes.
    const glm::vec3 centroid =
        (f.nearTopLeft + f.nearTopRight + f.nearBottomLeft + f.nearBottomRight + f.farTopLeft +
         f.farTopRight + f.farBottomLeft + f.farBottomRight) /
        8.0f;
    for (int i = 0; i < 6; ++i) {
        EXPECT_GT(f.planes[i].value(glm::vec3(0, 0, -10)), 0.0f) << "plane " << i;
        EXPECT_GT(f.planes[i].value(centroid), 0.0f) << "plane " << i;
    }
}

TEST(Frustum, RejectionIsStrictAndScaledByTheRawNormal) {
    // 90 degrees, square, near 1, far 3: small integers keep every value exact.
    Frustum f(90.0f, 1.0f, 1.0f, 3.0f);
    f.update(glm::vec3(0.0f), glm::vec3(0, 0, -1), glm::vec3(1, 0, 0), glm::vec3(0, 1, 0));
    expectVec(f.planes[Frustum::Top].normal, {0.0f, -4.0f, -4.0f}, 0.0f);

    // Top plane value at (0, 2, -1) is -4: exactly -radius stays inside.
    const glm::vec3 above(0.0f, 2.0f, -1.0f);
    ASSERT_EQ(f.planes[Frustum::Top].value(above), -4.0f);
    EXPECT_TRUE(f.containsSphere(above, 4.0f));
    EXPECT_FALSE(f.containsSphere(above, 3.999f));
}

TEST(Frustum, FarAndNearPlanesWithTheProgramsSettings) {
    Frustum f = programFrustumAtOrigin();
    EXPECT_TRUE(f.containsSphere({0, 0, -799}, 5.0f));
    // One unit past the far plane: the raw far normal makes the value huge.
    EXPECT_LT(f.planes[Frustum::Far].value({0, 0, -801}), -1e6f);
    EXPECT_FALSE(f.containsSphere({0, 0, -801}, 5.0f));
    // The side planes meet at the eye, so they reject what lies behind it...
    EXPECT_FALSE(f.containsSphere({0, 0, 1}, 1.0f));
    // ...while a sphere around the eye straddles them and the near plane.
    EXPECT_TRUE(f.containsSphere({0, 0, 0}, 0.5f));
    // A sphere far off to the side is rejected by a side plane.
    EXPECT_FALSE(f.containsSphere({500, 0, -10}, 20.0f));
}

TEST(Frustum, FollowsTheEyePositionAndAxes) {
    Frustum f(90.0f, 1.5f, 0.1f, 800.0f);
    const glm::vec3 eye(5, 3, 2);
    // Looking along +x: right = front x up = +z.
    f.update(eye, glm::vec3(1, 0, 0), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0));
    expectVec(f.nearTopLeft, eye + glm::vec3(0.1f, 0.1f, -0.15f), 1e-6f);
    EXPECT_TRUE(f.containsSphere(eye + glm::vec3(50, 0, 0), 1.0f));
    EXPECT_FALSE(f.containsSphere(eye + glm::vec3(-50, 0, 0), 1.0f));
    EXPECT_FALSE(f.containsSphere(eye + glm::vec3(10, 0, 100), 1.0f));
    EXPECT_FALSE(f.containsSphere(eye + glm::vec3(10, 100, 0), 1.0f));
}

TEST(Frustum, BeforeTheFirstUpdateNothingIsRejected) {
    Frustum f(90.0f, 1.5f, 0.1f, 800.0f);
    EXPECT_EQ(f.nearTopLeft, glm::vec3(0.0f));
    EXPECT_TRUE(f.containsSphere({0, 0, 5000}, 1.0f));
    EXPECT_TRUE(f.containsSphere({-3000, 7, 2}, 0.0f));
}
