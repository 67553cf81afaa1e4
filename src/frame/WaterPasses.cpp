#include "frame/WaterPasses.h"

#include <GL/glew.h>

#include <cmath>
#include <vector>

#include "camera/Camera.h"
#include "core/Globals.h"
#include "effects/FrameBuffer.h"
#include "effects/SkyMath.h"
#include "effects/Skybox.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "effects/WaterFrameBuffers.h"
#include "effects/WaterMath.h"
#include "frame/FramePlan.h"
#include "frame/ShadowPass.h"
#include "render/PassTimer.h"
#include "render/RenderTargets.h"
#include "render/Shader.h"
#include "scene/DepthFirst.h"
#include "scene/Entity.h"
#include "scene/EntityCulling.h"
#include "scene/Scene.h"

namespace {

const char* const kClipPlaneName = "waterClipPlane";

// The view of the main camera as it stands now, to the three programs that
// draw in the water passes. The sky gets it turned by its own angle so the
// mirrored sky matches the one of the main pass.
void applyViewToWaterShaders() {
    for (Shader* s : {terrainShader, modelShader, cubemapShader}) mainCamera->applyView(s);
    if (skybox && cubemapShader) {
        cubemapShader->use();
        cubemapShader->setMat4("view", turnedSkyView(mainCamera->view, skybox->skyRotation));
        glUseProgram(0);
    }
}

void drawGroundAndSky(const ViewVolume& view, const FrameChoices& choices) {
    if (terrain) terrain->draw(&view, choices);
    if (skybox) skybox->draw(choices);
}

// Until endPart, with the shortcuts on: culling leaves out what can land
// only outside the part.
void narrowTo(const PixelRect& part, const FrameChoices& choices) {
    drawnPartOfViewport = waterPartClip(part, choices);
}

// Until endPart, with the shortcuts on: no draw touches a texel outside the
// part (the surface never reads the clear colour and depth left there).
// After the shadow map's completion, which draws into the map.
void cutTo(const PixelRect& part, const FrameChoices& choices) {
    if (!choices.waterParts) return;
    glEnable(GL_SCISSOR_TEST);
    glScissor(part.x0, part.y0, part.width(), part.height());
}

void endPart() {
    glDisable(GL_SCISSOR_TEST);
    drawnPartOfViewport = glm::mat4(1.0f);
}

// Draws a water pass part by part: the view narrowed to each part, the
// shadow map completed for that view, the draws cut to the part; the ground,
// the sky and (the reflection's) entities.
void drawByParts(const std::vector<PixelRect>& parts, const PassView& view, GLuint framebuffer,
                 const std::vector<Entity*>* entities, const FrameChoices& choices) {
    const PassTarget target = {framebuffer, WaterFrameBuffers::drawnPart(choices)};
    for (const PixelRect& part : parts) {
        narrowTo(part, choices);
        const ViewVolume seen = view.volume();
        completeShadowsFor(seen, target, choices);
        cutTo(part, choices);
        drawGroundAndSky(seen, choices);
        if (entities)
            for (Entity* e : *entities)
                if (e && !hiddenFrom(seen, e, choices))
                    drawEntity(choices.distantReflections && e->distantForm ? e->distantForm : e,
                               modelShader, seen, choices, DepthFirst::No);
        endPart();
    }
}

}  // namespace

glm::mat4 waterPartClip(const PixelRect& part, const FrameChoices& choices) {
    if (!choices.waterParts) return glm::mat4(1.0f);
    const PixelRect drawn = WaterFrameBuffers::drawnPart(choices);
    return clipToPart(part, drawn.width(), drawn.height());
}

// The scene above the water, seen by the main camera mirrored in the
// surface, into the reflection target (bound and cleared by the runner).
void renderWaterReflection(const FramePlan& plan) {
    const float h = water->height();
    water->setClipPlane(reflectionClipPlane(h), kClipPlaneName);

    // The camera goes through the mirror even when no water is on screen and
    // nothing is drawn: a camera in turn mode turns at each derivation.
    const glm::vec3 saved = mirrorCamera(*mainCamera, h);
    applyViewToWaterShaders();
    if (!plan.waterKept) {
        drawByParts(plan.reflectionParts, plan.reflection, waterFrameBuffers->reflectionFrameBuffer,
                    &reflectedEntities, plan.choices);
        waterFrameBuffers->reflectionDrawn = plan.reflectionParts;
    }
    restoreFromMirror(*mainCamera, saved);
    applyViewToWaterShaders();

    waterFrameBuffers->unbindCurrentFrameBuffer();
}

// The terrain and sky below the surface into the refraction target (bound
// and cleared by the runner), then clipping is turned off for the rest of
// the frame.
void renderWaterRefraction(const FramePlan& plan) {
    const float h = water->height();
    water->setClipPlane(refractionClipPlane(h), kClipPlaneName);
    if (!plan.waterKept) {
        drawByParts(plan.refractionParts, plan.refraction,
                    waterFrameBuffers->refractionFrameBuffer, nullptr, plan.choices);
        waterFrameBuffers->refractionDrawn = plan.refractionParts;
        waterFrameBuffers->drawnAtClock = timeOfDay;
    }
    waterFrameBuffers->keptLastFrame = plan.waterKept;
    water->setClipPlane(disabledClipPlane(), kClipPlaneName);
    glUseProgram(0);
    waterFrameBuffers->unbindCurrentFrameBuffer();
}
