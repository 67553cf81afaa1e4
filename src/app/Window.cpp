#include "app/Window.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "app/ScreenSize.h"
#include "core/Console.h"
#include "core/Globals.h"
#include "platform/GlCompat.h"

Window::Window(int refreshRate, bool fullscreen, std::string title) {
    if (!glfwInit()) fatalError("ERROR: Could not initialise GLFW!");

    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);

    GLFWmonitor* monitor = nullptr;
    if (fullscreen) {
        monitor = glfwGetPrimaryMonitor();
        glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
        const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
        if (mode) {
            screenWidth = mode->width;
            screenHeight = mode->height;
        }
    }

    // GLFW asserts on a negative size instead of refusing it as it refuses 0,
    // and X (or the first target) fails on a huge one, so both are refused
    // here.
    window = screenSizeFits(screenWidth, screenHeight)
                 ? glfwCreateWindow(screenWidth, screenHeight, title.c_str(), monitor, nullptr)
                 : nullptr;
    if (!window) {
        glfwTerminate();
        fatalError("ERROR: Could not open GLFWwindow!");
    }
    // A page may take the pointer only on a click (the page asks for it then).
#if !defined(__EMSCRIPTEN__)
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
#endif
    glfwMakeContextCurrent(window);
    // The window is made not resizable, but a window manager may resize it
    // all the same: the resolve then fills the window as it is.
    glfwGetFramebufferSize(window, &windowWidth, &windowHeight);
    glfwSetFramebufferSizeCallback(window, [](GLFWwindow*, int width, int height) {
        windowWidth = width;
        windowHeight = height;
    });

    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        glfwTerminate();
        fatalError("ERROR: Could not initialise GLEW!");
    }
    // GLEW's experimental start-up can leave a harmless GL_INVALID_ENUM behind.
    while (glGetError() != GL_NO_ERROR) {
    }
    enableContextExtensions();
    glViewport(0, 0, screenWidth, screenHeight);
}
