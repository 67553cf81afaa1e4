// The vase's environment target and its capture: the cube map's faces, what a
// capture draws into which face, and the state it hands back to the frame.
#include <gtest/gtest.h>

#include <glm/gtc/type_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "effects/CubeMapFrameBuffer.h"
#include "effects/Skybox.h"
#include "frame/EnvironmentCapture.h"
#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/Model.h"
#include "render/Shader.h"
#include "scene/Entity.h"
#include "scene/Scene.h"

namespace {

const std::string kShaderDir = std::string(MD_SOURCE_DIR) + "/shader/";

std::unique_ptr<Shader> projectShader(const char* vertex, const char* fragment) {
    return std::make_unique<Shader>((kShaderDir + vertex).c_str(), (kShaderDir + fragment).c_str());
}

GLint intState(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

glm::mat4 uniformMat4(const Shader& shader, const char* name) {
    glm::mat4 m(-7.0f);
    glGetUniformfv(shader.program, glGetUniformLocation(shader.program, name), glm::value_ptr(m));
    return m;
}

// Saves the globals a capture reads or writes and puts them back.
struct CaptureGlobals {
    int width = screenWidth, height = screenHeight;
    Shader *model = modelShader, *sky = cubemapShader, *reflection = reflectionShader,
           *quad = frameBufferShader;
    Camera *main = mainCamera, *capture = captureCamera;
    Entity* vaseEntity = vase;
    Skybox* sky_box = skybox;
    std::vector<Entity*> captured = capturedEntities;
    CubeMapFrameBuffer* target = environmentTarget;
    ~CaptureGlobals() {
        screenWidth = width, screenHeight = height;
        modelShader = model, cubemapShader = sky, reflectionShader = reflection;
        frameBufferShader = quad;
        mainCamera = main, captureCamera = capture, vase = vaseEntity, skybox = sky_box;
        capturedEntities = captured;
        environmentTarget = target;
    }
};

// A square, 4 wide, in the plane x = 5, facing both ways.
const char* kWallObj = R"(v 5 -2 -2
v 5 2 -2
v 5 2 2
v 5 -2 2
vn -1 0 0
f 1//1 2//1 3//1
f 1//1 3//1 4//1
)";

// Paints whatever the model program draws plain white.
const char* kWhiteFragment = R"(#version 330 core
in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;
out vec4 FragColor;
void main() { FragColor = vec4(1.0); }
)";

}  // namespace

