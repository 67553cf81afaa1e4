#include "app/FrameLoop.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>

#include "app/AdaptiveQuality.h"
#include "app/AppGlobals.h"
#include "app/Controls.h"
#include "app/DayClock.h"
#include "app/DayCycle.h"
#include "app/Smoke.h"
#include "app/Window.h"
#include "camera/Camera.h"
#include "camera/CameraPath.h"
#include "core/Globals.h"
#include "core/TimeSource.h"
#include "effects/Skybox.h"
#include "effects/Water.h"
#include "frame/EnvironmentCapture.h"
#include "frame/FramePasses.h"
#include "frame/FramePlan.h"
#include "frame/GlowPasses.h"
#include "frame/ShadowPass.h"
#include "frame/WaterPasses.h"
#include "render/LightVariants.h"
#include "render/PassTimer.h"
#include "render/RenderTargets.h"
#include "scene/Scene.h"

namespace {

void readFrameClock() {
    const float now = static_cast<float>(currentTime());
    deltaTime = frameStep(now - lastFrame, deltaTime, firstFrame);
    lastFrame = now;
}

void clearWindow() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.41f, 0.2f, 0.42f, 1.0f);
    clearWindowBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, currentChoices());
}

void updateMainCamera() {
    if (mainCamera) mainCamera->update();
}

// Returns the eye the programs were given.
EyeView applyViewToSceneShaders() {
    if (!mainCamera) return {};
    for (Shader* shader : sceneShaders) mainCamera->applyView(shader);
    return eyeOf(*mainCamera);
}

void stepDayClock() {
    previousTimeOfDay = timeOfDay;
    advanceDayClock(timeOfDay, firstFrame, deltaTime, [] {
        if (mainCamera) updatePath(*mainCamera);
    });
}

void endTest() {
    const bool freeMode = mainCamera && mainCamera->freeMode;
    if (runShouldEnd(freeMode, timeOfDay)) glfwSetWindowShouldClose(appWindow->window, GLFW_TRUE);
}

}  // namespace

void drawFrame() {
    LightVariants::allowBuildsThisFrame(1);
    readFrameClock();
    glfwPollEvents();
    processMovementKeys();
    clearWindow();
    updateMainCamera();
    const EyeView beforeStep = applyViewToSceneShaders();
    stepDayClock();
    updateDayCycle();
    const bool capture = inCaptureWindow(timeOfDay, previousTimeOfDay);
    const FramePlan plan = mainCamera ? planFrame(beforeStep, *mainCamera, capture) : FramePlan{};
    runPasses(plan);
    endTest();
}

void runFrame() {
    drawFrame();
    glfwSwapBuffers(appWindow->window);
}

void simulateFrame() {
    readFrameClock();
    updateMainCamera();
    stepDayClock();
    updateDayCycle();
    if (inCaptureWindow(timeOfDay, previousTimeOfDay)) captureEnvironment();
    if (skybox) skybox->update();
    stepLampEvents();
    stepSmoke();
}

void frameLoop() {
    auto last = std::chrono::steady_clock::now();
    while (!glfwWindowShouldClose(appWindow->window)) {
        beginQualityFrame();
        runFrame();
        const auto now = std::chrono::steady_clock::now();
        endQualityFrame(std::chrono::duration<double>(now - last).count());
        last = now;
    }
}
