// One hidden GLFW window with a 3.3 core context for the whole test binary.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/ProgramFolder.h"
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

namespace {

constexpr int kTestWindowSize = 256;

// The state of a fresh context, as far as the code under test changes it:
// bindings, switches, functions, masks and the viewport of the test window.
void resetGlState() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
    GLint units = 0;
    glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &units);
    for (GLint unit = 0; unit < units; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    }
    glActiveTexture(GL_TEXTURE0);
    for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_BLEND, GL_SCISSOR_TEST,
                       GL_POLYGON_OFFSET_FILL, GL_CLIP_DISTANCE0})
        glDisable(cap);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glCullFace(GL_BACK);
    glBlendFunc(GL_ONE, GL_ZERO);
    glPolygonOffset(0.0f, 0.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    glViewport(0, 0, kTestWindowSize, kTestWindowSize);
    while (glGetError() != GL_NO_ERROR) {
    }
}

// Every test starts from that state, whatever the tests before it in the same
// process left behind, so a test passes alone and in the whole run alike.
class FreshGlState : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { resetGlState(); }
};

}  // namespace

long tempFolderOwner = 0;

int main(int argc, char** argv) {
    // A death test's child is this binary started again with an internal flag.
    static const char kDeathTestChild[] = "--gtest_internal_run_death_test";
    tempFolderOwner = long(getpid());
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kDeathTestChild, sizeof kDeathTestChild - 1) == 0)
            tempFolderOwner = long(getppid());
    ::testing::InitGoogleTest(&argc, argv);
    // The tests read the generated data through "../shader/" and the like,
    // as the program does; like the program they start from their own folder.
    enterProgramFolder();
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
    testWindow = glfwCreateWindow(kTestWindowSize, kTestWindowSize, "gl tests", nullptr, nullptr);
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
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshGlState);
    const int result = RUN_ALL_TESTS();
    glfwDestroyWindow(testWindow);
    glfwTerminate();
    std::error_code ignored;
    std::filesystem::remove_all(tempFolder(), ignored);
    return result;
}
