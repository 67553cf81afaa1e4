#include <gtest/gtest.h>

#include "app/DayClock.h"

TEST(DayClock, FirstFrameJumpsTo4950WithoutPathStep) {
    float t = 0.0f;
    bool first = true;
    int steps = 0;
    advanceDayClock(t, first, 12.5f, [&] { ++steps; });  // loading time is not counted
    EXPECT_FLOAT_EQ(t, 4950.0f);
    EXPECT_FALSE(first);
    EXPECT_EQ(steps, 0);
}

TEST(DayClock, LaterFramesAdd110PerSecondAndStepThePath) {
    float t = 4950.0f;
    bool first = false;
    int steps = 0;
    float seenByPath = 0.0f;
    advanceDayClock(t, first, 0.5f, [&] {
        ++steps;
        seenByPath = t;
    });
    EXPECT_FLOAT_EQ(t, 5005.0f);
    EXPECT_EQ(steps, 1);
    EXPECT_FLOAT_EQ(seenByPath, 5005.0f);  // the path steps after the clock moved
}

TEST(DayClock, WrapsAt24000) {
    float t = 23990.0f;
    bool first = false;
    advanceDayClock(t, first, 1.0f, nullptr);
    EXPECT_NEAR(t, 100.0f, 1e-2);
    EXPECT_LT(t, 5000.0f);  // back in the night phase

    float exact = 23890.0f;
    advanceDayClock(exact, first, 1.0f, nullptr);
    EXPECT_FLOAT_EQ(exact, 0.0f);
}

TEST(DayClock, ARunOf150SecondsReachesTheEnd) {
    float t = 0.0f;
    bool first = true;
    advanceDayClock(t, first, 0.0f, nullptr);
    int frames = 0;
    while (!runShouldEnd(false, t) && frames < 100000) {
        advanceDayClock(t, first, 1.0f / 60.0f, nullptr);
        ++frames;
    }
    EXPECT_NEAR(frames / 60.0, (21500.0 - 4950.0) / 110.0, 0.05);
}

TEST(DayClock, EndTestRespectsFreeMode) {
    EXPECT_FALSE(runShouldEnd(false, 21500.0f));
    EXPECT_TRUE(runShouldEnd(false, 21500.5f));
    EXPECT_FALSE(runShouldEnd(true, 21500.5f));
    EXPECT_FALSE(runShouldEnd(true, 23999.0f));
    EXPECT_FALSE(runShouldEnd(false, 100.0f));
}
