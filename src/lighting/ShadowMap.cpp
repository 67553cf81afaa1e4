#include "lighting/ShadowMap.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <utility>

#include "camera/Camera.h"
#include "core/Globals.h"
#include "lighting/DirectionalLight.h"
#include "lighting/ShadowMath.h"
#include "platform/GlCompat.h"
#include "render/RenderTargets.h"
#include "render/Shader.h"

namespace {

constexpr int kShadowTextureUnit = 5;
constexpr float kPolygonOffsetFactor = 5.2f;

}  // namespace

ShadowMap::ShadowMap(std::vector<Shader*> shaders, DirectionalLight* light, Camera* camera)
    : shader(depthShader),
      shaders(std::move(shaders)),
      light(light),
      camera(camera),
      viewportWidth(screenWidth),
      viewportHeight(screenHeight),
      nearPlane(kShadowNearPlane),
      farPlane(kShadowFarPlane) {
    // A window too large for five times its size gets the largest map the
    // device can hold instead of a texture that cannot exist.
    GLint maxTexture = 0, maxRenderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
    GLint maxViewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
    int maxSide = maxTexture;
    if (maxRenderbuffer > 0 && maxRenderbuffer < maxSide) maxSide = maxRenderbuffer;
    shadowWidth = shadowMapSide(
        viewportWidth, maxViewport[0] > 0 && maxViewport[0] < maxSide ? maxViewport[0] : maxSide);
    shadowHeight = shadowMapSide(
        viewportHeight, maxViewport[1] > 0 && maxViewport[1] < maxSide ? maxViewport[1] : maxSide);

    glGenFramebuffers(1, &depthMapFBO);
    glGenTextures(1, &depthMap);
    glBindTexture(GL_TEXTURE_2D, depthMap);
    allocateDepthTexture(GL_DEPTH_COMPONENT, shadowWidth, shadowHeight);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // Lookups outside the map read the farthest depth: nothing is shadowed there.
    const GLfloat border[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    clampToBorder(border);

    glBindFramebuffer(GL_FRAMEBUFFER, depthMapFBO);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depthMap, 0);
    selectDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE)
        std::cout << "ERROR: Framebuffer is not ok, because  = " << status << std::endl;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

ShadowMap::~ShadowMap() {
    // Needs the context: the application deletes the shadow map before the window.
    glDeleteFramebuffers(1, &depthMapFBO);
    glDeleteTextures(1, &depthMap);
}

void ShadowMap::clearDepthMap(const FrameChoices& choices, const std::vector<Box>* casterBoxes) {
    const int width = choices.shadowSide(shadowWidth), height = choices.shadowSide(shadowHeight);
    std::vector<PixelRect> now;
    if (casterBoxes)
        for (const Box& box : *casterBoxes) {
            const PixelRect r = projectBox(lightSpaceMatrix, box, width, height);
            if (!r.empty()) now.push_back(r);
        }
    const bool partial = casterBoxes && choices.shadowClear && restCleared && !choices.wholeClears;
    if (!partial) {
        clearDrawnPart(GL_DEPTH_BUFFER_BIT, width, height, choices);
    } else {
        for (const std::vector<PixelRect>* rects : {&writtenRects, &now})
            for (const PixelRect& r : *rects) clearRect(GL_DEPTH_BUFFER_BIT, r);
    }
    restCleared = casterBoxes && choices.shadowClear;
    writtenRects = std::move(now);
}

bool ShadowMap::mayShadow(const Box& box) const {
    if (box.empty || !restCleared || drawnWidth != shadowWidth || drawnHeight != shadowHeight)
        return true;
    // The box's texels: its corners in the map, grown by the filter's one
    // texel and one more against rounding.
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    glm::vec4 corners[8];
    boxCorners(box, corners);
    for (const glm::vec4& corner : corners) {
        const glm::vec4 clip = lightSpaceMatrix * corner;
        if (!(clip.w > 0.0f)) return true;
        const float x = (clip.x / clip.w * 0.5f + 0.5f) * float(shadowWidth);
        const float y = (clip.y / clip.w * 0.5f + 0.5f) * float(shadowHeight);
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    constexpr float kReach = 2.0f;
    if (x1 + kReach < 0.0f || y1 + kReach < 0.0f || x0 - kReach >= float(shadowWidth) ||
        y0 - kReach >= float(shadowHeight))
        return false;  // wholly outside the map: the border
    const PixelRect reads{int(std::floor(x0 - kReach)), int(std::floor(y0 - kReach)),
                          int(std::ceil(x1 + kReach)) + 1, int(std::ceil(y1 + kReach)) + 1};
    return std::any_of(writtenRects.begin(), writtenRects.end(),
                       [&](const PixelRect& r) { return overlap(r, reads); });
}

bool ShadowMap::shadowMayFall(const Box& box) const {
    return passDrawn ? mayShadow(box) : matrixHandedOut;
}

void ShadowMap::stepLightView() {
    if (light) {
        // The camera stands at the light while the light's view is built and
        // is put back afterwards; each vector update is one step of its turn.
        const glm::vec3 lightPosition = light->position;
        if (camera) {
            const glm::vec3 remembered = camera->position;
            camera->position = lightPosition;
            camera->updateCameraVectors();
            camera->position = remembered;
            camera->updateCameraVectors();
        }
        lightProjection = lightProjectionMatrix(nearPlane, farPlane);
        lightNow = lightProjection * lightViewMatrix(lightPosition, light->direction);
    }
}

bool ShadowMap::keepsMap(const FrameChoices& choices) const {
    if (!passDrawn || !light || choices.shadowKeepTexels <= 0.0 || choices.wholeClears ||
        drawnWidth != choices.shadowSide(shadowWidth) ||
        drawnHeight != choices.shadowSide(shadowHeight))
        return false;
    if (choices.shadowEveryOther && drawnLastFrame) return true;
    const double texel = 2.0 * double(kShadowHalfExtent) / double(std::max(drawnWidth, 1));
    return double(shadowShiftOnGround(casterBoxes, drawnDirection, light->direction)) <=
           choices.shadowKeepTexels * texel;
}

void ShadowMap::beginShadowPass(const FrameChoices& choices, const std::vector<Box>* casterBoxes) {
    stepLightView();
    if (light) {
        lightSpaceMatrix = lightNow;
        drawnDirection = light->direction;
    }

    if (shader) {
        shader->use();
        shader->setMat4("lightSpaceMatrix", lightSpaceMatrix);
    }
    drawnWidth = choices.shadowSide(shadowWidth);
    drawnHeight = choices.shadowSide(shadowHeight);
    resumeShadowPass();
    clearDepthMap(choices, casterBoxes);
}

void ShadowMap::resumeShadowPass() {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(kPolygonOffsetFactor, 0.0f);
    if (shader) shader->use();
    glViewport(0, 0, drawnWidth, drawnHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, depthMapFBO);
}

void ShadowMap::bindShadowMap() {
    matrixHandedOut = matrixHandedOut || lightSpaceMatrix != glm::mat4(0.0f);
    for (Shader* receiver : shaders) {
        if (!receiver) continue;
        receiver->use();
        receiver->setMat4("lightSpaceMatrix", lightSpaceMatrix);
        glActiveTexture(GL_TEXTURE0 + kShadowTextureUnit);
        receiver->setInt("shadowMap", kShadowTextureUnit);
        glBindTexture(GL_TEXTURE_2D, depthMap);
        glUseProgram(0);
    }
}
