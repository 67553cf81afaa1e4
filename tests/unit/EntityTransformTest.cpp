#include <gtest/gtest.h>

#include "scene/Entity.h"
#include "scene/Transform.h"

namespace {

void expectVecNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

glm::vec3 apply(const glm::mat4& m, glm::vec3 point) {
    return glm::vec3(m * glm::vec4(point, 1));
}

const glm::vec3 kUnit(1.0f);

}  // namespace

TEST(EntityTransform, ModelMatrixScalesThenTurnsXYZThenMoves) {
    const float quarter = 1.5707964f;
    // Scale 2 along x only, then x (no effect on +x), then y by 90 (+x to -z),
    // then z by 90 (-z stays), then move.
    const glm::mat4 m =
        modelMatrixOf(glm::vec3(10, 20, 30), glm::vec3(quarter, quarter, 0), glm::vec3(2, 1, 1));
    expectVecNear(apply(m, glm::vec3(1, 0, 0)), glm::vec3(10, 20, 28));
    // +y: x by 90 takes it to +z, y by 90 takes +z to +x.
    expectVecNear(apply(m, glm::vec3(0, 1, 0)), glm::vec3(11, 20, 30));
    // Translation sits in the last column of a column-major matrix.
    EXPECT_EQ(m[3], glm::vec4(10, 20, 30, 1));

    // z is applied after y: +x about y by 90 is -z, about z it stays -z; in the
    // other order +x would first become +y and stay there.
    const glm::mat4 yz = modelMatrixOf(glm::vec3(0), glm::vec3(0, quarter, quarter), kUnit);
    expectVecNear(apply(yz, glm::vec3(1, 0, 0)), glm::vec3(0, 0, -1));
}

TEST(EntityTransform, BoatYawIsStoredInRadiansAndTurnsXOntoZ) {
    Entity boat(nullptr, glm::vec3(105, -2.5f, 10), glm::vec3(0, -90, 0), glm::vec3(0.065f), 20);
    EXPECT_EQ(boat.rotation.y, -1.5707964f);
    EXPECT_EQ(boat.rotation.x, 0.0f);
    EXPECT_EQ(boat.getRadius(), 20.0f);
    // The constructor already computed the matrix: model +x points to world +z.
    expectVecNear(apply(boat.modelMatrix, glm::vec3(1, 0, 0)) - boat.position,
                  glm::vec3(0, 0, 0.065f));
    expectVecNear(apply(boat.modelMatrix, glm::vec3(0)), glm::vec3(105, -2.5f, 10));
}

TEST(EntityTransform, RotationRoundTripsThroughDegrees) {
    Entity e(nullptr, glm::vec3(0), glm::vec3(0), kUnit, 1);
    e.setRotation(90, 0, 0);
    expectVecNear(e.getRotation(), glm::vec3(90, 0, 0), 1e-4f);
    e.increaseRotation(10, -20, 5, 2.0f);
    expectVecNear(e.getRotation(), glm::vec3(110, -40, 10), 1e-4f);
}

TEST(EntityTransform, MoversScaleByTheirFactorAndScaleStopsAtZero) {
    Entity e(nullptr, glm::vec3(1, 2, 3), glm::vec3(0), glm::vec3(2, 1, 1), 1);
    e.decreasePosition(1, 0, 0, 2.0f);
    expectVecNear(e.getPosition(), glm::vec3(-1, 2, 3));
    e.increasePosition(0, 1, -1, 0.5f);
    expectVecNear(e.getPosition(), glm::vec3(-1, 2.5f, 2.5f));

    e.increaseScale(-1, 0, 0, 5.0f);  // x would be -3
    EXPECT_EQ(e.getScale(), glm::vec3(0, 1, 1));
    e.increaseScale(1, -0.5f, 0, 1.0f);
    EXPECT_EQ(e.getScale(), glm::vec3(1, 0.5f, 1));

    expectVecNear(clampScale(glm::vec3(-0.0001f, 3, -7)), glm::vec3(0, 3, 0));
}

TEST(EntityTransform, SettersLeaveTheMatrixUntilItIsRecomputed) {
    Entity e(nullptr, glm::vec3(1, 2, 3), glm::vec3(0), kUnit, 1);
    const glm::mat4 before = e.modelMatrix;
    e.setPosition(glm::vec3(7, 8, 9));
    e.setScale(glm::vec3(3));
    e.setRotation(0, 45, 0);
    EXPECT_EQ(e.modelMatrix, before);
    e.updateModelMatrix();
    EXPECT_EQ(e.modelMatrix, modelMatrixOf(glm::vec3(7, 8, 9), e.rotation, glm::vec3(3)));
}
