#include "frame/FramePasses.h"

#include "core/Globals.h"
#include "effects/CubeMapFrameBuffer.h"
#include "effects/FrameBuffer.h"
#include "effects/Skybox.h"
#include "effects/WaterFrameBuffers.h"
#include "frame/EnvironmentCapture.h"
#include "frame/FramePlan.h"
#include "frame/GlowPasses.h"
#include "frame/MainPass.h"
#include "frame/ResolvePass.h"
#include "frame/SceneTargets.h"
#include "frame/ShadowPass.h"
#include "frame/WaterPasses.h"
#include "lighting/ShadowMap.h"
#include "render/RenderTargets.h"
#include "render/TextureLoader.h"
#include "scene/Scene.h"

namespace {

constexpr GLbitfield kAll = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
const glm::vec4 kWaterClear(0.41f, 0.2f, 0.42f, 1.0f);

bool capturing(const FramePlan& plan) {
    return plan.capture;
}

bool waterPasses(const FramePlan& plan) {
    return plan.waterPasses;
}

// The resolve has nothing to show without the scene buffer.
bool sceneDrawn(const FramePlan&) {
    return sceneBuffer != nullptr;
}

void capture(const FramePlan& plan) {
    captureEnvironment(plan.choices);
}

// The water passes read the last frame's shadow map; it is bound before
// their targets (binding a water target unbinds the active unit's texture).
void bindWaterInputs(const FramePlan&) {
    bindShadowMapForWaterPasses();
}

void turnSky(const FramePlan&) {
    if (skybox) skybox->update();
}

void bindFrameBuffer(FrameBuffer* buffer, const FrameChoices& choices) {
    // A buffer's own texture is never sampled while it is drawn into.
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, buffer->framebuffer);
    glViewport(0, 0, choices.side(buffer->width), choices.side(buffer->height));
}

// Binds the target and sets the viewport to the part the frame draws into;
// false when the target does not exist.
bool bindTarget(Target target, const FrameChoices& choices) {
    switch (target) {
        case Target::Window:
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glViewport(0, 0, shownWidth(), shownHeight());
            return true;
        case Target::EnvironmentMap:
            if (!environmentTarget) return false;
            glBindFramebuffer(GL_FRAMEBUFFER, environmentTarget->framebuffer);
            glViewport(0, 0, environmentTarget->size, environmentTarget->size);
            return true;
        case Target::WaterReflection:
            if (!waterFrameBuffers) return false;
            waterFrameBuffers->bindReflectionFrameBuffer(choices);
            return true;
        case Target::WaterRefraction:
            if (!waterFrameBuffers) return false;
            waterFrameBuffers->bindRefractionFrameBuffer(choices);
            return true;
        case Target::ShadowMap:
            if (!shadowMap) return false;
            glBindFramebuffer(GL_FRAMEBUFFER, shadowMap->depthMapFBO);
            glViewport(0, 0, choices.shadowSide(shadowMap->shadowWidth),
                       choices.shadowSide(shadowMap->shadowHeight));
            return true;
        case Target::GlowSource:
            if (!glowSourceBuffer) return false;
            bindFrameBuffer(glowSourceBuffer, choices);
            return true;
        case Target::GlowBlur:
            if (!glowBlurBuffer) return false;
            bindFrameBuffer(glowBlurBuffer, choices);
            return true;
        case Target::Scene:
            if (!sceneBuffer) return false;
            bindFrameBuffer(sceneBuffer, choices);
            return true;
        default:
            return true;
    }
}

void clearTarget(Target target, const Clear& clear, const FramePlan& plan) {
    if (clear.area == ClearArea::None || clear.area == ClearArea::InPass) return;
    const FrameChoices& choices = plan.choices;
    glClearColor(clear.colour.r, clear.colour.g, clear.colour.b, clear.colour.a);
    if (clear.area == ClearArea::Window) {
        clearWindowBuffers(clear.bits, choices);
        return;
    }
    const bool water = target == Target::WaterReflection || target == Target::WaterRefraction;
    if (water && plan.waterKept) return;  // read again as drawn
    const PixelRect drawn =
        water ? WaterFrameBuffers::drawnPart(choices)
              : PixelRect{0, 0, choices.side(screenWidth), choices.side(screenHeight)};
    clearDrawnPart(clear.bits, drawn.width(), drawn.height(), choices);
}

}  // namespace

