#include "app/HdrPasses.h"

#include <GL/glew.h>

#include "app/AppGlobals.h"
#include "app/LampEvents.h"
#include "app/Passes.h"
#include "app/ShadowPass.h"
#include "app/Smoke.h"
#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "effects/FrameBuffer.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "frame/FramePlan.h"
#include "lighting/PointLight.h"
#include "render/Model.h"
#include "render/PassTimer.h"
#include "render/RenderTargets.h"
#include "render/ScreenRect.h"
#include "render/Shader.h"
#include "render/ViewVolume.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "sound/SoundSystem.h"

FrameBuffer* sceneBuffer = nullptr;
Shader* texelResolveShader = nullptr;
FrameBuffer* glowSourceBuffer = nullptr;
FrameBuffer* glowBlurBuffer = nullptr;

namespace {

// Draws the buffer's quad on the pixels of `rect` only (all of them with the
// shortcuts off); nothing at all for an empty rectangle.
void drawQuadWithin(FrameBuffer* buffer, const PixelRect& rect) {
    if (!quality.uses(Shortcut::GlowRects)) {
        buffer->drawQuad();
        return;
    }
    if (rect.empty()) return;
    glEnable(GL_SCISSOR_TEST);
    glScissor(rect.x0, rect.y0, rect.width(), rect.height());
    buffer->drawQuad();
    glDisable(GL_SCISSOR_TEST);
}

// The part of a glow buffer the last frame drew on; elsewhere the buffer holds
// the cleared black (unknown before the first clear).
struct DrawnArea {
    PixelRect rect;
    bool known = false;
};
DrawnArea sourcesDrawn;
DrawnArea blurDrawn;

// The clear of a bound glow buffer that this frame draws on `now` only: it
// covers that and what the last frame drew, the rest is black already.
void clearWithin(FrameBuffer* target, DrawnArea& drawn, const PixelRect& now) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    if (!quality.uses(Shortcut::GlowRects) || quality.wholeClears || !drawn.known)
        clearDrawnPart(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, scaledSide(target->width),
                       scaledSide(target->height));
    else
        clearRect(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, unite(drawn.rect, now));
    drawn = {now, true};
}

void endTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    clearWindowBuffers(GL_COLOR_BUFFER_BIT);
}

void release(FrameBuffer*& buffer) {
    delete buffer;
    buffer = nullptr;
}

}  // namespace

PixelRect onScreen(Entity* entity, const glm::mat4& view) {
    if (!entity || !entity->model) return {};
    entity->updateModelMatrix();
    const glm::mat4 clip = screenProjection(screenWidth, screenHeight) * view * entity->modelMatrix;
    return projectBox(clip, modelBox(*entity->model), scaledSide(screenWidth),
                      scaledSide(screenHeight));
}

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

void drawGlowSources(const FramePlan& plan) {
    if (!glowSourceBuffer || !glowBlurBuffer) return;
    const LampState& state = plan.lamp;
    clearWithin(glowSourceBuffer, sourcesDrawn, plan.glowSources);
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
}

void blurGlow(const FramePlan& plan) {
    if (!glowSourceBuffer || !glowBlurBuffer) return;
    clearWithin(glowBlurBuffer, blurDrawn, plan.glowBlur);
    drawQuadWithin(glowSourceBuffer, plan.glowBlur);
    endTarget();
}

void stepLampEvents() {
    applyLampLights(lampStateAt(timeOfDay, previousTimeOfDay));
}

void addGlow(const FramePlan& plan) {
    if (!glowBlurBuffer) return;
    TimedStep timed(PassStep::GlowAdd);
    glBlendFunc(GL_ONE, GL_ONE);
    drawQuadWithin(glowBlurBuffer, plan.glowAdded);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void mainPass(const FramePlan& plan) {
    bindShadowMapForMainPass();
    if (terrain) drawScene(plan);
    if (water) {
        TimedStep timed(PassStep::Water);
        water->draw();
    }
    TimedStep timed(PassStep::Smoke);
    drawSmoke();
}

void resolveScene(const FramePlan&) {
    if (!sceneBuffer) return;
    if (quality.reduced() && glowSourceBuffer) {
        // A reduced frame is tone-mapped at its own size into the glow
        // source buffer, whose work is done for this frame, and then
        // stretched onto the window: the costly curve runs on the reduced
        // pixels only.
        const int width = scaledSide(screenWidth), height = scaledSide(screenHeight);
        glBindFramebuffer(GL_FRAMEBUFFER, glowSourceBuffer->framebuffer);
        glViewport(0, 0, width, height);
        sceneBuffer->drawQuad();
        sourcesDrawn = {{0, 0, width, height}, true};
        glBindFramebuffer(GL_READ_FRAMEBUFFER, glowSourceBuffer->framebuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, width, height, 0, 0, screenWidth, screenHeight, GL_COLOR_BUFFER_BIT,
                          GL_LINEAR);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, screenWidth, screenHeight);
        return;
    }
    // The window takes the whole picture (the runner set its viewport).
    Shader* const design = sceneBuffer->shader;
    if (quality.uses(Shortcut::TexelResolve) && texelResolveShader && design &&
        sceneBuffer->width == screenWidth && sceneBuffer->height == screenHeight) {
        texelResolveShader->takeOver(*design);
        sceneBuffer->shader = texelResolveShader;
        sceneBuffer->drawQuad();
        sceneBuffer->shader = design;
        return;
    }
    sceneBuffer->drawQuad();
}
