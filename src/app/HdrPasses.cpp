#include "app/HdrPasses.h"

#include <GL/glew.h>

#include "app/AppGlobals.h"
#include "app/LampEvents.h"
#include "core/Globals.h"
#include "effects/FrameBuffer.h"
#include "lighting/PointLight.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "sound/SoundSystem.h"

FrameBuffer* sceneBuffer = nullptr;
FrameBuffer* glowSourceBuffer = nullptr;
FrameBuffer* glowBlurBuffer = nullptr;

namespace {

// Unbinds any texture from the current unit (so a buffer's own texture is
// never sampled while it is being rendered into), binds the target and
// clears it to opaque black with a fresh depth.
void beginTarget(FrameBuffer* target) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void endTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

void release(FrameBuffer*& buffer) {
    delete buffer;
    buffer = nullptr;
}

}  // namespace

void createSceneFrameBuffers() {
    sceneBuffer = new FrameBuffer(effectShader, screenWidth, screenHeight);
    glowSourceBuffer = new FrameBuffer(horizontalGlowShader, screenWidth, screenHeight);
    glowBlurBuffer = new FrameBuffer(verticalGlowShader, screenWidth, screenHeight);
}

void releaseSceneFrameBuffers() {
    release(sceneBuffer);
    release(glowSourceBuffer);
    release(glowBlurBuffer);
}

void drawGlowSources() {
    if (!glowSourceBuffer || !glowBlurBuffer) return;
    const LampState state = lampStateAt(timeOfDay, previousTimeOfDay);

    beginTarget(glowSourceBuffer);
    if (state.sunGlows && sun) {
        sun->draw(modelShader);
        if (sunPointLight) sunPointLight->setPosition(sun->getPosition());
    }
    if (state.lampFails) {
        if (soundSystem) soundSystem->playBulbSound();
        applyLampLights({false, true, false, false});
    }
    if (state.bulbsGlow) {
        applyLampLights({false, false, true, state.lampLightsPlaced});
        if (lightBulbs) lightBulbs->draw(modelShader);
    }
    endTarget();

    beginTarget(glowBlurBuffer);
    glowSourceBuffer->drawQuad();
    endTarget();
}

void stepLampEvents() {
    applyLampLights(lampStateAt(timeOfDay, previousTimeOfDay));
}

void beginMainPass() {
    if (sceneBuffer) beginTarget(sceneBuffer);
}

void addGlow() {
    if (!glowBlurBuffer) return;
    glBlendFunc(GL_ONE, GL_ONE);
    glowBlurBuffer->drawQuad();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void resolveScene() {
    if (!sceneBuffer) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    sceneBuffer->drawQuad();
}
