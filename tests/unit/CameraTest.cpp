#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "camera/Camera.h"
#include "scene/Frustum.h"

namespace {

void expectVec(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectSameVectors(const Camera& a, const Camera& b) {
    EXPECT_EQ(a.front, b.front);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.up, b.up);
}

std::vector<glm::vec3> points(int n) {
    std::vector<glm::vec3> p;
    for (int i = 0; i < n; ++i) p.emplace_back(i, 1, -i);
    return p;
}

}  // namespace

TEST(Camera, FreshCameraLooksDownMinusZWithIdentityView) {
    Camera c({0, 3, 2}, nullptr);
    expectVec(c.position, {0, 3, 2}, 0.0f);
    expectVec(c.front, {0, 0, -1}, 0.0f);
    expectVec(c.right, {1, 0, 0}, 0.0f);
    expectVec(c.up, {0, 1, 0}, 0.0f);
    EXPECT_EQ(c.view, glm::mat4(1.0f));
    EXPECT_FALSE(c.freeMode);
    EXPECT_TRUE(c.controlPoints.empty());
    EXPECT_TRUE(c.inTurnMode());
}

TEST(Camera, ThreePointsTurnFourPointsFlyTheFlagFreesIt) {
    Camera c({0, 0, 0}, nullptr);
    c.controlPoints = points(3);
    EXPECT_TRUE(c.inTurnMode());
    EXPECT_FALSE(c.inPathMode());
    c.controlPoints = points(4);
    EXPECT_TRUE(c.inPathMode());
    EXPECT_FALSE(c.inTurnMode());
    c.freeMode = true;
    EXPECT_FALSE(c.inPathMode());
    EXPECT_FALSE(c.inTurnMode());
}

TEST(Camera, TurnModeTurnsOnEveryCallFromPlusXTowardsPlusZ) {
    Camera c({0, 0, 0}, nullptr);
    c.controlPoints = points(3);
    // Each call turns by turnStep x 0.017453292 radians, here 10 degrees.
    const float tenDegrees = 10.0f;
    c.turnStep = tenDegrees;
    const double theta = tenDegrees * 0.017453292;
    c.updateCameraVectors();
    // From heading -90 degrees (front -z) the heading grows: x turns positive.
    expectVec(c.front, {float(std::sin(theta)), 0.0f, float(-std::cos(theta))});
    c.updateCameraVectors();
    expectVec(c.front, {float(std::sin(2 * theta)), 0.0f, float(-std::cos(2 * theta))});
    // right and up follow the turned front.
    expectVec(c.right, {float(std::cos(2 * theta)), 0.0f, float(std::sin(2 * theta))});
    expectVec(c.up, {0, 1, 0});

    // A quarter turn (turnStep 90) from -z ends on +x; the y part is kept.
    Camera q({0, 0, 0}, nullptr);
    q.front = glm::vec3(0.0f, 0.5f, -1.0f);
    q.turnStep = 90.0f;
    q.updateCameraVectors();
    expectVec(q.front, {1.0f, 0.5f, 0.0f});
}

TEST(Camera, PathAndFreeModesGiveTheSameVectorsOnRepeatedCalls) {
    Camera path({0, 0, 0}, nullptr);
    path.controlPoints = points(4);
    path.turnStep = 30.0f;  // ignored outside turn mode
    path.front = glm::normalize(glm::vec3(1, -0.2f, 0.5f));
    path.updateCameraVectors();
    const Camera once = path;
    path.updateCameraVectors();
    path.updateCameraVectors();
    expectSameVectors(path, once);

    Camera free({0, 0, 0}, nullptr);
    free.freeMode = true;
    free.turnStep = 30.0f;
    free.yaw = 0.0f;
    free.pitch = 0.0f;
    free.updateCameraVectors();
    expectVec(free.front, {1, 0, 0});
    expectVec(free.right, {0, 0, 1});
    const Camera first = free;
    free.updateCameraVectors();
    expectSameVectors(free, first);

    free.yaw = 90.0f;
    free.updateCameraVectors();
    expectVec(free.front, {0, 0, 1});
}

TEST(Camera, CubeFacesGiveTheUsualFaceOrientation) {
    struct Face {
        glm::vec3 front;
        glm::vec3 up;
    };
    const Face expected[6] = {
        {{1, 0, 0}, {0, -1, 0}},  {{-1, 0, 0}, {0, -1, 0}}, {{0, 1, 0}, {0, 0, 1}},
        {{0, -1, 0}, {0, 0, -1}}, {{0, 0, 1}, {0, -1, 0}},  {{0, 0, -1}, {0, -1, 0}},
    };
    Camera c({0, 0, 0}, nullptr);
    c.freeMode = true;
    c.controlPoints.clear();
    for (int face = 0; face < 6; ++face) {
        SCOPED_TRACE(face);
        c.setCubeFace(face);
        expectVec(c.worldUp, {0, -1, 0}, 0.0f);
        expectVec(c.front, expected[face].front);
        expectVec(c.up, expected[face].up);
        // A cube face is a right-handed view: right = front x up.
        expectVec(c.right, glm::cross(c.front, c.up));
    }
    c.setCubeFace(2);
    expectVec(c.right, {1, 0, 0});
    c.setCubeFace(3);
    expectVec(c.right, {1, 0, 0});

    // An index outside 0..5 changes nothing.
    const Camera before = c;
    c.setCubeFace(6);
    c.setCubeFace(-1);
    EXPECT_EQ(c.yaw, before.yaw);
    EXPECT_EQ(c.pitch, before.pitch);
    expectSameVectors(c, before);
}

TEST(Camera, FrontAlongWorldUpKeepsThePreviousAxes) {
    Camera c({0, 0, 0}, nullptr);
    c.controlPoints = points(4);  // path mode: front is left as set
    c.front = glm::vec3(0, 1, 0);
    c.updateCameraVectors();
    expectVec(c.right, {1, 0, 0}, 0.0f);
    expectVec(c.up, {0, 1, 0}, 0.0f);
    c.front = glm::vec3(0.0f);
    c.updateCameraVectors();
    EXPECT_TRUE(std::isfinite(c.right.x) && std::isfinite(c.up.y));
}

TEST(Camera, UpdateBuildsTheViewAndRefreshesTheFrustum) {
    Frustum frustum(90.0f, 1.5f, 0.1f, 800.0f);
    Camera c({0, 3, 2}, &frustum);
    c.controlPoints = points(4);
    c.front = glm::normalize(glm::vec3(1, 0, -1));
    c.update();
    // right and up were derived from the new front before the view was built.
    expectVec(c.right, glm::normalize(glm::vec3(1, 0, 1)));
    EXPECT_EQ(c.view, glm::lookAt(c.position, c.position + c.front, c.up));
    // The view maps the eye to the origin and the front to -z.
    const glm::vec4 ahead = c.view * glm::vec4(c.position + c.front * 5.0f, 1.0f);
    expectVec(glm::vec3(ahead), {0, 0, -5}, 1e-5f);
    // The frustum now sits at the camera.
    expectVec(frustum.nearTopLeft, c.position + c.front * 0.1f + c.up * 0.1f - c.right * 0.15f);
    EXPECT_TRUE(frustum.containsSphere(c.position + c.front * 50.0f, 1.0f));
    EXPECT_FALSE(frustum.containsSphere(c.position - c.front * 50.0f, 1.0f));

    // applyView without a shader still rebuilds view from the current fields
    // (no vector update).
    c.position = glm::vec3(7, 1, -4);
    c.applyView(nullptr);
    EXPECT_EQ(c.view, glm::lookAt(c.position, c.position + c.front, c.up));
}
