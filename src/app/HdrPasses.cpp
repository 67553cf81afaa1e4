#include "app/HdrPasses.h"

#include <GL/glew.h>

#include "app/AppGlobals.h"
#include "app/LampEvents.h"
#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "effects/FrameBuffer.h"
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

// How far the blur carries a lit texel, in texels: the outermost fetch pair
// sits 13.43 texels out and the linear filter reads the texel beyond it.
constexpr int kGlowReach = 15;

// The pixels of the window the blurred glow can reach this frame: empty when
// no source is drawn or none is in view. Both blur passes touch only these.
PixelRect blurRect;  // horizontal pass
PixelRect glowRect;  // vertical pass, added onto the scene

// The sources grown by the blur's reach along one axis. The buffers repeat at
// their edges, so a reach that crosses one edge comes in at the other: the
// rectangle then spans that axis.
PixelRect reach(const PixelRect& r, bool alongX, bool alongY) {
    if (r.empty()) return r;
    const int width = scaledSide(screenWidth), height = scaledSide(screenHeight);
    PixelRect g = r;
    if (alongX) {
        g.x0 -= kGlowReach;
        g.x1 += kGlowReach;
        if (g.x0 < 0 || g.x1 > width) g.x0 = 0, g.x1 = width;
    }
    if (alongY) {
        g.y0 -= kGlowReach;
        g.y1 += kGlowReach;
        if (g.y0 < 0 || g.y1 > height) g.y0 = 0, g.y1 = height;
    }
    return grow(g, 0, 0, width, height);
}

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

// Unbinds any texture from the current unit (so a buffer's own texture is
// never sampled while it is being rendered into), binds the target and sets
// the clear to opaque black.
void bindTarget(FrameBuffer* target) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

// bindTarget, then the clear of the part the frame draws into, with a fresh
// depth.
void beginTarget(FrameBuffer* target) {
    bindTarget(target);
    clearDrawnPart(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT,
                   scaledSide(target->width),
                   scaledSide(target->height));
}

// The part of a glow buffer the last frame drew on; elsewhere the buffer holds
// the cleared black (unknown before the first clear).
struct DrawnArea {
    PixelRect rect;
    bool known = false;
};
DrawnArea sourcesDrawn;
DrawnArea blurDrawn;

// beginTarget for a buffer that this frame draws on `now` only: the clear
// covers that and what the last frame drew, the rest is black already.
void beginTargetWithin(FrameBuffer* target, DrawnArea& drawn, const PixelRect& now) {
    if (!quality.uses(Shortcut::GlowRects) || renderScaleChanged || !drawn.known) {
        beginTarget(target);
    } else {
        bindTarget(target);
        clearRect(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, unite(drawn.rect, now));
    }
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

PixelRect onScreen(Entity* entity) {
    if (!entity || !entity->model || !mainCamera) return {};
    entity->updateModelMatrix();
    const glm::mat4 clip =
        screenProjection(screenWidth, screenHeight) * mainCamera->view * entity->modelMatrix;
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

void drawGlowSources() {
    if (!glowSourceBuffer || !glowBlurBuffer) return;
    const LampState state = lampStateAt(timeOfDay, previousTimeOfDay);

    passTimerBegin(PassStep::GlowSources);
    PixelRect sources;
    if (state.sunGlows) sources = unite(sources, onScreen(sun));
    if (state.bulbsGlow) sources = unite(sources, onScreen(lightBulbs));
    beginTargetWithin(glowSourceBuffer, sourcesDrawn, sources);
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

    passTimerBegin(PassStep::GlowBlur);
    blurRect = reach(sources, true, false);
    glowRect = reach(sources, true, true);
    beginTargetWithin(glowBlurBuffer, blurDrawn, blurRect);
    drawQuadWithin(glowSourceBuffer, blurRect);
    endTarget();
    passTimerEnd();
}

void stepLampEvents() {
    applyLampLights(lampStateAt(timeOfDay, previousTimeOfDay));
}

void beginMainPass() {
    if (sceneBuffer) beginTarget(sceneBuffer);
}

void addGlow() {
    if (!glowBlurBuffer) return;
    TimedStep timed(PassStep::GlowAdd);
    glBlendFunc(GL_ONE, GL_ONE);
    drawQuadWithin(glowBlurBuffer, glowRect);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void resolveScene() {
    if (!sceneBuffer) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    clearWindowBuffers(GL_COLOR_BUFFER_BIT);
    if (renderScale < 1.0f && glowSourceBuffer) {
        // A reduced frame is tone-mapped at its own size into the glow
        // source buffer, whose work is done for this frame, and then
        // stretched onto the window: the costly curve runs on the reduced
        // pixels only.
        const int width = scaledSide(screenWidth), height = scaledSide(screenHeight);
        glBindFramebuffer(GL_FRAMEBUFFER, glowSourceBuffer->framebuffer);
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
    // The window takes the whole picture.
    glViewport(0, 0, screenWidth, screenHeight);
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
