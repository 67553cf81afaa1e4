// The water's arithmetic: the scroll of the distortion, the three clip
// planes, the corners of the surface and the camera mirrored in the water.
#include <gtest/gtest.h>

#include <limits>

#include "camera/Camera.h"
#include "effects/WaterMath.h"

namespace {

void expectVec(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

std::vector<glm::vec3> pathPoints() {
    return {{0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {3, 1, 0}, {4, 1, 0}};
}

// A camera in path mode 3 units above the water at -2, looking down at the lake.
Camera pathCamera() {
    Camera c({10, 1, 5}, nullptr);
    c.controlPoints = pathPoints();
    c.front = glm::normalize(glm::vec3(0.6f, -0.5f, -0.6f));
    c.updateCameraVectors();
    return c;
}

}  // namespace

TEST(WaterMath, MoveFactorWrapsIntoZeroOne) {
    EXPECT_NEAR(advanceMoveFactor(0.985f, 0.025f, 1.0f), 0.01f, 1e-5f);
    EXPECT_NEAR(advanceMoveFactor(0.25f, 0.025f, 2.0f), 0.3f, 1e-6f);
    // A long first frame (all of start-up) wraps more than once.
    EXPECT_NEAR(advanceMoveFactor(0.0f, 0.025f, 90.0f), 0.25f, 1e-5f);
    // Landing exactly on 1 gives 0, never 1.
    EXPECT_EQ(advanceMoveFactor(0.5f, 0.25f, 2.0f), 0.0f);
}

TEST(WaterMath, MoveFactorStillForZeroStepAndSafeForBadSteps) {
    EXPECT_EQ(advanceMoveFactor(0.375f, 0.025f, 0.0f), 0.375f);
    // A clock running backwards by a hair must not yield exactly 1.
    const float back = advanceMoveFactor(0.0f, 0.025f, -1e-9f);
    EXPECT_GE(back, 0.0f);
    EXPECT_LT(back, 1.0f);
    EXPECT_EQ(advanceMoveFactor(0.5f, 0.025f, std::numeric_limits<float>::infinity()), 0.5f);
    EXPECT_EQ(advanceMoveFactor(0.5f, 0.025f, std::numeric_limits<float>::quiet_NaN()), 0.5f);
}

TEST(WaterMath, ClipPlanesKeepTheRightSideOfTheWater) {
    const float h = -2.0f;
    EXPECT_EQ(reflectionClipPlane(h), glm::vec4(0, 1, 0, 2));
    EXPECT_EQ(refractionClipPlane(h), glm::vec4(0, -1, 0, -1.95f));
    EXPECT_EQ(disabledClipPlane(), glm::vec4(0, 1, 0, 10000));
    // The shaders keep a point where dot(plane, (p, 1)) >= 0.
    auto kept = [](glm::vec4 plane, float y) {
        return glm::dot(plane, glm::vec4(0, y, 0, 1)) >= 0;
    };
    EXPECT_TRUE(kept(reflectionClipPlane(h), -1.9f));
    EXPECT_FALSE(kept(reflectionClipPlane(h), -2.1f));
    EXPECT_TRUE(kept(refractionClipPlane(h), -1.96f));
    EXPECT_FALSE(kept(refractionClipPlane(h), -1.9f));
    EXPECT_TRUE(kept(disabledClipPlane(), -5.0f));
    EXPECT_TRUE(kept(disabledClipPlane(), 500.0f));
}

TEST(WaterMath, CornersTakeTheirOwnHalfExtents) {
    const auto c = waterCorners({{{1, 2}, {3, 4}, {5, 6}, {7, 8}}});
    expectVec(c[0], {-1, 0, -2}, 0.0f);
    expectVec(c[1], {3, 0, -4}, 0.0f);
    expectVec(c[2], {-5, 0, 6}, 0.0f);
    expectVec(c[3], {7, 0, 8}, 0.0f);
    // Triangles 0-2-1 and 2-3-1 of the lake face up (counter-clockwise from above).
    const auto lake = waterCorners({{{500, 500}, {500, 500}, {500, 500}, {500, 500}}});
    EXPECT_GT(glm::cross(lake[2] - lake[0], lake[1] - lake[0]).y, 0.0f);
    EXPECT_GT(glm::cross(lake[3] - lake[2], lake[1] - lake[2]).y, 0.0f);
}

TEST(WaterMath, MirroredPathCameraLooksUpFromBelowTheWater) {
    Camera c = pathCamera();
    const Camera before = c;
    const glm::vec3 saved = mirrorCamera(c, -2.0f);
    EXPECT_EQ(saved, before.position);
    expectVec(c.position, {10, -5, 5}, 0.0f);
    expectVec(c.front, {before.front.x, -before.front.y, before.front.z}, 0.0f);
    // The mirrored axes belong to the mirrored direction.
    EXPECT_NEAR(glm::dot(c.up, c.front), 0.0f, 1e-6f);
    EXPECT_GT(c.up.y, 0.0f);
    expectVec(c.right, before.right);

    // A point on the water is seen in the same direction from both eyes
    // except for the sign of y, so the reflection lines up with the surface.
    const glm::vec3 onWater(14, -2, 1);
    const glm::vec3 a = glm::normalize(onWater - before.position);
    const glm::vec3 b = glm::normalize(onWater - c.position);
    expectVec(b, {a.x, -a.y, a.z});
}

TEST(WaterMath, RestoredPathCameraIsTheOneBeforeTheMirror) {
    Camera c = pathCamera();
    const Camera before = c;
    restoreFromMirror(c, mirrorCamera(c, -2.0f));
    EXPECT_EQ(c.position, before.position);
    expectVec(c.front, before.front, 0.0f);
    expectVec(c.right, before.right);
    expectVec(c.up, before.up);
}

TEST(WaterMath, RestoredTurningCameraHasTurnedThreeSteps) {
    Camera c({0, 3, 2}, nullptr);
    c.front = glm::normalize(glm::vec3(0, -0.3f, -1));
    c.turnStep = 5.0f;
    c.updateCameraVectors();
    Camera reference = c;
    for (int i = 0; i < 3; ++i) reference.updateCameraVectors();

    restoreFromMirror(c, mirrorCamera(c, -2.0f));
    EXPECT_EQ(c.position, glm::vec3(0, 3, 2));
    expectVec(c.front, reference.front, 1e-6f);
    expectVec(c.right, reference.right, 1e-6f);
    expectVec(c.up, reference.up, 1e-6f);
}

TEST(WaterMath, FreeCameraMirrorsItsPitchAndGetsItBack) {
    Camera c({0, 4, 0}, nullptr);
    c.freeMode = true;
    c.yaw = 30.0f;
    c.pitch = -20.0f;
    c.updateCameraVectors();
    const Camera before = c;

    const glm::vec3 saved = mirrorCamera(c, -2.0f);
    EXPECT_EQ(c.pitch, 20.0f);
    expectVec(c.front, {before.front.x, -before.front.y, before.front.z}, 1e-6f);
    EXPECT_GT(c.front.y, 0.0f);

    restoreFromMirror(c, saved);
    EXPECT_EQ(c.pitch, -20.0f);
    EXPECT_EQ(c.position, before.position);
    expectVec(c.front, before.front, 1e-6f);
    expectVec(c.up, before.up, 1e-6f);
}
