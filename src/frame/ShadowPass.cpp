#include "frame/ShadowPass.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_access.hpp>

#include "core/Globals.h"
#include "frame/FramePlan.h"
#include "frame/WaterPasses.h"
#include "lighting/ShadowMap.h"
#include "render/Model.h"
#include "render/RenderTargets.h"
#include "render/Shader.h"
#include "scene/DepthFirst.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "scene/SceneLights.h"

ShadowMap* shadowMap = nullptr;

namespace {

// A receiver's 3 x 3 texel filter reads a texel beyond the shadow's edge
// (a texel is about a tenth of a unit); the sweep reaches past the light's
// box, which is 300 units deep.
constexpr float kFilterMargin = 1.0f;
constexpr float kShadowSweep = 600.0f;

// How far a caster's shadow is swept: kShadowSweep units along the direction
// the map's light travels, from the map's own matrix (the sun may have moved
// since the map was drawn), the one along which the map's texel does not
// change.
glm::vec3 shadowSweep() {
    const glm::mat4& lightSpace = shadowMap->lightSpaceMatrix;
    const glm::vec3 across(glm::row(lightSpace, 0)), up(glm::row(lightSpace, 1));
    glm::vec3 along = glm::cross(across, up);
    if (glm::dot(along, glm::vec3(glm::row(lightSpace, 2))) < 0.0f) along = -along;
    const float length = glm::length(along);
    return length > 0.0f ? along * (kShadowSweep / length) : along;
}

bool shadowReaches(const ViewVolume& view, const Box& box, glm::vec3 sweep) {
    if (box.empty) return false;
    return !shadowOutsideClip(view.clipFromWorld, grownBox(box, kFilterMargin), sweep);
}

// One caster into the bound map with the depth program. Only the
// double-sided models (leaves, grass) have cut-out texels; the solid ones
// are drawn without reading their texture. The pass culls front faces, but
// a model drawn without culling (the trees come first) turns back-face
// culling on for every caster after it in the list; each caster gets the
// face its place gives, whichever casters were drawn before it. `sorted`:
// the leaves nearest the sun first. A frame that draws thin forms draws the
// caster's.
void drawCaster(size_t index, bool sorted, const FrameChoices& choices) {
    Entity* caster = thinFormIf(shadowCasters[index], choices);
    GLenum culled = GL_FRONT;
    for (size_t i = 0; i < index; ++i)
        if (shadowCasters[i] && shadowCasters[i]->cutOut()) culled = GL_BACK;
    glCullFace(culled);
    // Each draw leaves no program current; the flag needs the depth program.
    shadowMap->shader->use();
    shadowMap->shader->setInt("cutOut", caster->cutOut() ? 1 : 0);
    if (caster->cutOut() && sorted) {
        // The leaves nearest the sun first: those behind fail the depth test
        // before their texels are read. The map is the same in any order.
        caster->updateModelMatrix();
        caster->model->sortAlong(
            glm::vec3(glm::row(shadowMap->lightSpaceMatrix * caster->modelMatrix, 2)),
            DrawOrder::LightSorted);
        caster->draw(shadowMap->shader, DrawOrder::LightSorted);
    } else {
        caster->draw(shadowMap->shader);
    }
}

// The casters' depth offset is for the depth map alone: left on, its slope
// term pushes distant land back at grazing angles and the water wins there.
void endShadowPass(const FrameChoices& choices) {
    glDisable(GL_POLYGON_OFFSET_FILL);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    // The screen-sized passes that follow draw into the part the frame uses.
    glViewport(0, 0, choices.side(screenWidth), choices.side(screenHeight));
    clearWindowBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, choices);
    glCullFace(GL_BACK);
}

}  // namespace

