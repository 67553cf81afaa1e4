// Frames driven at chosen times through the replaceable time source.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "app/AppGlobals.h"
#include "app/FrameLoop.h"
#include "app/LampEvents.h"
#include "app/Window.h"
#include "camera/Camera.h"
#include "camera/CameraPath.h"
#include "core/Globals.h"
#include "core/TimeSource.h"
#include "frame/EnvironmentCapture.h"
#include "gl/GlTestSupport.h"
#include "scene/Scene.h"

namespace {

class FrameLoopTest : public ::testing::Test {
protected:
    double now = 0.0;
    Window adopted{glTestWindow()};

    void SetUp() override {
        appWindow = &adopted;
        setTimeSource([this] { return now; });
        lastFrame = 0.0f;
        deltaTime = 0.0f;
        timeOfDay = 0.0f;
        firstFrame = true;
        glfwSetWindowShouldClose(glTestWindow(), GLFW_FALSE);
    }
    void TearDown() override {
        setTimeSource(nullptr);
        appWindow = nullptr;
        glfwSetWindowShouldClose(glTestWindow(), GLFW_FALSE);
    }
    void frameAt(double t) {
        now = t;
        runFrame();
    }
};

}  // namespace

TEST_F(FrameLoopTest, FirstFrameCountsLoadingTimeButJumpsTheClock) {
    frameAt(7.5);
    EXPECT_FLOAT_EQ(deltaTime, 7.5f);  // lastFrame starts at 0
    EXPECT_FLOAT_EQ(lastFrame, 7.5f);
    EXPECT_FLOAT_EQ(timeOfDay, 4950.0f);
    EXPECT_FALSE(firstFrame);

    frameAt(8.0);
    EXPECT_FLOAT_EQ(deltaTime, 0.5f);
    EXPECT_FLOAT_EQ(timeOfDay, 4950.0f + 55.0f);
    EXPECT_FALSE(glfwWindowShouldClose(glTestWindow()));
}

TEST_F(FrameLoopTest, FrameClearsTheWindowAndLeavesNoGlError) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    frameAt(1.0);
    frameAt(1.1);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.41f);
    EXPECT_FLOAT_EQ(clear[1], 0.2f);
    EXPECT_FLOAT_EQ(clear[2], 0.42f);
    EXPECT_FLOAT_EQ(clear[3], 1.0f);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(FrameLoopTest, RunEndsOnceTheClockPasses21500) {
    frameAt(1.0);
    timeOfDay = 21499.0f;
    frameAt(1.0 + 1.0 / 110.0 * 0.5);  // +0.5 units: 21499.5, still running
    EXPECT_FALSE(glfwWindowShouldClose(glTestWindow()));
    frameAt(1.0 + 1.0 / 110.0 * 2.0);  // 21501
    EXPECT_TRUE(glfwWindowShouldClose(glTestWindow()));
}

TEST_F(FrameLoopTest, FreeCameraKeepsTheRunGoingPastTheEnd) {
    Camera camera(glm::vec3(0.0f), nullptr);
    camera.freeMode = true;
    mainCamera = &camera;
    frameAt(1.0);
    timeOfDay = 21499.0f;
    frameAt(2.0);  // 21609: past the end, but the viewer has the camera
    EXPECT_FALSE(glfwWindowShouldClose(glTestWindow()));
    camera.freeMode = false;  // leaving free mode above 21500 ends the run with that frame
    frameAt(2.01);
    EXPECT_TRUE(glfwWindowShouldClose(glTestWindow()));
    mainCamera = nullptr;
}

TEST_F(FrameLoopTest, ClockWrapsPastMidnight) {
    frameAt(1.0);
    timeOfDay = 23990.0f;
    frameAt(2.0);
    EXPECT_NEAR(timeOfDay, 100.0f, 0.05f);
    EXPECT_FALSE(glfwWindowShouldClose(glTestWindow()));
}

