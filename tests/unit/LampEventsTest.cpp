// The glow pass's decisions as a function of the day clock.
#include <gtest/gtest.h>

#include "app/LampEvents.h"

TEST(LampEvents, SunGlowsOnlyStrictlyBetween5600And20000) {
    EXPECT_FALSE(sunGlowsAt(4950.0f));
    EXPECT_FALSE(sunGlowsAt(5600.0f));
    EXPECT_TRUE(sunGlowsAt(5600.5f));
    EXPECT_TRUE(sunGlowsAt(12000.0f));
    EXPECT_TRUE(sunGlowsAt(19999.5f));
    EXPECT_FALSE(sunGlowsAt(20000.0f));
    EXPECT_FALSE(sunGlowsAt(23000.0f));
    EXPECT_EQ(lampStateAt(19999.5f).sunGlows, true);
}

TEST(LampEvents, LampFailsOnlyInsideTheOpenWindow) {
    EXPECT_FALSE(lampStateAt(7200.0f).lampFails);  // both ends are excluded
    EXPECT_FALSE(lampStateAt(7210.0f).lampFails);
    EXPECT_TRUE(lampStateAt(7200.5f).lampFails);
    EXPECT_TRUE(lampStateAt(7209.5f).lampFails);
    EXPECT_FALSE(lampStateAt(7199.0f).lampFails);
    // The failing lamp's bulbs no longer glow and no light is put back.
    const LampState failing = lampStateAt(7205.0f);
    EXPECT_FALSE(failing.bulbsGlow);
    EXPECT_FALSE(failing.lampLightsPlaced);
}

TEST(LampEvents, BulbsGlowBeforeTheFailureAndAfter20000) {
    EXPECT_TRUE(lampStateAt(0.0f).bulbsGlow);
    EXPECT_TRUE(lampStateAt(7199.5f).bulbsGlow);
    // At exactly 7200 the bulbs are dark although the failure has not run.
    EXPECT_FALSE(lampStateAt(7200.0f).bulbsGlow);
    EXPECT_FALSE(lampStateAt(15000.0f).bulbsGlow);
    EXPECT_FALSE(lampStateAt(20000.0f).bulbsGlow);
    EXPECT_TRUE(lampStateAt(20000.5f).bulbsGlow);
    EXPECT_TRUE(lampStateAt(23999.0f).bulbsGlow);
}

TEST(LampEvents, LampLightsArePutBackBefore7200AndBetween20000And20010) {
    EXPECT_TRUE(lampStateAt(4950.0f).lampLightsPlaced);
    EXPECT_TRUE(lampStateAt(7199.5f).lampLightsPlaced);
    EXPECT_FALSE(lampStateAt(20000.0f).lampLightsPlaced);
    EXPECT_TRUE(lampStateAt(20000.5f).lampLightsPlaced);
    EXPECT_TRUE(lampStateAt(20009.5f).lampLightsPlaced);
    EXPECT_FALSE(lampStateAt(20010.0f).lampLightsPlaced);  // the bulbs glow on
    EXPECT_TRUE(lampStateAt(20010.0f).bulbsGlow);
    EXPECT_FALSE(lampStateAt(21000.0f).lampLightsPlaced);
}

TEST(LampEvents, ASlowFrameStillMakesTheLampFailAndComeBack) {
    // Jumping from 7190 to 7225 passes the whole failure window in one frame.
    EXPECT_TRUE(lampStateAt(7225.0f, 7190.0f).lampFails);
    EXPECT_FALSE(lampStateAt(7260.0f, 7225.0f).lampFails);
    EXPECT_FALSE(lampStateAt(7225.0f, 7225.0f).lampFails);  // without a previous step, as before
    // Jumping from 19990 to 20030 passes the return window: the lights are put back.
    EXPECT_TRUE(lampStateAt(20030.0f, 19990.0f).lampLightsPlaced);
    EXPECT_FALSE(lampStateAt(20060.0f, 20030.0f).lampLightsPlaced);
    EXPECT_TRUE(lampStateAt(20030.0f, 19990.0f).bulbsGlow);
}
