#include <gtest/gtest.h>

#include <vector>

#include "core/Globals.h"
#include "lighting/DirectionalLight.h"
#include "lighting/LightMath.h"
#include "lighting/PointLight.h"
#include "lighting/SpotLight.h"

// With an empty shader list a light makes no GL call at all, so these tests run
// without a context: a stray upload would call through a null GL entry point.

namespace {

const glm::vec3 kZero(0.0f);
const glm::vec3 kOne(1.0f);

void expectVecNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class LightMath : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sceneShaders.empty());
        ASSERT_EQ(DirectionalLight::count, 0);
        ASSERT_EQ(PointLight::count, 0);
        ASSERT_EQ(SpotLight::count, 0);
    }
};

SpotLight makeSpot(float inner, float outer) {
    return SpotLight(kZero, kZero, kZero, kOne, kOne, glm::vec3(0, -1, 0), 1.0f, 0.001f, 0.001f,
                     inner, outer);
}

}  // namespace

TEST_F(LightMath, ElementNamesFollowCreationOrderPerKind) {
    EXPECT_EQ(lightElementName(kPointLightPrefix, 12), "pointLights[12]");

    DirectionalLight sun(kZero, kZero, kZero, kZero, kZero, glm::vec3(-1, -1, 0));
    PointLight first(kZero, kZero, kZero, kZero, 0.0f, 0.2f, 0.1f);
    {
        PointLight second(kZero, kZero, kZero, kZero, 0.0f, 0.2f, 0.1f);
        SpotLight spot = makeSpot(40.0f, 100.0f);
        EXPECT_EQ(sun.name, "directionalLights[0]");
        EXPECT_EQ(first.name, "pointLights[0]");
        EXPECT_EQ(second.name, "pointLights[1]");
        EXPECT_EQ(second.index, 1);
        EXPECT_EQ(spot.name, "spotLights[0]");
        EXPECT_EQ(PointLight::count, 2);
        EXPECT_EQ(SpotLight::count, 1);
    }
    // Destroyed lights give their place in the count back.
    EXPECT_EQ(PointLight::count, 1);
    EXPECT_EQ(SpotLight::count, 0);
    PointLight third(kZero, kZero, kZero, kZero, 0.0f, 0.2f, 0.1f);
    EXPECT_EQ(third.name, "pointLights[1]");
}

TEST_F(LightMath, DirectionsTurnTheBaseDirectionXThenYThenZ) {
    expectVecNear(directionFromRotation(glm::vec3(0, 1.5707964f, 0), glm::vec3(1, 0, 0)),
                  glm::vec3(0, 0, -1));
    // x first takes +y to +z, then y takes +z to +x; the other order would give +z.
    expectVecNear(directionFromRotation(glm::vec3(1.5707964f, 1.5707964f, 0), glm::vec3(0, 1, 0)),
                  glm::vec3(1, 0, 0));
    // z last: +x about y by 0 stays, then about z by 90 degrees goes to +y.
    expectVecNear(directionFromRotation(glm::vec3(0, 0, 1.5707964f), glm::vec3(1, 0, 0)),
                  glm::vec3(0, 1, 0));
}

TEST_F(LightMath, RotationAlwaysStartsFromTheBaseDirection) {
    DirectionalLight sun(kZero, glm::vec3(0, 90, 0), kZero, kZero, kZero, glm::vec3(1, 0, 0));
    EXPECT_NEAR(sun.rotation.y, 1.5707964f, 1e-7f);
    expectVecNear(sun.direction, glm::vec3(0, 0, -1));

    sun.setDirection(glm::vec3(5, 5, 5));   // a direction set by hand does not feed rotation
    sun.rotate(glm::vec3(0, 90, 0), 0.5f);  // now 135 degrees about y
    expectVecNear(sun.direction, glm::vec3(-0.70710678f, 0, -0.70710678f));

    sun.setRotation(glm::vec3(0, 0, 0));
    expectVecNear(sun.direction, glm::vec3(1, 0, 0));
    sun.changeDirection(glm::vec3(0, 1, 0), 2.0f);
    expectVecNear(sun.direction, glm::vec3(1, 2, 0));

    SpotLight spot = makeSpot(40.0f, 100.0f);
    expectVecNear(spot.direction, glm::vec3(0, -1, 0));
    spot.rotate(glm::vec3(90, 0, 0), 1.0f);  // -y about x by 90 degrees gives -z
    expectVecNear(spot.direction, glm::vec3(0, 0, -1));
}

