#include "frame/EnvironmentCapture.h"

#include <GL/glew.h>

#include <algorithm>

#include "app/DayClock.h"
#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "effects/CubeMapFrameBuffer.h"
#include "effects/FrameBuffer.h"
#include "effects/Skybox.h"
#include "frame/FramePlan.h"
#include "frame/SceneTargets.h"
#include "frame/ShadowPass.h"
#include "render/PassTimer.h"
#include "render/RenderTargets.h"
#include "render/Shader.h"
#include "scene/DepthFirst.h"
#include "scene/Entity.h"
#include "scene/EntityCulling.h"
#include "scene/Scene.h"

CubeMapFrameBuffer* environmentTarget = nullptr;
bool captureReduced = false;

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

void stretchOntoFace(int face, int side, int size) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, glowSourceBuffer->framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, environmentTarget->framebuffer);
    environmentTarget->attachFace(face);
    glBlitFramebuffer(0, 0, side, side, 0, 0, size, size, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, glowSourceBuffer->framebuffer);
}

}  // namespace

bool inCaptureWindow(float timeOfDay) {
    return inCaptureWindow(timeOfDay, timeOfDay);
}

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

int reducedFaceSide(const FrameChoices& choices) {
    if (!environmentTarget || !choices.reduced() || !glowSourceBuffer) return 0;
    const int size = environmentTarget->size;
    const int side =
        std::min({choices.side(size), glowSourceBuffer->width, glowSourceBuffer->height});
    return side > 0 && side < size ? side : 0;
}

void captureEnvironment() {
    if (captureEnvironment(currentChoices())) clearWholeNextFrame();
}

bool captureEnvironment(const FrameChoices& choices) {
    if (!environmentTarget || !captureCamera || !modelShader) return false;
    TimedStep timed(PassStep::Capture);

    if (vase) captureCamera->position = vase->getPosition() + glm::vec3(0.0f, kAboveVase, 0.0f);
    captureCamera->updateCameraVectors();
    applyViewToCaptureShaders(captureCamera);
    uploadCaptureShaderProjection(captureProjection());

    const int size = environmentTarget->size;
    const int reduced = reducedFaceSide(choices);
    const GLuint drawInto =
        reduced ? glowSourceBuffer->framebuffer : environmentTarget->framebuffer;
    const int side = reduced ? reduced : size;
    glBindFramebuffer(GL_FRAMEBUFFER, drawInto);
    glViewport(0, 0, side, side);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Depth first pays on the large faces; marked where the faces are drawn
    // into a target that keeps alpha (a reduced capture's scratch).
    const DepthFirst faceDepthFirst = !choices.depthFirst ? DepthFirst::No
                                      : reduced           ? DepthFirst::Marked
                                                          : DepthFirst::Unmarked;
    for (int face = 0; face < 6; ++face) {
        glClear(GL_DEPTH_BUFFER_BIT);
        if (!reduced) environmentTarget->attachFace(face);
        captureCamera->setCubeFace(face);
        applyViewToCaptureShaders(captureCamera);
        // The sky covers every pixel, so the face's colour needs no clear.
        if (skybox) skybox->draw(choices);
        // The face as the model program now holds it; the capture cuts
        // nothing away with the clip plane.
        ViewVolume seen;
        seen.clipFromWorld = captureProjection() * captureCamera->view;
        completeShadowsFor(seen, {drawInto, {0, 0, side, side}}, choices);
        for (Entity* entity : capturedEntities)
            if (entity && !hiddenFrom(seen, entity, choices))
                drawEntity(entity, modelShader, seen, choices, faceDepthFirst);
        if (reduced) stretchOntoFace(face, side, size);
    }
    captureReduced = reduced != 0;

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    clearWindowBuffers(GL_COLOR_BUFFER_BIT, choices);
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
    // The glow source buffer now holds the faces beyond the part a reduced
    // frame uses.
    return reduced != 0;
}
