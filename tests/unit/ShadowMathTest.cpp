// The light's view and box: where the scene lands in the depth map.
#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_access.hpp>
#include <vector>

#include "app/DayCycle.h"
#include "lighting/ShadowMath.h"

namespace {

glm::mat4 lightSpace(const glm::vec3& position, const glm::vec3& direction) {
    return lightProjectionMatrix(kShadowNearPlane, kShadowFarPlane) *
           lightViewMatrix(position, direction);
}

bool finite(const glm::mat4& m) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!std::isfinite(m[c][r])) return false;
    return true;
}

}  // namespace

TEST(ShadowMath, LightLooksAlongItsDirectionWithYUp) {
    const glm::vec3 light(100.0f, 200.0f, 100.0f);
    const glm::vec3 direction(-1.0f, -1.0f, 0.0f);
    const glm::mat4 view = lightViewMatrix(light, direction);
    // The eye sits at the light; one step along the direction is straight ahead.
    const glm::vec4 eye = view * glm::vec4(light, 1.0f);
    EXPECT_NEAR(glm::length(glm::vec3(eye)), 0.0f, 1e-4f);
    const glm::vec4 ahead = view * glm::vec4(99.0f, 199.0f, 100.0f, 1.0f);
    EXPECT_NEAR(ahead.x, 0.0f, 1e-4f);
    EXPECT_NEAR(ahead.y, 0.0f, 1e-4f);
    EXPECT_NEAR(ahead.z, -std::sqrt(2.0f), 1e-4f);
    // World up stays up in the light's image, and +z (across the light) is its x axis.
    const glm::vec4 above = view * glm::vec4(light + glm::vec3(0.0f, 1.0f, 0.0f), 1.0f);
    EXPECT_GT(above.y, 0.5f);
    const glm::vec4 side = view * glm::vec4(light + glm::vec3(0.0f, 0.0f, 1.0f), 1.0f);
    EXPECT_NEAR(side.x, -1.0f, 1e-4f);
}

TEST(ShadowMath, TheLightsTargetMapsToTheMiddleAndTheBoxIs400WideAnd10To300Deep) {
    const glm::vec3 light(-19.0f, 200.0f, -81.0f);
    const glm::vec3 direction(95.0f, -200.0f, 405.0f);
    const glm::vec3 along = glm::normalize(direction);
    const glm::mat4 m = lightSpace(light, direction);

    const glm::vec3 target = shadowMapCoordinates(m, light + direction);  // 461 units on
    EXPECT_NEAR(target.x, 0.5f, 1e-4f);
    EXPECT_NEAR(target.y, 0.5f, 1e-4f);
    EXPECT_GT(target.z, 1.0f);  // past the far plane
    const glm::vec3 middle = shadowMapCoordinates(m, light + along * 155.0f);
    EXPECT_NEAR(middle.x, 0.5f, 1e-4f);
    EXPECT_NEAR(middle.y, 0.5f, 1e-4f);
    EXPECT_NEAR(middle.z, 0.5f, 1e-4f);
    EXPECT_TRUE(insideShadowMap(middle));

    EXPECT_NEAR(shadowMapCoordinates(m, light + along * kShadowNearPlane).z, 0.0f, 1e-4f);
    EXPECT_NEAR(shadowMapCoordinates(m, light + along * kShadowFarPlane).z, 1.0f, 1e-4f);
    EXPECT_FALSE(insideShadowMap(shadowMapCoordinates(m, light + along * 5.0f)));

    // 200 units to either side reach the map's edges, 201 leave it.
    const glm::vec3 across = glm::normalize(glm::cross(along, glm::vec3(0.0f, 1.0f, 0.0f)));
    const glm::vec3 edge = shadowMapCoordinates(m, light + along * 155.0f + across * 200.0f);
    EXPECT_NEAR(edge.x, 1.0f, 1e-4f);
    EXPECT_FALSE(
        insideShadowMap(shadowMapCoordinates(m, light + along * 155.0f - across * 201.0f)));
    const glm::vec3 upward = glm::normalize(glm::cross(across, along));
    EXPECT_NEAR(shadowMapCoordinates(m, light + along * 155.0f - upward * 200.0f).y, 0.0f, 1e-4f);
}

TEST(ShadowMath, DegenerateDirectionsStillGiveAUsableView) {
    const glm::vec3 light(10.0f, 200.0f, 5.0f);
    for (const glm::vec3 direction : {glm::vec3(0.0f), glm::vec3(0.0f, -3.0f, 0.0f),
                                      glm::vec3(0.0f, 2.0f, 0.0f), glm::vec3(NAN, 0.0f, 0.0f)}) {
        const glm::mat4 m = lightSpace(light, direction);
        ASSERT_TRUE(finite(m));
        // The point 100 units along the (effective) direction is in the middle.
        const glm::vec3 forward =
            (direction.y > 0.0f) ? glm::vec3(0.0f, 1.0f, 0.0f) : glm::vec3(0.0f, -1.0f, 0.0f);
        const glm::vec3 c = shadowMapCoordinates(m, light + forward * 100.0f);
        EXPECT_NEAR(c.x, 0.5f, 1e-4f);
        EXPECT_NEAR(c.y, 0.5f, 1e-4f);
        EXPECT_TRUE(insideShadowMap(c));
    }
}

