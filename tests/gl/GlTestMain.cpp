// One hidden GLFW window with a 3.3 core context for the whole test binary.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>

#include "gl/GlTestSupport.h"

namespace {
GLFWwindow* testWindow = nullptr;
}

#if defined(__SANITIZE_ADDRESS__)
// The software GL driver keeps some allocations until exit and is unloaded
// before the leak check; keep it mapped so its leaks can be recognised.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\nleak:libGLX_mesa.so\nleak:libX11.so\n";
}
static void keepDriverLoaded() {
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}
#else
static void keepDriverLoaded() {}
#endif

GLFWwindow* glTestWindow() { return testWindow; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();  // no context needed
    keepDriverLoaded();
    if (!glfwInit()) {
        std::fprintf(stderr, "gl tests need a display (run under xvfb-run)\n");
        return 1;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    testWindow = glfwCreateWindow(256, 256, "gl tests", nullptr, nullptr);
    if (!testWindow) {
        std::fprintf(stderr, "could not create a 3.3 core context\n");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(testWindow);
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) return 1;
    while (glGetError() != GL_NO_ERROR) {
    }
    const int result = RUN_ALL_TESTS();
    glfwDestroyWindow(testWindow);
    glfwTerminate();
    return result;
}