void drawShadowPass(const FramePlan& plan) {
    if (!shadowMap || !shadowMap->shader) return;
    const FrameChoices& choices = plan.choices;
    // The views that read this map: the main pass's (the model and terrain
    // programs'), and the reflection's parts, as next frame's water passes will see
    // them (the same as this frame's).
    std::vector<ViewVolume> readers = {plan.models.volume()};
    // The terrain program reads it too; its eye differs only in a frame
    // without the water passes.
    if (plan.terrain.eye.view != plan.models.eye.view) readers.push_back(plan.terrain.volume());
    if (plan.waterPasses)
        for (const PixelRect& part : plan.reflectionParts) {
            ViewVolume mirrored = plan.reflection.volume();
            mirrored.clipFromWorld = waterPartClip(part, choices) * mirrored.clipFromWorld;
            readers.push_back(mirrored);
        }
    if (shadowMap->keepsMap(choices)) {
        // The map stays as it was drawn, with its own light matrix; the
        // casters this frame's views need and it left out are drawn in.
        shadowMap->drawnLastFrame = false;
        shadowMap->stepLightView();
        const PassTarget window = {0, {0, 0, choices.side(screenWidth), choices.side(screenHeight)}};
        for (const ViewVolume& view : readers) completeShadowsFor(view, window, choices);
        endShadowPass(choices);
        return;
    }
    // The casters' boxes bound the texels the pass writes, so the clear can
    // leave the rest of the map alone; the same boxes leave out casters
    // outside the light's box.
    std::vector<Box>& boxes = shadowMap->casterBoxes;
    boxes.clear();
    for (Entity* each : shadowCasters) {
        Entity* const caster = thinFormIf(each, choices);
        Box box;
        if (caster && caster->model) {
            caster->updateModelMatrix();
            box = worldBox(*caster->model, caster->modelMatrix);
        }
        boxes.push_back(box);
    }
    shadowMap->casterInMap.assign(shadowCasters.size(), 1);
    shadowMap->beginShadowPass(choices, &boxes);
    ViewVolume light;
    light.clipFromWorld = shadowMap->lightSpaceMatrix;
    const glm::vec3 sweep = shadowSweep();
    const bool deferring = choices.shadowCasters;
    for (size_t i = 0; i < shadowCasters.size(); ++i) {
        Entity* caster = shadowCasters[i];
        const Box& box = boxes[i];
        if (!caster || (deferring && !box.empty && light.hides(box))) continue;
        if (deferring && modelShader && !box.empty) {
            bool read = false;
            for (const ViewVolume& view : readers) read = read || shadowReaches(view, box, sweep);
            if (!read) {
                shadowMap->casterInMap[i] = 0;
                continue;
            }
        }
        drawCaster(i, deferring, choices);
    }
    shadowMap->passDrawn = true;
    shadowMap->drawnLastFrame = true;
    endShadowPass(choices);
}

void completeShadowsFor(const ViewVolume& view, const PassTarget& back,
                        const FrameChoices& choices) {
    if (!shadowMap || !shadowMap->shader || !shadowMap->passDrawn || !choices.shadowCasters ||
        shadowMap->casterBoxes.size() != shadowCasters.size())
        return;
    const glm::vec3 sweep = shadowSweep();
    std::vector<size_t> missing;
    for (size_t i = 0; i < shadowCasters.size(); ++i)
        if (!shadowMap->casterInMap[i] && shadowCasters[i] &&
            shadowReaches(view, shadowMap->casterBoxes[i], sweep))
            missing.push_back(i);
    if (missing.empty()) return;
    // The casters do not move, so drawn now they land where the pass would
    // have put them, with the pass's light matrix.
    shadowMap->resumeShadowPass();
    for (size_t i : missing) {
        drawCaster(i, true, choices);
        shadowMap->casterInMap[i] = 1;
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glBindFramebuffer(GL_FRAMEBUFFER, back.framebuffer);
    glViewport(back.viewport.x0, back.viewport.y0, back.viewport.width(), back.viewport.height());
    glCullFace(GL_BACK);
    glUseProgram(0);
}

void startShadowTests() {
    shadowTestMap = shadowMap;
}

void forgetShadowPass() {
    if (shadowMap) {
        shadowMap->casterBoxes.clear();
        shadowMap->casterInMap.clear();
        shadowMap->passDrawn = false;
    }
    shadowTestMap = nullptr;
}

void bindShadowMapForMainPass() {
    if (shadowMap) shadowMap->bindShadowMap();
}

void bindShadowMapForWaterPasses() {
    if (!shadowMap || !shadowMap->passDrawn) return;
    shadowMap->bindShadowMap();
    // Binding a water target unbinds the texture of the active unit.
    glActiveTexture(GL_TEXTURE0);
}
