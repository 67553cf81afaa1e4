// The clock windows that re-render the vase's environment.
#include <gtest/gtest.h>

#include <cmath>

#include "frame/EnvironmentCapture.h"

TEST(CaptureWindow, BothWindowsIncludeTheirEnds) {
    for (float t : {6000.0f, 6005.5f, 6010.0f, 8000.0f, 8003.0f, 8010.0f})
        EXPECT_TRUE(inCaptureWindow(t)) << t;
}

TEST(CaptureWindow, OutsideTheWindowsNoCapture) {
    const float justOutside[] = {std::nextafter(6000.0f, 0.0f), std::nextafter(6010.0f, 9e9f),
                                 std::nextafter(8000.0f, 0.0f), std::nextafter(8010.0f, 9e9f)};
    for (float t : justOutside) EXPECT_FALSE(inCaptureWindow(t)) << t;
    // The start of the day, the gap between the windows, the lamp's failure
    // and a wrapped clock.
    for (float t : {0.0f, 4950.0f, 7000.0f, 7205.0f, 21500.0f, 23999.0f, -6005.0f})
        EXPECT_FALSE(inCaptureWindow(t)) << t;
}

// At 110 units a second and 60 frames a second each window spans five or six
// frames, so a normal run re-renders the cube map a handful of times.
TEST(CaptureWindow, ASixtyHertzDayCapturesOnAFewFramesPerWindow) {
    int captures = 0;
    for (double t = 4950.0; t < 21500.0; t += 110.0 / 60.0)
        if (inCaptureWindow(static_cast<float>(t))) ++captures;
    EXPECT_GE(captures, 10);
    EXPECT_LE(captures, 12);
}

TEST(CaptureWindow, ASlowFrameJumpingOverAWindowStillCaptures) {
    EXPECT_TRUE(inCaptureWindow(6030.0f, 5990.0f));
    EXPECT_TRUE(inCaptureWindow(8040.0f, 7995.0f));
    EXPECT_FALSE(inCaptureWindow(6060.0f, 6030.0f));
    EXPECT_FALSE(inCaptureWindow(5990.0f, 5950.0f));
}
