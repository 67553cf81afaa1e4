#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/Globals.h"
#include "lighting/DirectionalLight.h"
#include "lighting/LightMath.h"
#include "lighting/LightReach.h"
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

namespace {

// A cube of side 2 centred at `centre`.
Box cubeAt(glm::vec3 centre) {
    Box box;
    box.add(centre - glm::vec3(1.0f));
    box.add(centre + glm::vec3(1.0f));
    return box;
}

// What the shaders' strength test gives at `distance`: true where the light
// still adds something.
bool shaderKeeps(const LightValues& light, float distance) {
    const float fade = 1.0f / std::max(light.constant + light.linear * distance +
                                           light.quadratic * distance * distance,
                                       1e-4f);
    const glm::vec3 sum = light.ambient + light.diffuse + light.specular;
    return fade * std::max(sum.r, std::max(sum.g, sum.b)) >= kNegligibleLight;
}

LightValues lampLight(glm::vec3 position) {
    LightValues light;
    light.position = position;
    light.ambient = glm::vec3(0.22f);
    light.diffuse = {0.15f, 0.25f, 0.3f};
    light.specular = glm::vec3(1.0f);
    light.constant = 0.0f;
    light.linear = 0.2f;
    light.quadratic = 0.1f;
    return light;
}

}  // namespace

// A light is left out of a draw only where the shaders would add exactly
// nothing from it: too faint at the box's nearest point, outside the spot's
// cone with no ambient term, or a sun behind every normal of the box.
TEST(LightReach, LightsAreLeftOutOnlyWhereTheShadersAddNothing) {
    const LightValues lamp = lampLight({0, -100, 0});
    bool near = false, far = false;
    for (float d = 0.0f; d < 400.0f; d += 5.0f) {
        const Box box = cubeAt({d + 1.0f, -100, 0});  // nearest point d from the light
        if (pointLightReaches(lamp, box)) {
            near = true;
        } else {
            far = true;
            EXPECT_FALSE(shaderKeeps(lamp, d)) << d;
            EXPECT_FALSE(shaderKeeps(lamp, std::max(d - 0.4f, 0.0f))) << d;
        }
    }
    EXPECT_TRUE(near && far);
    LightValues growing = lamp;
    growing.linear = -0.2f;  // no longer fades with distance
    EXPECT_TRUE(pointLightReaches(growing, cubeAt({900, 0, 0})));
    EXPECT_FALSE(pointLightReaches(lamp, Box()));

    // The scene's spot, parked below the lake and pointing down with an outer
    // cone of 100 degrees: the ground around is above its cone's edge, the
    // far edge of the world is not.
    LightValues spot;
    spot.position = {0, -100, 0};
    spot.diffuse = spot.specular = glm::vec3(1.0f);
    spot.constant = 1.0f;
    spot.linear = spot.quadratic = 0.001f;
    spot.direction = {0, -1, 0};
    spot.outerCosine = coneCosine(100.0f);
    Box ground;
    ground.add({250, -5, -30});
    ground.add({310, 12, 30});
    EXPECT_FALSE(spotLightReaches(spot, ground));
    for (glm::vec3 p : {ground.min, ground.max, glm::vec3(250, 12, 30), glm::vec3(310, -5, -30)}) {
        const glm::vec3 out = glm::normalize(p - spot.position);
        EXPECT_LT(glm::dot(out, spot.direction), spot.outerCosine);  // outside: no light
    }
    EXPECT_TRUE(spotLightReaches(spot, cubeAt({650, 0, 0})));
    LightValues glowing = spot;
    glowing.ambient = glm::vec3(0.01f);
    EXPECT_TRUE(spotLightReaches(glowing, ground));
    // A narrow cone reaches what lies along its axis, not what lies aside.
    LightValues narrow = spot;
    narrow.outerCosine = coneCosine(30.0f);
    EXPECT_TRUE(spotLightReaches(narrow, cubeAt({5, -150, 0})));
    EXPECT_FALSE(spotLightReaches(narrow, cubeAt({80, -110, 0})));

    // The sun's shadow lookup: only where the sun, set and bright enough,
    // can face some normal of the box.
    Box upwards;
    upwards.add(glm::normalize(glm::vec3(-0.1f, 1, -0.1f)));
    upwards.add(glm::normalize(glm::vec3(0.1f, 1, 0.1f)));
    const glm::vec3 colour(0.15f, 0.25f, 0.3f), shine(0.5f);
    EXPECT_TRUE(sunShadowMatters({-1, -1, 0}, colour, shine, upwards));     // by day
    EXPECT_FALSE(sunShadowMatters({-1, 0.3f, 0}, colour, shine, upwards));  // below the horizon
    EXPECT_TRUE(sunShadowMatters({-1, 0.05f, 0}, colour, shine, upwards));  // a slope faces it
    EXPECT_FALSE(sunShadowMatters({0, 0, 0}, colour, shine, upwards));      // not set yet
    EXPECT_FALSE(sunShadowMatters({-1, -1, 0}, kZero, kZero, upwards));     // no light
}
