#include "app/Controls.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>

#include "app/AppGlobals.h"
#include "camera/Camera.h"
#include "core/Globals.h"
#include "render/Shader.h"
#include "scene/Scene.h"

namespace {

constexpr float kMoveSpeed = 50.0f;  // world units per second
constexpr float kMouseTurn = 0.1f;   // degrees of yaw per unit of cursor movement
constexpr float kScrollStep = 1.5f;  // world units per scroll step

bool inFreeMode() {
    return mainCamera && mainCamera->freeMode;
}

void toggleFreeMode() {
    if (!mainCamera) return;
    mainCamera->freeMode = !mainCamera->freeMode;
    // Leaving the path is for good: switching back gives the turn mode.
    mainCamera->controlPoints.clear();
}

void toggleHdr() {
    hdrEnabled = !hdrEnabled;
    std::cout << "HDR is now ON : " << (hdrEnabled ? 1 : 0) << std::endl;
    if (!effectShader) return;
    effectShader->use();
    effectShader->setInt("hdrOn", hdrEnabled ? 1 : 0);
    glUseProgram(0);
}

}  // namespace

void onKey(GLFWwindow* window, int key, int /*scancode*/, int action, int /*mods*/) {
    if (key < 0 || key >= 1024) return;  // unidentified keys arrive as -1
    if (action == GLFW_PRESS) {
        if (key == GLFW_KEY_ESCAPE) glfwSetWindowShouldClose(window, GLFW_TRUE);
        if (key == GLFW_KEY_T) toggleFreeMode();
        if (key == GLFW_KEY_H) toggleHdr();
        keys[key] = true;
    } else if (action == GLFW_RELEASE) {
        keys[key] = false;
    }
}

void onCursorPos(GLFWwindow* /*window*/, double x, double y) {
    double reference = lastX;
    if (firstMouse) {
        reference = static_cast<float>(x);
        firstMouse = false;
    }
    const float xOffset = static_cast<float>(x - reference);
    lastX = static_cast<float>(x);
    lastY = static_cast<float>(y);
    // Only the horizontal movement turns: the free camera keeps looking level.
    if (inFreeMode()) mainCamera->yaw += xOffset * kMouseTurn;
}

void onScroll(GLFWwindow* /*window*/, double /*xOffset*/, double yOffset) {
    if (!inFreeMode()) return;
    mainCamera->position += mainCamera->front * (static_cast<float>(yOffset) * kScrollStep);
}

void processMovementKeys() {
    // Only the first held key of this order acts in a frame.
    const int order[] = {GLFW_KEY_W, GLFW_KEY_S, GLFW_KEY_A, GLFW_KEY_D, GLFW_KEY_Q, GLFW_KEY_E};
    int held = -1;
    for (int key : order) {
        if (keys[key]) {
            held = key;
            break;
        }
    }
    if (held < 0 || !inFreeMode()) return;
    const float v = deltaTime * kMoveSpeed;
    Camera& camera = *mainCamera;
    switch (held) {
        case GLFW_KEY_W:
            camera.position += camera.front * v;
            break;
        case GLFW_KEY_S:
            camera.position -= camera.front * v;
            break;
        case GLFW_KEY_A:
            camera.position -= camera.right * v;
            break;
        case GLFW_KEY_D:
            camera.position += camera.right * v;
            break;
        case GLFW_KEY_Q:
            camera.position += glm::vec3(0.0f, v, 0.0f);
            break;
        case GLFW_KEY_E:
            camera.position -= glm::vec3(0.0f, v, 0.0f);
            break;
        default:
            break;
    }
}