const char* targetName(Target target) {
    switch (target) {
        case Target::None:
            return "none";
        case Target::Window:
            return "window";
        case Target::EnvironmentMap:
            return "environment map";
        case Target::WaterReflection:
            return "water reflection";
        case Target::WaterRefraction:
            return "water refraction";
        case Target::ShadowMap:
            return "shadow map";
        case Target::GlowSource:
            return "glow sources";
        case Target::GlowBlur:
            return "glow blur";
        case Target::Scene:
            return "scene";
        case Target::ReducedPicture:
            return "reduced picture";
        case Target::ShadowMapInputs:
            return "shadow map (bound to the receivers)";
        case Target::Textures:
            return "scene textures";
    }
    return "";
}

const std::vector<Pass>& framePasses() {
    const RenderState usual;
    RenderState casters;
    casters.cullFace = GL_FRONT;
    static const std::vector<Pass> passes = {
        {"environment capture",
         Target::EnvironmentMap,
         {ClearArea::InPass, kAll, {0, 0, 0, 1}, "colour and depth once, depth for each face"},
         {Target::Textures, Target::ShadowMap},
         {Target::EnvironmentMap, Target::GlowSource /* scratch in a reduced frame */},
         usual,
         PassStep::Count /* timed by the capture itself */,
         capturing,
         nullptr,
         capture},
        {"water reflection",
         Target::WaterReflection,
         {ClearArea::DrawnPart, kAll, kWaterClear, ""},
         {Target::Textures, Target::ShadowMapInputs},
         {Target::WaterReflection},
         usual,
         PassStep::WaterReflection,
         waterPasses,
         bindWaterInputs,
         renderWaterReflection},
        {"water refraction",
         Target::WaterRefraction,
         {ClearArea::DrawnPart, kAll, kWaterClear, ""},
         {Target::Textures, Target::ShadowMapInputs},
         {Target::WaterRefraction},
         usual,
         PassStep::WaterRefraction,
         waterPasses,
         nullptr,
         renderWaterRefraction},
        {"sky turn", Target::None, {}, {}, {}, usual, PassStep::Count, nullptr, nullptr, turnSky},
        {"shadow",
         Target::ShadowMap,
         {ClearArea::InPass,
          GL_DEPTH_BUFFER_BIT,
          {0, 0, 0, 1},
          "depth where this pass's and the last one's casters land"},
         {Target::Textures},
         {Target::ShadowMap},
         casters,
         PassStep::Shadow,
         nullptr,
         nullptr,
         drawShadowPass},
        {"glow sources",
         Target::GlowSource,
         {ClearArea::InPass,
          GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
          {0, 0, 0, 1},
          "where this frame's or the last frame's sources are"},
         {Target::Textures},
         {Target::GlowSource},
         usual,
         PassStep::GlowSources,
         nullptr,
         nullptr,
         drawGlowSources},
        {"glow blur",
         Target::GlowBlur,
         {ClearArea::InPass,
          GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
          {0, 0, 0, 1},
          "where this frame's or the last frame's blur reaches"},
         {Target::GlowSource},
         {Target::GlowBlur},
         usual,
         PassStep::GlowBlur,
         nullptr,
         nullptr,
         blurGlow},
        {"main",
         Target::Scene,
         {ClearArea::DrawnPart, kAll, {0, 0, 0, 1}, ""},
         {Target::Textures, Target::ShadowMap, Target::GlowBlur, Target::WaterReflection,
          Target::WaterRefraction, Target::EnvironmentMap},
         {Target::Scene},
         usual,
         PassStep::Count /* step by step */,
         nullptr,
         nullptr,
         mainPass},
        {"resolve",
         Target::Window,
         {ClearArea::Window, GL_COLOR_BUFFER_BIT, {0, 0, 0, 1}, ""},
         {Target::Scene},
         {Target::Window, Target::ReducedPicture /* in a reduced frame */},
         usual,
         PassStep::Resolve,
         sceneDrawn,
         nullptr,
         resolveScene},
    };
    return passes;
}

void runPass(const Pass& pass, const FramePlan& plan) {
    if (pass.runs && !pass.runs(plan)) return;
    const bool timed = pass.step != PassStep::Count;
    if (timed) passTimerBegin(pass.step);
    applyRenderState(pass.state);
    if (pass.bindInputs) pass.bindInputs(plan);
    if (bindTarget(pass.target, plan.choices)) {
        clearTarget(pass.target, pass.clear, plan);
        pass.draw(plan);
    }
    if (timed) passTimerEnd();
}

void runPasses(const FramePlan& plan) {
    readNearestLevels(plan.choices.nearestLevels);
    for (const Pass& pass : framePasses()) runPass(pass, plan);
    applyRenderState(RenderState());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
