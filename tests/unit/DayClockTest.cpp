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

TEST(DayClock, WindowsAreReachedFromInsideOrByJumpingOver) {
    // Inside, with and without the ends.
    EXPECT_TRUE(clockReachedWindow(7199.0f, 7205.0f, 7200.0f, 7210.0f, false));
    EXPECT_FALSE(clockReachedWindow(7199.0f, 7200.0f, 7200.0f, 7210.0f, false));
    EXPECT_TRUE(clockReachedWindow(5999.0f, 6000.0f, 6000.0f, 6010.0f, true));
    EXPECT_TRUE(clockReachedWindow(6009.0f, 6010.0f, 6000.0f, 6010.0f, true));
    // A slow frame steps over the whole window: reached once.
    EXPECT_TRUE(clockReachedWindow(7180.0f, 7215.0f, 7200.0f, 7210.0f, false));
    EXPECT_TRUE(clockReachedWindow(7200.0f, 7210.0f, 7200.0f, 7210.0f, false));
    // The frame after: already past, nothing more.
    EXPECT_FALSE(clockReachedWindow(7215.0f, 7250.0f, 7200.0f, 7210.0f, false));
    // Leaving the window from inside does not count again.
    EXPECT_FALSE(clockReachedWindow(7205.0f, 7240.0f, 7200.0f, 7210.0f, false));
    // Not yet there; the wrap at midnight is not a jump over the day.
    EXPECT_FALSE(clockReachedWindow(7100.0f, 7190.0f, 7200.0f, 7210.0f, false));
    EXPECT_FALSE(clockReachedWindow(23990.0f, 50.0f, 7200.0f, 7210.0f, false));
}

TEST(DayClock, AtFourFramesASecondEveryEventOfTheDayStillHappensOnce) {
    // 0.3 s frames move the clock 33 units: the 10-unit windows fall between frames.
    float t = 4950.0f, previous = t;
    bool first = false;
    int failures = 0, returns = 0, captures = 0;
    while (t < 21500.0f) {
        previous = t;
        advanceDayClock(t, first, 0.3f, nullptr);
        failures += clockReachedWindow(previous, t, 7200.0f, 7210.0f, false);
        returns += clockReachedWindow(previous, t, 20000.0f, 20010.0f, false);
        captures += clockReachedWindow(previous, t, 6000.0f, 6010.0f, true) +
                    clockReachedWindow(previous, t, 8000.0f, 8010.0f, true);
    }
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(captures, 2);
}