namespace {

// What a whole day showed, frame by frame, run at 30 frames a second on
// the made-up clock, with the process stopped for a while at chosen moments
// (seconds after the first frame -> length of the pause).
struct DayTrace {
    std::vector<float> clock;
    std::vector<glm::vec3> camera;
    int lampFailures = 0;  // entries into the lamp's failure window
    int captures = 0;      // entries into a capture window
    bool ended = false;
};

class PausedDayTest : public FrameLoopTest {
protected:
    Camera camera{glm::vec3(0.0f, 3.0f, 2.0f), nullptr};

    DayTrace runDay(const std::map<double, double>& pauses) {
        // Twelve segments, as the real flight has, that leave far apart
        // places: a camera a segment behind is tens of units away.
        camera = Camera(glm::vec3(0.0f, 3.0f, 2.0f), nullptr);
        for (int i = 0; i <= 36; ++i)
            camera.controlPoints.emplace_back(float(i) * 10.0f, 3.0f, (i / 3) % 2 ? 40.0f : 0.0f);
        mainCamera = &camera;
        resetPath();
        SetUp();
        DayTrace trace;
        bool wasFailing = false, wasCapturing = false;
        double paused = 0.0;
        auto pause = pauses.begin();
        for (int k = 0; k < 30 * 400 && !glfwWindowShouldClose(glTestWindow()); ++k) {
            const double runTime = double(k) / 30.0;
            if (pause != pauses.end() && runTime >= pause->first) paused += (pause++)->second;
            frameAt(1.0 + paused + runTime);
            if (k == 0) continue;
            trace.clock.push_back(timeOfDay);
            trace.camera.push_back(camera.position);
            const bool failing = lampStateAt(timeOfDay, previousTimeOfDay).lampFails;
            const bool capturing = inCaptureWindow(timeOfDay, previousTimeOfDay);
            trace.lampFailures += failing && !wasFailing;
            trace.captures += capturing && !wasCapturing;
            wasFailing = failing;
            wasCapturing = capturing;
        }
        trace.ended = glfwWindowShouldClose(glTestWindow());
        mainCamera = nullptr;
        return trace;
    }
};

}  // namespace

// Stopped (Ctrl-Z, a debugger) near the end, or for three hours mid-day: the
// run still ends where the day ends, the lamp fails once and the vase is
// captured once in each window, as in a run that was never stopped.
TEST_F(PausedDayTest, APauseOfAnyLengthStillEndsTheRunAtTheDaysEnd) {
    const DayTrace steady = runDay({});
    ASSERT_TRUE(steady.ended);
    EXPECT_EQ(steady.lampFailures, 1);
    EXPECT_EQ(steady.captures, 2);

    const DayTrace paused = runDay({{60.0, 3.0 * 3600.0}, {146.0, 30.0}});
    ASSERT_TRUE(paused.ended) << "still running with the clock at " << paused.clock.back();
    EXPECT_GT(paused.clock.back(), 21500.0f);
    EXPECT_NEAR(paused.clock.back(), steady.clock.back(), 4.0f);
    EXPECT_EQ(paused.lampFailures, 1);
    EXPECT_EQ(paused.captures, 2);
    for (size_t i = 1; i < paused.clock.size(); ++i)
        ASSERT_GT(paused.clock[i], paused.clock[i - 1]) << "the clock went round at frame " << i;
}

// After a pause longer than the flight's restart limit, the camera is where
// an unpaused run has it at the same moment of the day, not a segment behind.
TEST_F(PausedDayTest, AfterAPauseTheFlightIsWhereTheDayHasIt) {
    const DayTrace steady = runDay({});
    const DayTrace paused = runDay({{30.0, 20.0}});
    ASSERT_TRUE(paused.ended);
    float worst = 0.0f, worstAt = 0.0f;
    size_t s = 0;
    for (size_t i = 0; i < paused.clock.size(); ++i) {
        // The unpaused frame nearest in the day.
        while (s + 1 < steady.clock.size() && std::fabs(steady.clock[s + 1] - paused.clock[i]) <=
                                                  std::fabs(steady.clock[s] - paused.clock[i]))
            ++s;
        const float apart = glm::length(paused.camera[i] - steady.camera[s]);
        if (apart > worst) {
            worst = apart;
            worstAt = paused.clock[i];
        }
    }
    EXPECT_LT(worst, 1.0f) << "the camera is " << worst << " units from its place at clock "
                           << worstAt;
}
