#include "app/EnvironmentCapture.h"

#include <GL/glew.h>

#include "app/DayClock.h"
#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "effects/CubeMapFrameBuffer.h"
#include "effects/Skybox.h"
#include "render/PassTimer.h"
#include "render/Shader.h"
#include "scene/Entity.h"
#include "scene/EntityCulling.h"
#include "scene/Scene.h"

CubeMapFrameBuffer* environmentTarget = nullptr;

namespace {

// Height of the capture point above the vase's origin.
constexpr float kAboveVase = 0.5f;

void applyViewToCaptureShaders(Camera* camera) {
    camera->applyView(modelShader);
    if (cubemapShader) camera->applyView(cubemapShader);
}

void uploadCaptureShaderProjection(const glm::mat4& projection) {
    uploadProjection(modelShader, projection);
    uploadProjection(cubemapShader, projection);
}

}  // namespace

bool inCaptureWindow(float timeOfDay) { return inCaptureWindow(timeOfDay, timeOfDay); }

bool inCaptureWindow(float timeOfDay, float previousTimeOfDay) {
    return clockReachedWindow(previousTimeOfDay, timeOfDay, 6000.0f, 6010.0f, true) ||
           clockReachedWindow(previousTimeOfDay, timeOfDay, 8000.0f, 8010.0f, true);
}

void createEnvironmentTarget() {
    environmentTarget = new CubeMapFrameBuffer(frameBufferShader, screenWidth, screenHeight,
                                               CubeMapFrameBuffer::kFaceSize);
}

void releaseEnvironmentTarget() {
    delete environmentTarget;
    environmentTarget = nullptr;
}

void captureEnvironment() {
    if (!environmentTarget || !captureCamera || !modelShader) return;
    TimedStep timed(PassStep::Capture);

    if (vase) captureCamera->position = vase->getPosition() + glm::vec3(0.0f, kAboveVase, 0.0f);
    captureCamera->updateCameraVectors();
    applyViewToCaptureShaders(captureCamera);
    uploadCaptureShaderProjection(captureProjection());

    const int size = environmentTarget->size;
    glBindFramebuffer(GL_FRAMEBUFFER, environmentTarget->framebuffer);
    glViewport(0, 0, size, size);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int face = 0; face < 6; ++face) {
        glClear(GL_DEPTH_BUFFER_BIT);
        environmentTarget->attachFace(face);
        captureCamera->setCubeFace(face);
        applyViewToCaptureShaders(captureCamera);
        // The sky covers every pixel, so the face's colour needs no clear.
        if (skybox) skybox->draw();
        const ViewVolume seen = viewVolumeOf(modelShader);
        for (Entity* entity : capturedEntities)
            if (entity && !hiddenFrom(seen, entity)) entity->draw(modelShader);
    }

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, environmentTarget->width, environmentTarget->height);
    captureCamera->worldUp = glm::vec3(0.0f, 1.0f, 0.0f);

    const glm::mat4 screen = screenProjection(screenWidth, screenHeight);
    if (mainCamera) applyViewToCaptureShaders(mainCamera);
    uploadCaptureShaderProjection(screen);

    glActiveTexture(GL_TEXTURE0 + kEnvironmentUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, environmentTarget->cubeMap);
    if (reflectionShader) {
        reflectionShader->use();
        reflectionShader->setInt("environmentMap", kEnvironmentUnit);
    }
    glUseProgram(0);
}
