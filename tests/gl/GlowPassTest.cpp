// The glow pass in a frame: which lamp lights move at which clock values,
// and the state the passes leave behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/LampEvents.h"
#include "core/Globals.h"
#include "effects/FrameBuffer.h"
#include "frame/FramePasses.h"
#include "frame/FramePlan.h"
#include "frame/GlowPasses.h"
#include "frame/SceneTargets.h"
#include "gl/GlTestSupport.h"
#include "lighting/PointLight.h"
#include "lighting/SpotLight.h"
#include "render/Shader.h"
#include "scene/Scene.h"

namespace {

const std::string kShaderDir = std::string(MD_SOURCE_DIR) + "/shader/";

class GlowPassTest : public ::testing::Test {
protected:
    std::unique_ptr<Shader> effect, horizontal, vertical;
    Shader *savedEffect = nullptr, *savedHorizontal = nullptr, *savedVertical = nullptr;
    int savedWidth = 0, savedHeight = 0;
    float savedTime = 0.0f;

    static std::unique_ptr<Shader> project(const char* vertex, const char* fragment) {
        return std::make_unique<Shader>((kShaderDir + vertex).c_str(),
                                        (kShaderDir + fragment).c_str());
    }

    void SetUp() override {
        effect = project("effectShaderVert.txt", "effectShaderFrag.txt");
        horizontal = project("frameBufferVert.txt", "horizontalGlowFrag.txt");
        vertical = project("frameBufferVert.txt", "verticalGlowFrag.txt");
        savedEffect = effectShader;
        savedHorizontal = horizontalGlowShader;
        savedVertical = verticalGlowShader;
        savedWidth = screenWidth;
        savedHeight = screenHeight;
        savedTime = timeOfDay;
        effectShader = effect.get();
        horizontalGlowShader = horizontal.get();
        verticalGlowShader = vertical.get();
        screenWidth = 64;
        screenHeight = 48;
        createSceneFrameBuffers();
        glViewport(0, 0, screenWidth, screenHeight);
        const glm::vec3 c(0.5f);
        lampLightLeft = new PointLight(kLampLeftPosition, c, c, c, 1.0f, 0.0f, 0.0f);
        lampLightRight = new PointLight(kLampRightPosition, c, c, c, 1.0f, 0.0f, 0.0f);
        lampSpotLight = new SpotLight(glm::vec3(-5.0f, 15.0f, -20.0f), glm::vec3(0.0f), c, c, c,
                                      glm::vec3(0.0f, -1.0f, 0.0f), 1.0f, 0.0f, 0.0f, 0.9f, 0.8f);
    }
    void TearDown() override {
        delete lampLightLeft;
        delete lampLightRight;
        delete lampSpotLight;
        lampLightLeft = lampLightRight = nullptr;
        lampSpotLight = nullptr;
        releaseSceneFrameBuffers();
        effectShader = savedEffect;
        horizontalGlowShader = savedHorizontal;
        verticalGlowShader = savedVertical;
        screenWidth = savedWidth;
        screenHeight = savedHeight;
        timeOfDay = savedTime;
    }
    // A frame whose clock step went from the last frame's value to t.
    void glowAt(float t) {
        previousTimeOfDay = timeOfDay;
        timeOfDay = t;
        FramePlan plan;
        plan.lamp = lampStateAt(timeOfDay, previousTimeOfDay);
        drawGlowSources(plan);
    }
};

}  // namespace

TEST_F(GlowPassTest, LampFailsThenItsPointLightsComeBackButNotTheSpot) {
    ASSERT_NE(sceneBuffer, nullptr);
    EXPECT_NE(sceneBuffer->framebuffer, glowSourceBuffer->framebuffer);
    EXPECT_EQ(sceneBuffer->shader, effect.get());
    EXPECT_EQ(glowSourceBuffer->shader, horizontal.get());
    EXPECT_EQ(glowBlurBuffer->shader, vertical.get());
    EXPECT_EQ(glowBlurBuffer->width, 64);

    glowAt(7200.0f);  // the window is open: nothing happens yet
    EXPECT_EQ(lampSpotLight->position, glm::vec3(-5.0f, 15.0f, -20.0f));
    glowAt(7205.0f);
    EXPECT_EQ(lampSpotLight->position, kLampOutPosition);
    EXPECT_EQ(lampLightLeft->position, kLampOutPosition);
    EXPECT_EQ(lampLightRight->position, kLampOutPosition);
    glowAt(12000.0f);
    glowAt(20000.0f);
    EXPECT_EQ(lampLightLeft->position, kLampOutPosition);
    glowAt(20005.0f);
    EXPECT_EQ(lampLightLeft->position, kLampLeftPosition);
    EXPECT_EQ(lampLightRight->position, kLampRightPosition);
    EXPECT_EQ(lampSpotLight->position, kLampOutPosition);

    // A slow frame that steps over the return window still puts the lights
    // back; once past it, nothing more is done.
    glowAt(7205.0f);
    glowAt(19990.0f);
    glowAt(20030.0f);
    EXPECT_EQ(lampLightLeft->position, kLampLeftPosition);
    lampLightLeft->setPosition(kLampOutPosition);
    glowAt(20060.0f);
    EXPECT_EQ(lampLightLeft->position, kLampOutPosition);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlowPassTest, SteppedFramesMoveTheLightsLikeDrawnOnes) {
    previousTimeOfDay = 7201.0f;
    timeOfDay = 7205.0f;
    stepLampEvents();
    EXPECT_EQ(lampLightRight->position, kLampOutPosition);
    previousTimeOfDay = timeOfDay;
    timeOfDay = 20001.0f;
    stepLampEvents();
    EXPECT_EQ(lampLightRight->position, kLampRightPosition);
    EXPECT_EQ(lampSpotLight->position, kLampOutPosition);
}

TEST_F(GlowPassTest, PassesRunInTheFramesOrderAndLeaveTheWindowBoundWithAlphaBlending) {
    std::vector<std::string> names;
    for (const Pass& pass : framePasses()) names.push_back(pass.name);
    EXPECT_EQ(names, (std::vector<std::string>{"environment capture", "water reflection",
                                               "water refraction", "sky turn", "shadow",
                                               "glow sources", "glow blur", "main", "resolve"}));
    EXPECT_EQ(framePasses()[4].state.cullFace, GLenum(GL_FRONT));

    // A state a pass could leave behind: the runner sets each pass's own.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    glBlendFunc(GL_ONE, GL_ONE);
    glCullFace(GL_FRONT);
    FramePlan plan;
    plan.lamp = lampStateAt(6000.0f, 5990.0f);
    runPasses(plan);

    GLint bound = -1, program = -1, src = 0, dst = 0, cull = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_BLEND_SRC_RGB, &src);
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    glGetIntegerv(GL_CULL_FACE_MODE, &cull);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(cull, GL_BACK);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    // The main pass cleared the whole scene buffer to opaque black, though a
    // one-pixel scissor was left on before the frame.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneBuffer->framebuffer);
    float pixel[4] = {1, 1, 1, 0};
    glReadPixels(40, 30, 1, 1, GL_RGBA, GL_FLOAT, pixel);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    EXPECT_EQ(pixel[0], 0.0f);
    EXPECT_EQ(pixel[3], 1.0f);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}
