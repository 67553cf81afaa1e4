#pragma once
// Keyboard, cursor and scroll callbacks, run inside glfwPollEvents.

struct GLFWwindow;

void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void onCursorPos(GLFWwindow* window, double x, double y);
void onScroll(GLFWwindow* window, double xOffset, double yOffset);
void processMovementKeys();
