#include "app/Controls.h"

#include <GLFW/glfw3.h>

#include "app/AppGlobals.h"

void onKey(GLFWwindow* window, int key, int /*scancode*/, int action, int /*mods*/) {
    if (key < 0 || key >= 1024) return;  // unidentified keys arrive as -1
    if (action == GLFW_PRESS) {
        if (key == GLFW_KEY_ESCAPE) glfwSetWindowShouldClose(window, GLFW_TRUE);
        keys[key] = true;
    } else if (action == GLFW_RELEASE) {
        keys[key] = false;
    }
}

void onCursorPos(GLFWwindow* /*window*/, double x, double y) {
    if (firstMouse) firstMouse = false;
    lastX = static_cast<float>(x);
    lastY = static_cast<float>(y);
}

void onScroll(GLFWwindow* /*window*/, double /*xOffset*/, double /*yOffset*/) {}

void processMovementKeys() {}