TEST(EnvironmentCapture, TargetIsACompleteCubeOf1024FacesWhateverTheWindow) {
    CaptureGlobals saved;
    screenWidth = 320;
    screenHeight = 200;
    frameBufferShader = nullptr;
    createEnvironmentTarget();
    ASSERT_NE(environmentTarget, nullptr);
    const CubeMapFrameBuffer& t = *environmentTarget;
    EXPECT_EQ(t.width, 320);
    EXPECT_EQ(t.height, 200);
    EXPECT_EQ(t.size, 1024);
    EXPECT_EQ(intState(GL_FRAMEBUFFER_BINDING), 0);

    for (GLenum i = 0; i < 6; ++i) {
        const GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X + i;
        EXPECT_EQ(texLevel(t.cubeMap, face, 0, GL_TEXTURE_WIDTH), 1024) << i;
        EXPECT_EQ(texLevel(t.cubeMap, face, 0, GL_TEXTURE_HEIGHT), 1024) << i;
        const GLint format = texLevel(t.cubeMap, face, 0, GL_TEXTURE_INTERNAL_FORMAT);
        EXPECT_TRUE(format == GL_RGB || format == GL_RGB8) << std::hex << format;
        EXPECT_EQ(texLevel(t.cubeMap, face, 0, GL_TEXTURE_ALPHA_SIZE), 0) << i;
        EXPECT_EQ(texLevel(t.cubeMap, face, 1, GL_TEXTURE_WIDTH), 0) << "no mipmaps";
    }
    glBindTexture(GL_TEXTURE_CUBE_MAP, t.cubeMap);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R}) {
        glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, wrap, &value);
        EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    }
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);

    glBindRenderbuffer(GL_RENDERBUFFER, t.renderbuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &value);
    EXPECT_EQ(value, 1024);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &value);
    EXPECT_EQ(value, 1024);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &value);
    EXPECT_GT(value, 0);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    // Every face, once attached, makes a complete target.
    glBindFramebuffer(GL_FRAMEBUFFER, t.framebuffer);
    for (int face = 0; face < 6; ++face) {
        t.attachFace(face);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    }
    t.attachFace(6);  // out of range: the last face stays attached
    GLint attached = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_TEXTURE_CUBE_MAP_FACE,
                                          &attached);
    EXPECT_EQ(attached, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    const GLuint name = t.cubeMap;
    releaseEnvironmentTarget();
    EXPECT_EQ(environmentTarget, nullptr);
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

// White walls east and west of the capture point show in the +X and -X
// faces only; afterwards the frame gets its own state back.
TEST(EnvironmentCapture, DrawsTheCapturedEntitiesFaceByFaceAndRestoresTheFrameState) {
    CaptureGlobals saved;
    screenWidth = 320;
    screenHeight = 200;
    const auto folder = freshTempFolder("environment_capture");
    writeText(folder / "wall.obj", kWallObj);
    Model wall((folder / "wall.obj").c_str(), false, false);
    const auto white = writeTempFile("captureWhite.frag", kWhiteFragment);
    Shader model((kShaderDir + "model_loadingVert.txt").c_str(), white.c_str());
    auto sky = projectShader("cubemapVert.txt", "cubemapFrag.txt");
    auto reflection = projectShader("reflectionVert.txt", "reflectionFrag.txt");
    modelShader = &model;
    cubemapShader = sky.get();
    reflectionShader = reflection.get();
    frameBufferShader = nullptr;
    skybox = nullptr;

    Camera main(glm::vec3(0.0f, 3.0f, 2.0f), nullptr);
    main.freeMode = true;
    main.yaw = 30.0f;
    main.updateCameraVectors();
    Camera capture(glm::vec3(0.0f), nullptr);
    capture.freeMode = true;
    Entity vaseEntity(nullptr, glm::vec3(1.0f, 8.0f, 1.5f), glm::vec3(0.0f), glm::vec3(1.0f), 1);
    const glm::vec3 eye(1.0f, 8.5f, 1.5f);
    Entity wallEntity(&wall, eye, glm::vec3(0.0f), glm::vec3(1.0f), 3);
    mainCamera = &main;
    captureCamera = &capture;
    vase = &vaseEntity;
    // The same wall moved 11 units west lies 6 units west of the eye.
    Entity westWall(&wall, eye - glm::vec3(11.0f, 0.0f, 0.0f), glm::vec3(0.0f), glm::vec3(1.0f), 3);
    capturedEntities = {&wallEntity, &westWall};
    createEnvironmentTarget();

    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glViewport(0, 0, 17, 19);
    glActiveTexture(GL_TEXTURE0);
    captureEnvironment();

    EXPECT_EQ(capture.position, eye);
    EXPECT_EQ(capture.worldUp, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(intState(GL_FRAMEBUFFER_BINDING), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 200);
    EXPECT_EQ(intState(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(intState(GL_ACTIVE_TEXTURE), GL_TEXTURE5);
    EXPECT_EQ(intState(GL_TEXTURE_BINDING_CUBE_MAP), GLint(environmentTarget->cubeMap));
    EXPECT_EQ(uniformInt(reflection->program, "environmentMap"), 5);
    const glm::mat4 screen = screenProjection(320, 200);
    for (const Shader* s :
         {static_cast<const Shader*>(&model), static_cast<const Shader*>(sky.get())}) {
        EXPECT_EQ(uniformMat4(*s, "projection"), screen);
        EXPECT_EQ(uniformMat4(*s, "view"), main.viewMatrix());
    }

    for (GLenum i = 0; i < 6; ++i) {
        const auto pixels =
            readTexture(environmentTarget->cubeMap, GL_TEXTURE_CUBE_MAP_POSITIVE_X + i);
        ASSERT_EQ(pixels.size(), size_t(1024) * 1024 * 4);
        const size_t centre = (size_t(512) * 1024 + 512) * 4;
        EXPECT_EQ(int(pixels[centre]), i <= 1 ? 255 : 0) << "face " << i;
    }
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));

    releaseEnvironmentTarget();
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
}

// Without a target there is nothing to render into: nothing changes.
TEST(EnvironmentCapture, WithoutATargetNothingHappens) {
    CaptureGlobals saved;
    environmentTarget = nullptr;
    Camera capture(glm::vec3(4.0f), nullptr);
    captureCamera = &capture;
    glActiveTexture(GL_TEXTURE0);
    captureEnvironment();
    EXPECT_EQ(capture.position, glm::vec3(4.0f));
    EXPECT_EQ(intState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}
