#include "app/FrameLoop.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/AppGlobals.h"
#include "app/Controls.h"
#include "app/DayClock.h"
#include "app/Window.h"
#include "core/Globals.h"
#include "core/TimeSource.h"

namespace {

void readFrameClock() {
    const float now = static_cast<float>(currentTime());
    deltaTime = now - lastFrame;
    lastFrame = now;
}

void clearWindow() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.41f, 0.2f, 0.42f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void stepDayClock() { advanceDayClock(timeOfDay, firstFrame, deltaTime, nullptr); }

void endTest() {
    const bool freeMode = false;
    if (runShouldEnd(freeMode, timeOfDay)) glfwSetWindowShouldClose(appWindow->window, GLFW_TRUE);
}

}  // namespace

void runFrame() {
    readFrameClock();
    glfwPollEvents();
    processMovementKeys();
    clearWindow();
    stepDayClock();
    endTest();
    glfwSwapBuffers(appWindow->window);
}

void frameLoop() {
    while (!glfwWindowShouldClose(appWindow->window)) runFrame();
}