// From the morning (the sun 110 units high) to the evening, everything around
// the breakfast table that casts a shadow - table and chairs, the lamp post,
// the three trees beside the garden, the jetty and the boat, from the ground
// to their tops - lies inside the light's box, so none of their shadows is cut
// off. (Earlier, with the sun low in the east, the boat is behind the light.)
TEST(ShadowMath, TheCastersAroundTheGardenStayInsideTheBoxAllDay) {
    const std::vector<glm::vec3> casters = {
        {-6.6f, 0.0f, -3.25f},  {5.4f, 10.0f, 8.75f},     // table and chairs
        {0.0f, 0.0f, -20.0f},   {-5.0f, 18.0f, -20.0f},   // the lamp
        {-50.0f, 0.0f, -40.0f}, {-50.0f, 42.0f, -40.0f},  // the trees
        {-25.0f, 0.0f, 10.0f},  {-25.0f, 42.0f, 10.0f},  {20.0f, 0.0f, -27.0f},
        {20.0f, 42.0f, -27.0f}, {60.0f, 0.0f, 10.0f},    {105.0f, -2.5f, 10.0f},  // jetty and boat
        {1.0f, 14.0f, 1.5f}};                                                     // vase and flower
    int checked = 0;
    for (float t = 7000.0f; t <= 19300.0f; t += 25.0f) {
        const DayCycleState day = dayCycleAt(t);
        const glm::mat4 m = lightSpace(day.lightPosition, day.lightDirection);
        for (const glm::vec3& p : casters) {
            EXPECT_TRUE(insideShadowMap(shadowMapCoordinates(m, p)))
                << "t = " << t << ", point " << p.x << ", " << p.y << ", " << p.z;
            ++checked;
        }
    }
    EXPECT_GT(checked, 5000);
}

TEST(ShadowMath, MapSideIsFiveTimesTheWindowWithinTheDeviceLimit) {
    EXPECT_EQ(shadowMapSide(1080, 16384), 5400);
    EXPECT_EQ(shadowMapSide(720, 16384), 3600);
    EXPECT_EQ(shadowMapSide(3840, 16384), 16384);
    EXPECT_EQ(shadowMapSide(1 << 30, 8192), 8192);  // no overflow on the way
    EXPECT_EQ(shadowMapSide(0, 16384), 1);
    EXPECT_EQ(shadowMapSide(-4, 16384), 1);
    EXPECT_EQ(shadowMapSide(100, 0), 500);  // an unknown limit limits nothing
}

TEST(ShadowMath, ShadowsShiftWithTheSunsTurnAndTheCastersHeight) {
    const Box tree{glm::vec3(-5.0f, 0.0f, -5.0f), glm::vec3(5.0f, 42.0f, 5.0f), false};
    const Box bush{glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(2.0f, 22.0f, 2.0f), false};
    const Box none{glm::vec3(0.0f), glm::vec3(100.0f), true};
    const glm::vec3 at45(1.0f, -1.0f, 0.0f);
    EXPECT_EQ(shadowShiftOnGround({tree}, at45, at45 * 3.0f), 0.0f);
    // From 45 to 44 degrees above the horizon: each unit of height casts
    // cot(44) - cot(45) further.
    const float low = glm::radians(44.0f);
    const glm::vec3 at44(std::cos(low), -std::sin(low), 0.0f);
    const float perUnit = 1.0f / std::tan(low) - 1.0f;
    EXPECT_NEAR(shadowShiftOnGround({tree}, at45, at44), 42.0f * perUnit, 1e-3f);
    EXPECT_NEAR(shadowShiftOnGround({bush, none}, at45, at44), 21.0f * perUnit, 1e-3f);
    EXPECT_EQ(shadowShiftOnGround({none}, at45, at44), 0.0f);
    // At the horizon (or with the light coming up) the shadows run away.
    EXPECT_TRUE(std::isinf(shadowShiftOnGround({tree}, at45, glm::vec3(1.0f, 0.0f, 0.0f))));
    EXPECT_TRUE(std::isinf(shadowShiftOnGround({tree}, glm::vec3(1.0f, 0.5f, 0.0f), at45)));
    // Over the day's light, a frame at 60 steps a second moves the trees'
    // shadows by far less than a second of the clock does.
    for (float t = 8000.0f; t <= 18000.0f; t += 2000.0f) {
        const glm::vec3 now = dayCycleAt(t).lightDirection;
        const float frame = shadowShiftOnGround({tree}, now, dayCycleAt(t + 100.0f / 60.0f).lightDirection);
        const float second = shadowShiftOnGround({tree}, now, dayCycleAt(t + 100.0f).lightDirection);
        EXPECT_LT(frame * 20.0f, second) << t;
    }
}
