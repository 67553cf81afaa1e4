// The day clock turned into exposure, sun and sun light, over a whole day.
#include <gtest/gtest.h>

#include "app/DayCycle.h"

namespace {

void expectVec3(const glm::vec3& actual, float x, float y, float z, float tolerance = 1e-3f) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

}  // namespace

TEST(DayCycle, ExposureAndSunHeightClimbThroughDawn) {
    const DayCycleState before = dayCycleAt(4999.0f);
    EXPECT_FLOAT_EQ(before.exposure, 0.8f);
    EXPECT_FLOAT_EQ(before.sunPosition.y, -70.0f);

    const DayCycleState dawn = dayCycleAt(5000.0f);
    EXPECT_FLOAT_EQ(dawn.exposure, 0.8f);
    EXPECT_FLOAT_EQ(dawn.sunPosition.y, -70.0f);

    const DayCycleState halfway = dayCycleAt(6500.0f);
    EXPECT_NEAR(halfway.exposure, 1.4f, 1e-5f);
    EXPECT_NEAR(halfway.sunPosition.y, 65.0f, 1e-3f);

    const DayCycleState walkthrough = dayCycleAt(7205.0f);
    EXPECT_NEAR(walkthrough.exposure, 1.682f, 1e-5f);
    EXPECT_NEAR(walkthrough.sunPosition.y, 128.45f, 1e-3f);

    const DayCycleState day = dayCycleAt(8000.0f);
    EXPECT_FLOAT_EQ(day.exposure, 2.0f);
    EXPECT_FLOAT_EQ(day.sunPosition.y, 200.0f);
    EXPECT_FLOAT_EQ(dayCycleAt(16999.0f).exposure, 2.0f);
    EXPECT_FLOAT_EQ(dayCycleAt(16999.0f).sunPosition.y, 200.0f);
}

TEST(DayCycle, SunSetsBy20800WhileTheExposureFallsUntilMidnight) {
    EXPECT_FLOAT_EQ(dayCycleAt(17000.0f).exposure, 2.0f);
    EXPECT_FLOAT_EQ(dayCycleAt(17000.0f).sunPosition.y, 200.0f);
    EXPECT_NEAR(dayCycleAt(18900.0f).sunPosition.y, 65.0f, 1e-3f);

    const DayCycleState set = dayCycleAt(20800.0f);
    EXPECT_FLOAT_EQ(set.sunPosition.y, -70.0f);
    EXPECT_NEAR(set.exposure, 2.0f - 1.2f * 3800.0f / 7000.0f, 1e-5f);
    EXPECT_NEAR(dayCycleAt(20799.0f).sunPosition.y, -70.0f, 0.1f);  // no jump at sunset

    // The exposure keeps falling and meets the night value at the wrap.
    float previous = set.exposure;
    for (float t = 20900.0f; t < 24000.0f; t += 100.0f) {
        const DayCycleState s = dayCycleAt(t);
        EXPECT_LT(s.exposure, previous) << t;
        EXPECT_FLOAT_EQ(s.sunPosition.y, -70.0f) << t;
        previous = s.exposure;
    }
    EXPECT_NEAR(dayCycleAt(23999.9f).exposure, 0.8f, 1e-4f);
    EXPECT_FLOAT_EQ(dayCycleAt(0.0f).exposure, 0.8f);
    EXPECT_FLOAT_EQ(dayCycleAt(0.0f).sunPosition.y, -70.0f);
}

TEST(DayCycle, SunWalksTheSquareAndTheLightKeepsAFifthOfIt) {
    // The corners of the path, and the jump back at 21500.
    expectVec3(dayCycleAt(5000.0f).sunPosition, 500.0f, -70.0f, 0.0f);
    expectVec3(dayCycleAt(10500.0f).sunPosition, 0.0f, 200.0f, -500.0f);
    expectVec3(dayCycleAt(16000.0f).sunPosition, -500.0f, 200.0f, 0.0f);
    expectVec3(dayCycleAt(21499.99f).sunPosition, 0.0f, -70.0f, 500.0f, 0.01f);
    expectVec3(dayCycleAt(21500.0f).sunPosition, 500.0f, -70.0f, 0.0f);
    expectVec3(dayCycleAt(100.0f).sunPosition, 500.0f, -70.0f, 0.0f);

    const DayCycleState noon = dayCycleAt(10500.0f);
    expectVec3(noon.lightPosition, 0.0f, 200.0f, -100.0f);
    expectVec3(noon.lightDirection, 0.0f, -200.0f, 500.0f);

    // Everywhere, including before the crossing and after the jump back, the
    // light stands at the sun's height with a fifth of its x and z, and
    // shines from the sun towards the origin.
    for (float t = 0.0f; t < 24000.0f; t += 250.0f) {
        const DayCycleState s = dayCycleAt(t);
        expectVec3(s.lightPosition, s.sunPosition.x / 5.0f, s.sunPosition.y,
                   s.sunPosition.z / 5.0f);
        expectVec3(s.lightDirection, -s.sunPosition.x, -s.sunPosition.y, -s.sunPosition.z);
    }
    expectVec3(dayCycleAt(4000.0f).lightPosition, 100.0f, -70.0f, 0.0f);
    expectVec3(dayCycleAt(22000.0f).lightPosition, 100.0f, -70.0f, 0.0f);
}
