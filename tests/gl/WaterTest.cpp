// The water's two off-screen targets, the surface with its uniforms and the
// state its draw leaves, what it shows from above and from the side, and the
// two passes of a frame: clip planes and the camera put back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <memory>
#include <vector>

#include "app/AdaptiveQuality.h"
#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "effects/Water.h"
#include "effects/WaterFrameBuffers.h"
#include "frame/FramePasses.h"
#include "frame/FramePlan.h"
#include "frame/WaterPasses.h"
#include "gl/GlTestSupport.h"
#include "render/Shader.h"
#include "scene/Scene.h"

namespace {

// The frame's two water passes, as the runner runs them.
void runWaterPasses(const FramePlan& plan) {
    for (const Pass& pass : framePasses())
        if (pass.target == Target::WaterReflection || pass.target == Target::WaterRefraction)
            runPass(pass, plan);
}

GLint glInt(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

GLint texLevel(GLuint texture, GLenum what) {
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint texParam(GLuint texture, GLenum what) {
    GLint value = -1;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

GLint textureOnUnit(int unit) {
    const GLint active = glInt(GL_ACTIVE_TEXTURE);
    glActiveTexture(GL_TEXTURE0 + unit);
    const GLint bound = glInt(GL_TEXTURE_BINDING_2D);
    glActiveTexture(GLenum(active));
    return bound;
}

glm::vec4 uniformVec4(const Shader* shader, const char* name) {
    GLfloat v[4] = {-999, -999, -999, -999};
    glGetUniformfv(shader->program, glGetUniformLocation(shader->program, name), v);
    return glm::vec4(v[0], v[1], v[2], v[3]);
}

float uniformFloat(const Shader* shader, const char* name) {
    GLfloat v = -999;
    glGetUniformfv(shader->program, glGetUniformLocation(shader->program, name), &v);
    return v;
}

glm::mat4 uniformMat4(const Shader* shader, const char* name) {
    glm::mat4 m(0.0f);
    glGetUniformfv(shader->program, glGetUniformLocation(shader->program, name), glm::value_ptr(m));
    return m;
}

GLenum statusOf(GLuint frameBuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return status;
}

void clearTarget(GLuint frameBuffer, glm::vec3 colour, float depth) {
    glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    glClearColor(colour.r, colour.g, colour.b, 1.0f);
    glClearDepth(depth);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// The real programs of the three water-pass shaders and the water's own, with
// a screen projection; the globals are cleared again afterwards.
class WaterTest : public ::testing::Test {
protected:
    std::unique_ptr<WaterFrameBuffers> buffers;
    std::unique_ptr<Water> lake;

    void SetUp() override {
        captureStdout([] {
            modelShader =
                new Shader("../shader/model_loadingVert.txt", "../shader/model_loadingFrag.txt");
            terrainShader = new Shader("../shader/terrainVert.txt", "../shader/terrainFrag.txt");
            cubemapShader = new Shader("../shader/cubemapVert.txt", "../shader/cubemapFrag.txt");
            waterShader = new Shader("../shader/waterVert.txt", "../shader/waterFrag.txt");
        });
        uploadProjection({modelShader, terrainShader, cubemapShader, waterShader},
                         screenProjection(64, 64));
        buffers = std::make_unique<WaterFrameBuffers>(64, 48);
        lake = std::make_unique<Water>(std::vector<Shader*>{modelShader, terrainShader},
                                       buffers.get(), WaterSettings());
        glUseProgram(0);
        takeGlError();
    }
    void TearDown() override {
        water = nullptr;
        waterFrameBuffers = nullptr;
        mainCamera = nullptr;
        lake.reset();
        buffers.reset();
        for (Shader** s : {&modelShader, &terrainShader, &cubemapShader, &waterShader}) {
            delete *s;
            *s = nullptr;
        }
        glViewport(0, 0, 64, 64);
        takeGlError();
    }

    // Draws the lake into a 64 x 64 target seen by `camera`; returns the
    // centre pixel (RGBA, 0..255). The target is cleared to black first.
    std::array<int, 4> drawSeenBy(const Camera& camera) { return drawRowSeenBy(camera)[32]; }

    // As drawSeenBy, but returns a whole row (the middle one unless given),
    // left to right.
    // A 64 x 64 colour and depth target, bound and cleared to black with
    // the far depth; depth test on, blending off, seen by `camera`.
    struct Target {
        GLuint fbo = 0, colour = 0, depth = 0;
    };
    Target beginTarget(const Camera& camera) {
        Target t;
        glGenFramebuffers(1, &t.fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, t.fbo);
        glGenTextures(1, &t.colour);
        glBindTexture(GL_TEXTURE_2D, t.colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t.colour, 0);
        glGenRenderbuffers(1, &t.depth);
        glBindRenderbuffer(GL_RENDERBUFFER, t.depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, 64, 64);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, t.depth);
        glViewport(0, 0, 64, 64);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        Camera eye = camera;
        eye.applyView(waterShader);
        return t;
    }
    void endTarget(const Target& t) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &t.fbo);
        glDeleteTextures(1, &t.colour);
        glDeleteRenderbuffers(1, &t.depth);
    }

    std::vector<std::array<int, 4>> drawRowSeenBy(const Camera& camera, int y = 32) {
        const Target target = beginTarget(camera);
        lake->draw();
        unsigned char pixels[64 * 4] = {};
        glReadPixels(0, y, 64, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        endTarget(target);
        std::vector<std::array<int, 4>> row(64);
        for (int x = 0; x < 64; ++x)
            for (int c = 0; c < 4; ++c) row[x][c] = pixels[x * 4 + c];
        return row;
    }
};

// The window depth at which `camera` (on a square target) sees `point`.
float depthSeen(const Camera& camera, glm::vec3 point) {
    const glm::vec4 clip = screenProjection(64, 64) * camera.viewMatrix() * glm::vec4(point, 1);
    return clip.z / clip.w * 0.5f + 0.5f;
}

// Looking almost straight down on the lake from 22 units above it.
Camera lookingDown() {
    Camera down({0, 20, 0}, nullptr);
    down.controlPoints.assign(4, glm::vec3(0));
    down.front = glm::normalize(glm::vec3(0.01f, -1, 0));
    down.updateCameraVectors();
    return down;
}

}  // namespace

TEST_F(WaterTest, TargetsAreSmallFixedAndComplete) {
    for (GLuint texture : {buffers->reflectionTexture, buffers->refractionTexture}) {
        EXPECT_EQ(texLevel(texture, GL_TEXTURE_WIDTH), 500);
        EXPECT_EQ(texLevel(texture, GL_TEXTURE_HEIGHT), 300);
        EXPECT_GT(texLevel(texture, GL_TEXTURE_RED_SIZE), 0);
        EXPECT_EQ(texLevel(texture, GL_TEXTURE_ALPHA_SIZE), 0);  // RGB, no alpha
        EXPECT_EQ(texParam(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(texParam(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
    const GLuint depth = buffers->refractionDepthTexture;
    EXPECT_EQ(texLevel(depth, GL_TEXTURE_WIDTH), 500);
    EXPECT_EQ(texLevel(depth, GL_TEXTURE_HEIGHT), 300);
    EXPECT_EQ(texLevel(depth, GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT32);
    EXPECT_EQ(texParam(depth, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(texParam(depth, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(texParam(depth, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    GLint width = 0, height = 0, depthBits = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, buffers->reflectionDepthBuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 300);
    EXPECT_GT(depthBits, 0);

    EXPECT_EQ(statusOf(buffers->reflectionFrameBuffer), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(statusOf(buffers->refractionFrameBuffer), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(WaterTest, BindingSwitchesViewportAndUnbindingRestoresTheWindow) {
    glBindTexture(GL_TEXTURE_2D, lake->normalTexture.id);
    buffers->bindReflectionFrameBuffer(FrameChoices{});
    EXPECT_EQ(glInt(GL_FRAMEBUFFER_BINDING), GLint(buffers->reflectionFrameBuffer));
    EXPECT_EQ(glInt(GL_TEXTURE_BINDING_2D), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 500);
    EXPECT_EQ(viewport[3], 300);

    buffers->bindRefractionFrameBuffer(FrameChoices{});
    EXPECT_EQ(glInt(GL_FRAMEBUFFER_BINDING), GLint(buffers->refractionFrameBuffer));
    buffers->unbindCurrentFrameBuffer();
    EXPECT_EQ(glInt(GL_FRAMEBUFFER_BINDING), 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 48);
}

TEST_F(WaterTest, ConstantUniformsMeshAndMaps) {
    EXPECT_EQ(lake->shader, waterShader);
    EXPECT_FLOAT_EQ(uniformFloat(waterShader, "bumpiness"), 2.0f);
    EXPECT_FLOAT_EQ(uniformFloat(waterShader, "shineDumper"), 1.0f);
    EXPECT_FLOAT_EQ(uniformFloat(waterShader, "halfWaterColorRange"), 25.0f);
    EXPECT_FLOAT_EQ(uniformFloat(waterShader, "transparencyRange"), 0.7f);
    EXPECT_EQ(uniformMat4(waterShader, "model")[3], glm::vec4(0, -2, 0, 1));
    for (const char* name : {"reflectionTexture", "refractionTexture", "depthTexture", "DUDVMap",
                             "normalMap", "moveFactor"})
        EXPECT_GE(glGetUniformLocation(waterShader->program, name), 0) << name;
    EXPECT_EQ(lake->indices, (std::vector<unsigned int>{0, 2, 1, 2, 3, 1}));
    ASSERT_EQ(lake->vertices.size(), 4u);
    EXPECT_EQ(lake->vertices[3], glm::vec3(500, 0, 500));
    EXPECT_EQ(lake->dudvTexture.path, "../textures/water/DUDVMap.png");
    EXPECT_TRUE(glIsTexture(lake->dudvTexture.id));
    EXPECT_TRUE(glIsTexture(lake->normalTexture.id));
}

TEST_F(WaterTest, ClipPlaneReachesModelAndTerrainShaders) {
    lake->setClipPlane(glm::vec4(0, 1, 0, 2), "waterClipPlane");
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), GLint(terrainShader->program));
    EXPECT_EQ(uniformVec4(modelShader, "waterClipPlane"), glm::vec4(0, 1, 0, 2));
    EXPECT_EQ(uniformVec4(terrainShader, "waterClipPlane"), glm::vec4(0, 1, 0, 2));
    glUseProgram(0);
}

TEST_F(WaterTest, DrawScrollsAndLeavesTheStateItPromises) {
    deltaTime = 2.0f;
    lake->moveFactor = 0.98f;
    Camera eye({0, 10, 0}, nullptr);
    drawSeenBy(eye);
    EXPECT_NEAR(lake->moveFactor, 0.03f, 1e-5f);
    EXPECT_FLOAT_EQ(uniformFloat(waterShader, "moveFactor"), lake->moveFactor);
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(glInt(GL_ACTIVE_TEXTURE), GL_TEXTURE3);
    for (int unit = 0; unit < 4; ++unit) EXPECT_EQ(textureOnUnit(unit), 0) << unit;
    EXPECT_EQ(textureOnUnit(4), GLint(lake->normalTexture.id));
    EXPECT_EQ(glInt(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));

    deltaTime = 0.0f;
    const float before = lake->moveFactor;
    drawSeenBy(eye);
    EXPECT_EQ(lake->moveFactor, before);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(WaterTest, SteepViewShowsTheBedAndGrazingViewTheMirrorImage) {
    deltaTime = 0.0f;
    // A red bed three units below the surface; the mirror image green.
    const Camera down = lookingDown();
    clearTarget(buffers->refractionFrameBuffer, {1, 0, 0}, depthSeen(down, {0, -5, 0}));
    clearTarget(buffers->reflectionFrameBuffer, {0, 1, 0}, 1.0f);
    const auto steep = drawSeenBy(down);
    EXPECT_GT(steep[0], 2 * steep[1]);
    EXPECT_EQ(steep[3], 255);

    Camera side({0, -1.9f, 0}, nullptr);
    side.controlPoints.assign(4, glm::vec3(0));
    side.front = glm::normalize(glm::vec3(0, -0.02f, -1));
    side.updateCameraVectors();
    const auto grazing = drawSeenBy(side);
    EXPECT_GT(grazing[1], 2 * grazing[0]);
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(WaterTest, ShallowWaterAndTheShoreFadeOut) {
    deltaTime = 0.0f;
    // A bed just under the surface, then one well below it.
    const Camera down = lookingDown();
    clearTarget(buffers->refractionFrameBuffer, {1, 0, 0}, depthSeen(down, {0, -2.05f, 0}));
    EXPECT_LT(drawSeenBy(down)[3], 40);
    clearTarget(buffers->refractionFrameBuffer, {1, 0, 0}, depthSeen(down, {0, -4, 0}));
    EXPECT_EQ(drawSeenBy(down)[3], 255);

    // The shore: land above the surface is clipped out of the refraction
    // image, which holds the far plane there, next to a bed just under the
    // surface. Across the line where the two meet, and where only the far
    // plane was seen, the water stays faint: no band of full water colour.
    clearTarget(buffers->refractionFrameBuffer, {1, 0, 0}, depthSeen(down, {0, -2.05f, 0}));
    glBindFramebuffer(GL_FRAMEBUFFER, buffers->refractionFrameBuffer);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, WaterFrameBuffers::kWidth / 2, WaterFrameBuffers::kHeight);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const std::vector<std::array<int, 4>> row = drawRowSeenBy(down);
    int strongest = 0;
    for (const auto& pixel : row) strongest = std::max(strongest, pixel[3]);
    EXPECT_LT(strongest, 40);
    glActiveTexture(GL_TEXTURE0);
}

// A reduced frame reads only the part of the targets it drew, also at the
// picture's edges: the colour targets repeat, and a lookup at their lower
// edge would blend in the unused far edge (magenta here).
TEST_F(WaterTest, AReducedFrameReadsOnlyThePartItDrew) {
    deltaTime = 0.0f;
    const Camera down = lookingDown();
    setRenderScale(0.3f);
    for (GLuint target : {buffers->reflectionFrameBuffer, buffers->refractionFrameBuffer}) {
        clearTarget(target, {1, 0, 1}, depthSeen(down, {0, -5, 0}));
        glBindFramebuffer(GL_FRAMEBUFFER, target);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, scaledSide(WaterFrameBuffers::kWidth),
                  scaledSide(WaterFrameBuffers::kHeight));
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    for (int y : {0, 63}) {
        const std::vector<std::array<int, 4>> row = drawRowSeenBy(down, y);
        for (size_t x = 0; x < row.size(); ++x)
            EXPECT_LT(row[x][0], 8) << "row " << y << ", pixel " << x;
    }
    setRenderScale(1.0f);
    quality.wholeClears = false;
    glActiveTexture(GL_TEXTURE0);
}

// The deep-water mark: a depth just behind the surface where the water will
// be opaque, outside the kept-out rows only and never on shallow water; the
// surface drawn afterwards still passes its depth test on it everywhere.
TEST_F(WaterTest, TheDeepWaterMarkLiesJustBehindTheOpaqueSurfaceOnly) {
    deltaTime = 0.0f;
    captureStdout([] {
        deepWaterShader = new Shader("../shader/waterVert.txt", "../shader/waterFrag.txt",
                                     "#define DEEP_WATER_ONLY");
    });
    const Camera down = lookingDown();
    // Shallow bed on the left half of the image, deep on the right.
    clearTarget(buffers->refractionFrameBuffer, {1, 0, 0}, depthSeen(down, {0, -4, 0}));
    glBindFramebuffer(GL_FRAMEBUFFER, buffers->refractionFrameBuffer);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, WaterFrameBuffers::kWidth / 2, WaterFrameBuffers::kHeight);
    glClearDepth(depthSeen(down, {0, -2.05f, 0}));
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glDisable(GL_SCISSOR_TEST);

    const Target target = beginTarget(down);
    lake->markDeepWater({0, 40, 64, 64});

    std::vector<float> marked(64 * 64, -1.0f);
    glReadPixels(0, 0, 64, 64, GL_DEPTH_COMPONENT, GL_FLOAT, marked.data());
    unsigned char unlit[4] = {9, 9, 9, 9};
    glReadPixels(48, 20, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, unlit);
    EXPECT_EQ(unlit[0] + unlit[1] + unlit[2] + unlit[3], 0);  // no colour written
    for (int y : {4, 20, 36}) EXPECT_EQ(marked[y * 64 + 10], 1.0f) << "shallow, row " << y;
    for (int x : {10, 54}) EXPECT_EQ(marked[50 * 64 + x], 1.0f) << "kept out, pixel " << x;

    lake->draw();
    unsigned char pixels[64 * 64 * 4] = {};
    glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    std::vector<float> surface(64 * 64, -1.0f);
    glReadPixels(0, 0, 64, 64, GL_DEPTH_COMPONENT, GL_FLOAT, surface.data());
    for (int y = 0; y < 40; ++y) {
        for (int x = 40; x < 64; ++x) {
            const int at = y * 64 + x;
            ASSERT_EQ(pixels[at * 4 + 3], 255) << "surface missing at " << x << ", " << y;
            ASSERT_GT(marked[at], surface[at]) << x << ", " << y;
            ASSERT_LT(marked[at], surface[at] + 1e-5f) << x << ", " << y;
        }
    }

    endTarget(target);
    delete deepWaterShader;
    deepWaterShader = nullptr;
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(WaterTest, PassesResetTheClipPlaneAndPutTheCameraBack) {
    Camera camera({30, 6, 10}, nullptr);
    camera.front = glm::normalize(glm::vec3(-0.5f, -0.3f, -1));
    camera.turnStep = 0.5f;
    camera.updateCameraVectors();
    Camera reference = camera;
    for (int i = 0; i < 3; ++i) reference.updateCameraVectors();
    water = lake.get();
    waterFrameBuffers = buffers.get();
    mainCamera = &camera;

    // The plan works out on a copy the eyes the passes give the programs.
    const FramePlan plan = planFrame(eyeOf(camera), camera, false);
    runWaterPasses(plan);
    EXPECT_EQ(camera.position, reference.position);
    EXPECT_NEAR(glm::distance(camera.front, reference.front), 0.0f, 1e-6f);
    EXPECT_NEAR(glm::distance(camera.up, reference.up), 0.0f, 1e-6f);
    EXPECT_NEAR(glm::distance(camera.right, reference.right), 0.0f, 1e-6f);
    // The three pass shaders hold the restored view again: the plan's eye
    // after the water passes, turned three times.
    for (Shader* s : {terrainShader, modelShader, cubemapShader})
        EXPECT_EQ(uniformMat4(s, "view"), reference.viewMatrix());
    EXPECT_EQ(plan.afterWater.view, reference.viewMatrix());
    EXPECT_EQ(plan.terrain.eye.view, reference.viewMatrix());
    EXPECT_NE(plan.mirrored.view, plan.afterWater.view);
    for (Shader* s : {modelShader, terrainShader})
        EXPECT_EQ(uniformVec4(s, "waterClipPlane"), glm::vec4(0, 1, 0, 10000));
    EXPECT_EQ(glInt(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glInt(GL_CURRENT_PROGRAM), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);

    // Both targets were cleared to the frame's colour.
    for (GLuint fbo : {buffers->reflectionFrameBuffer, buffers->refractionFrameBuffer}) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
        unsigned char pixel[3] = {};
        glReadPixels(250, 150, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
        EXPECT_NEAR(pixel[0], 105, 1);
        EXPECT_NEAR(pixel[2], 107, 1);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(WaterTest, AFrameThatKeepsTheTargetsStillStepsTheCameraAndLeavesThemAsDrawn) {
    Camera camera({30, 6, 10}, nullptr);
    camera.front = glm::normalize(glm::vec3(-0.5f, -0.3f, -1));
    camera.turnStep = 0.5f;
    camera.updateCameraVectors();
    water = lake.get();
    waterFrameBuffers = buffers.get();
    mainCamera = &camera;
    runWaterPasses(planFrame(eyeOf(camera), camera, false));
    // What the last drawing frame left in the targets.
    for (GLuint fbo : {buffers->reflectionFrameBuffer, buffers->refractionFrameBuffer}) {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    Camera reference = camera;
    for (int i = 0; i < 3; ++i) reference.updateCameraVectors();

    FramePlan kept = planFrame(eyeOf(camera), camera, false);
    kept.waterKept = true;
    runWaterPasses(kept);
    // The camera took the passes' steps; the targets hold what they held.
    EXPECT_NEAR(glm::distance(camera.front, reference.front), 0.0f, 1e-6f);
    for (GLuint fbo : {buffers->reflectionFrameBuffer, buffers->refractionFrameBuffer}) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
        unsigned char pixel[3] = {};
        glReadPixels(250, 150, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
        EXPECT_EQ(pixel[1], 255);
        EXPECT_EQ(pixel[0], 0);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    EXPECT_TRUE(buffers->keptLastFrame);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST_F(WaterTest, PassesWithoutAWaterDoNothing) {
    Camera camera({30, 6, 10}, nullptr);
    mainCamera = &camera;
    lake->setClipPlane(glm::vec4(1, 2, 3, 4), "waterClipPlane");
    runWaterPasses(planFrame(eyeOf(camera), camera, false));
    EXPECT_EQ(uniformVec4(modelShader, "waterClipPlane"), glm::vec4(1, 2, 3, 4));
    EXPECT_EQ(camera.position, glm::vec3(30, 6, 10));
    glUseProgram(0);
}