TEST_F(LightMath, OperationsAKindDoesNotHaveChangeNothing) {
    DirectionalLight sun(kZero, kZero, kZero, kZero, kZero, glm::vec3(-1, -1, 0));
    EXPECT_EQ(sun.constant, 1.0f);
    EXPECT_EQ(sun.linear, 0.0f);
    EXPECT_EQ(sun.quadratic, 0.0f);
    sun.setConstant(7.0f);
    sun.setLinear(7.0f);
    sun.setQuadratic(7.0f);
    sun.changeConstant(1.0f, 2.0f);
    sun.changeLinear(1.0f, 2.0f);
    sun.changeQuadratic(1.0f, 2.0f);
    EXPECT_EQ(sun.constant, 1.0f);
    EXPECT_EQ(sun.linear, 0.0f);
    EXPECT_EQ(sun.quadratic, 0.0f);

    PointLight lamp(glm::vec3(1, 2, 3), kZero, kZero, kZero, 0.0f, 0.2f, 0.1f);
    lamp.setRotation(glm::vec3(10, 20, 30));
    lamp.rotate(glm::vec3(10, 20, 30), 1.0f);
    EXPECT_EQ(lamp.rotation, kZero);

    // ...while the ones it has act, scaled by their factor.
    lamp.changeConstant(0.5f, 2.0f);
    lamp.move(glm::vec3(1, 0, -1), 3.0f);
    lamp.changeDiffuse(glm::vec3(0.1f, 0.2f, 0.3f), 1.0f);
    EXPECT_FLOAT_EQ(lamp.constant, 1.0f);
    expectVecNear(lamp.position, glm::vec3(4, 2, 0));
    expectVecNear(lamp.diffuse, glm::vec3(0.1f, 0.2f, 0.3f));
}

TEST_F(LightMath, ConeAnglesKeepInnerAtMostOuter) {
    // Construction raises the outer angle, never lowers the inner one.
    SpotLight wide = makeSpot(40.0f, 30.0f);
    EXPECT_EQ(wide.innerAngle, 40.0f);
    EXPECT_EQ(wide.outerAngle, 40.0f);

    SpotLight spot = makeSpot(10.0f, 45.0f);
    spot.setInnerAngle(50.0f);
    EXPECT_EQ(spot.innerAngle, 45.0f);
    EXPECT_EQ(spot.outerAngle, 45.0f);
    spot.setInnerAngle(20.0f);
    spot.setOuterAngle(5.0f);  // below inner: held at inner
    EXPECT_EQ(spot.outerAngle, 20.0f);
    spot.changeOuterAngle(10.0f, 3.0f);
    EXPECT_EQ(spot.outerAngle, 50.0f);
    spot.changeInnerAngle(-5.0f, 2.0f);
    EXPECT_EQ(spot.innerAngle, 10.0f);
    spot.changeInnerAngle(100.0f, 1.0f);
    EXPECT_EQ(spot.innerAngle, 50.0f);
    EXPECT_EQ(spot.outerAngle, 50.0f);

    // Cones travel as cosines.
    EXPECT_NEAR(coneCosine(45.0f), 0.7071068f, 1e-7f);
    EXPECT_NEAR(coneCosine(100.0f), -0.17364818f, 1e-7f);
    EXPECT_EQ(coneCosine(0.0f), 1.0f);
}
