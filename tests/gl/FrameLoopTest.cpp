// Frames driven at chosen times through the replaceable time source.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/AppGlobals.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "camera/Camera.h"
#include "core/Globals.h"
#include "core/TimeSource.h"
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
