#include "frame/GlowPasses.h"

#include <GL/glew.h>

#include "app/AppGlobals.h"
#include "app/LampEvents.h"
#include "core/Globals.h"
#include "effects/FrameBuffer.h"
#include "frame/FramePlan.h"
#include "frame/SceneTargets.h"
#include "lighting/PointLight.h"
#include "render/PassTimer.h"
#include "render/RenderTargets.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "sound/SoundSystem.h"

namespace {

// Draws the buffer's quad on the pixels of `rect` only (all of them with the
// shortcuts off); nothing at all for an empty rectangle.
void drawQuadWithin(FrameBuffer* buffer, const PixelRect& rect, const FrameChoices& choices) {
    if (!choices.glowRects) {
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
void clearWithin(FrameBuffer* target, DrawnArea& drawn, const PixelRect& now,
                 const FrameChoices& choices) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    if (!choices.glowRects || choices.wholeClears || !drawn.known)
        clearDrawnPart(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, choices.side(target->width),
                       choices.side(target->height), choices);
    else
        clearRect(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, unite(drawn.rect, now));
    drawn = {now, true};
}

void endTarget(const FrameChoices& choices) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    clearWindowBuffers(GL_COLOR_BUFFER_BIT, choices);
}

}  // namespace

void drawGlowSources(const FramePlan& plan) {
    if (!glowSourceBuffer || !glowBlurBuffer) return;
    const LampState& state = plan.lamp;
    clearWithin(glowSourceBuffer, sourcesDrawn, plan.glowSources, plan.choices);
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
    endTarget(plan.choices);
}

void blurGlow(const FramePlan& plan) {
    if (!glowSourceBuffer || !glowBlurBuffer) return;
    clearWithin(glowBlurBuffer, blurDrawn, plan.glowBlur, plan.choices);
    drawQuadWithin(glowSourceBuffer, plan.glowBlur, plan.choices);
    endTarget(plan.choices);
}

void stepLampEvents() {
    applyLampLights(lampStateAt(timeOfDay, previousTimeOfDay));
}

void addGlow(const FramePlan& plan) {
    if (!glowBlurBuffer) return;
    TimedStep timed(PassStep::GlowAdd);
    glBlendFunc(GL_ONE, GL_ONE);
    drawQuadWithin(glowBlurBuffer, plan.glowAdded, plan.choices);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
