// Keyboard, cursor and scroll handling on a camera of its own.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/AppGlobals.h"
#include "app/Controls.h"
#include "camera/Camera.h"
#include "core/Globals.h"
#include "gl/GlTestSupport.h"
#include "render/Shader.h"
#include "scene/Scene.h"

namespace {

class ControlsTest : public ::testing::Test {
protected:
    Camera camera{glm::vec3(0.0f, 3.0f, 2.0f), nullptr};
    Shader* hdrShader = nullptr;

    void SetUp() override {
        std::fill(std::begin(keys), std::end(keys), false);
        firstMouse = true;
        lastX = 400.0f;
        lastY = 300.0f;
        hdrEnabled = true;
        deltaTime = 0.1f;
        camera.controlPoints = {glm::vec3(0), glm::vec3(1), glm::vec3(2), glm::vec3(3)};
        camera.updateCameraVectors();
        mainCamera = &camera;
        const auto v = writeTempFile("hdr.vert",
                                     "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n");
        const auto f = writeTempFile("hdr.frag",
                                     "#version 330 core\nout vec4 c;\nuniform int hdrOn = 1;\n"
                                     "void main() { c = vec4(float(hdrOn)); }\n");
        hdrShader = new Shader(v.c_str(), f.c_str());
        effectShader = hdrShader;
        glfwSetWindowShouldClose(glTestWindow(), GLFW_FALSE);
    }
    void TearDown() override {
        mainCamera = nullptr;
        effectShader = nullptr;
        delete hdrShader;
        std::fill(std::begin(keys), std::end(keys), false);
        glfwSetWindowShouldClose(glTestWindow(), GLFW_FALSE);
    }
    void press(int key) { onKey(glTestWindow(), key, 0, GLFW_PRESS, 0); }
    void release(int key) { onKey(glTestWindow(), key, 0, GLFW_RELEASE, 0); }
    int hdrOn() const {
        GLint v = -1;
        glGetUniformiv(hdrShader->program, glGetUniformLocation(hdrShader->program, "hdrOn"), &v);
        return v;
    }
};

}  // namespace

TEST_F(ControlsTest, EscapeClosesOnPressAndReleaseOnlyClearsTheKey) {
    keys[GLFW_KEY_ESCAPE] = true;  // held since before the window opened
    release(GLFW_KEY_ESCAPE);
    EXPECT_FALSE(keys[GLFW_KEY_ESCAPE]);
    EXPECT_FALSE(glfwWindowShouldClose(glTestWindow()));
    press(GLFW_KEY_ESCAPE);
    EXPECT_TRUE(glfwWindowShouldClose(glTestWindow()));
    EXPECT_TRUE(keys[GLFW_KEY_ESCAPE]);
}

TEST_F(ControlsTest, KeysFollowPressAndReleaseRepeatChangesNothingBadCodesIgnored) {
    press(GLFW_KEY_W);
    EXPECT_TRUE(keys[GLFW_KEY_W]);
    onKey(glTestWindow(), GLFW_KEY_W, 0, GLFW_REPEAT, 0);
    EXPECT_TRUE(keys[GLFW_KEY_W]);
    release(GLFW_KEY_W);
    EXPECT_FALSE(keys[GLFW_KEY_W]);
    onKey(glTestWindow(), -1, 0, GLFW_PRESS, 0);  // unidentified key
    onKey(glTestWindow(), 1024, 0, GLFW_PRESS, 0);
    onKey(glTestWindow(), 5000, 0, GLFW_RELEASE, 0);
    EXPECT_FALSE(keys[0]);
    EXPECT_FALSE(keys[1023]);
}

TEST_F(ControlsTest, TTwiceLeavesTurnModeWithoutThePath) {
    press(GLFW_KEY_T);
    EXPECT_TRUE(camera.freeMode);
    EXPECT_TRUE(camera.controlPoints.empty());
    release(GLFW_KEY_T);
    press(GLFW_KEY_T);
    EXPECT_FALSE(camera.freeMode);
    EXPECT_TRUE(camera.controlPoints.empty());
    EXPECT_TRUE(camera.inTurnMode());
}

