#pragma once
// The program's one window with its OpenGL 3.3 core context.

#include <string>

struct GLFWwindow;

class Window {
public:
    GLFWwindow* window = nullptr;

    // Creates the window and the context, or ends the process with a message
    // and exit status 1. In full-screen mode the primary monitor's current
    // video mode replaces screenWidth and screenHeight.
    Window(int refreshRate, bool fullscreen, std::string title);
    // Adopts a window made elsewhere (tests drive frames in their own window).
    explicit Window(GLFWwindow* existing) : window(existing) {}
};