TEST_F(ControlsTest, HTogglesTheEffectShaderAndSaysSo) {
    std::string out = captureStdout([&] { press(GLFW_KEY_H); });
    EXPECT_EQ(out, "HDR is now ON : 0\n");
    EXPECT_FALSE(hdrEnabled);
    EXPECT_EQ(hdrOn(), 0);
    out = captureStdout([&] { press(GLFW_KEY_H); });
    EXPECT_EQ(out, "HDR is now ON : 1\n");
    EXPECT_EQ(hdrOn(), 1);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
}

TEST_F(ControlsTest, MovementOnlyInFreeModeAndOnlyTheFirstHeldKey) {
    const glm::vec3 start = camera.position;
    keys[GLFW_KEY_W] = true;
    keys[GLFW_KEY_Q] = true;
    processMovementKeys();  // not in free mode: nothing moves
    EXPECT_EQ(camera.position, start);

    camera.freeMode = true;
    camera.updateCameraVectors();
    keys[GLFW_KEY_S] = true;  // W and S together: forwards only
    processMovementKeys();
    const glm::vec3 forward = camera.front * (0.1f * 50.0f);
    EXPECT_NEAR(camera.position.x, start.x + forward.x, 1e-4);
    EXPECT_NEAR(camera.position.z, start.z + forward.z, 1e-4);
    EXPECT_NEAR(camera.position.y, start.y + forward.y, 1e-4);

    keys[GLFW_KEY_W] = false;  // S and A (and Q): backwards only
    keys[GLFW_KEY_A] = true;
    const glm::vec3 before = camera.position;
    processMovementKeys();
    EXPECT_NEAR(glm::length(camera.position - (before - forward)), 0.0f, 1e-4);

    std::fill(std::begin(keys), std::end(keys), false);
    keys[GLFW_KEY_E] = true;
    const glm::vec3 beforeDown = camera.position;
    processMovementKeys();
    EXPECT_NEAR(camera.position.y, beforeDown.y - 5.0f, 1e-4);
    keys[GLFW_KEY_D] = true;  // D comes before E in the order
    const glm::vec3 beforeRight = camera.position;
    processMovementKeys();
    EXPECT_NEAR(glm::length(camera.position - (beforeRight + camera.right * 5.0f)), 0.0f, 1e-4);
}

TEST_F(ControlsTest, CursorTurnsYawOnlyInFreeModeWithoutAJumpWhenSwitching) {
    onCursorPos(glTestWindow(), 1000.0, 50.0);  // first event: only a reference
    EXPECT_FLOAT_EQ(lastX, 1000.0f);
    EXPECT_FLOAT_EQ(lastY, 50.0f);
    EXPECT_FLOAT_EQ(camera.yaw, 0.0f);
    onCursorPos(glTestWindow(), 1200.0, 80.0);  // path mode: followed but no turn
    EXPECT_FLOAT_EQ(camera.yaw, 0.0f);
    EXPECT_FLOAT_EQ(lastX, 1200.0f);

    camera.freeMode = true;
    const float pitch = camera.pitch;
    onCursorPos(glTestWindow(), 1210.0, 500.0);  // 10 to the right, far down
    EXPECT_FLOAT_EQ(camera.yaw, 1.0f);
    EXPECT_FLOAT_EQ(camera.pitch, pitch);
}

TEST_F(ControlsTest, ScrollMovesAlongFrontInFreeModeOnly) {
    const glm::vec3 start = camera.position;
    onScroll(glTestWindow(), 0.0, 1.0);
    EXPECT_EQ(camera.position, start);
    camera.freeMode = true;
    camera.updateCameraVectors();
    onScroll(glTestWindow(), 3.0, 1.0);
    EXPECT_NEAR(glm::length(camera.position - start), 1.5f, 1e-5);
    EXPECT_NEAR(glm::dot(glm::normalize(camera.position - start), camera.front), 1.0f, 1e-5);
}
