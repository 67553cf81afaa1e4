#include "app/ShadowPass.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_access.hpp>

#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "frame/FramePlan.h"
#include "lighting/ShadowMap.h"
#include "render/Model.h"
#include "render/RenderTargets.h"
#include "render/Shader.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "scene/SceneLights.h"

ShadowMap* shadowMap = nullptr;

namespace {

// The map's casters as its pass placed them (a box per caster, empty for one
// without a model) and whether each is in the map yet: a caster whose shadow
// no view of the frame can show is left out until a view needs it.
std::vector<Box> casterBoxes;
std::vector<char> casterInMap;
bool mapDrawn = false;
// Views besides the main one that read this frame's map (the water reflection).
std::vector<ViewVolume> otherReaders;

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
// face its place gives, whichever casters were drawn before it.
void drawCaster(size_t index) {
    Entity* caster = shadowCasters[index];
    GLenum culled = GL_FRONT;
    for (size_t i = 0; i < index; ++i)
        if (shadowCasters[i] && shadowCasters[i]->cutOut()) culled = GL_BACK;
    glCullFace(culled);
    // Each draw leaves no program current; the flag needs the depth program.
    shadowMap->shader->use();
    shadowMap->shader->setInt("cutOut", caster->cutOut() ? 1 : 0);
    if (caster->cutOut() && quality.uses(Shortcut::ShadowCasters)) {
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

// While the map is the one the programs read: whether its casters can
// shadow anything in the box.
bool mapMayShadow(const Box& box) {
    return !shadowMap || !quality.uses(Shortcut::LightMasks) || shadowMap->mayShadow(box);
}

// Before the first depth pass the receivers hold no light matrix, and no
// shadow falls anywhere (the vase's first capture is drawn then).
bool noMatrixYet(const Box&) {
    return !shadowMap || !quality.uses(Shortcut::LightMasks) || shadowMap->matrixHandedOut;
}

}  // namespace

void drawShadowPass(const FramePlan& plan) {
    if (!shadowMap || !shadowMap->shader) return;
    // The main pass reads the map with the model program's view.
    const ViewVolume mainView = plan.models.volume();
    // The casters' boxes bound the texels the pass writes, so the clear can
    // leave the rest of the map alone; the same boxes leave out casters
    // outside the light's box.
    casterBoxes.clear();
    for (Entity* caster : shadowCasters) {
        Box box;
        if (caster && caster->model) {
            caster->updateModelMatrix();
            box = worldBox(*caster->model, caster->modelMatrix);
        }
        casterBoxes.push_back(box);
    }
    casterInMap.assign(shadowCasters.size(), 1);
    shadowMap->beginShadowPass(&casterBoxes);
    ViewVolume light;
    light.clipFromWorld = shadowMap->lightSpaceMatrix;
    const glm::vec3 sweep = shadowSweep();
    for (size_t i = 0; i < shadowCasters.size(); ++i) {
        Entity* caster = shadowCasters[i];
        const Box& box = casterBoxes[i];
        if (!caster || (quality.uses(Shortcut::ShadowCasters) && !box.empty && light.hides(box)))
            continue;
        if (quality.uses(Shortcut::ShadowCasters) && modelShader && !box.empty &&
            !shadowReaches(mainView, box, sweep)) {
            bool read = false;
            for (const ViewVolume& view : otherReaders)
                read = read || shadowReaches(view, box, sweep);
            if (!read) {
                casterInMap[i] = 0;
                continue;
            }
        }
        drawCaster(i);
    }
    otherReaders.clear();
    mapDrawn = true;
    shadowMayFall = &mapMayShadow;
    // The casters' depth offset is for the depth map alone: left on, its slope
    // term pushes distant land back at grazing angles and the water wins there.
    glDisable(GL_POLYGON_OFFSET_FILL);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    // The screen-sized passes that follow draw into the part the frame uses.
    glViewport(0, 0, scaledSide(screenWidth), scaledSide(screenHeight));
    clearWindowBuffers(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCullFace(GL_BACK);
}

void completeShadowsFor(const ViewVolume& view) {
    if (!shadowMap || !shadowMap->shader || !mapDrawn || !quality.uses(Shortcut::ShadowCasters) ||
        casterBoxes.size() != shadowCasters.size())
        return;
    const glm::vec3 sweep = shadowSweep();
    std::vector<size_t> missing;
    for (size_t i = 0; i < shadowCasters.size(); ++i)
        if (!casterInMap[i] && shadowCasters[i] && shadowReaches(view, casterBoxes[i], sweep))
            missing.push_back(i);
    if (missing.empty()) return;
    GLint framebuffer = 0, program = 0, cullFace = GL_BACK, viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // The casters do not move, so drawn now they land where the pass would
    // have put them, with the pass's light matrix.
    shadowMap->resumeShadowPass();
    for (size_t i : missing) {
        drawCaster(i);
        casterInMap[i] = 1;
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glBindFramebuffer(GL_FRAMEBUFFER, GLuint(framebuffer));
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glCullFace(GLenum(cullFace));
    glUseProgram(GLuint(program));
}

void prepareShadowsFor(const ViewVolume& view) {
    completeShadowsFor(view);
    otherReaders.push_back(view);
}

void startShadowTests() {
    if (shadowMap && !shadowMap->matrixHandedOut) shadowMayFall = &noMatrixYet;
}

void forgetShadowPass() {
    casterBoxes.clear();
    casterInMap.clear();
    otherReaders.clear();
    mapDrawn = false;
    shadowMayFall = nullptr;
}

void bindShadowMapForMainPass() {
    if (shadowMap) shadowMap->bindShadowMap();
}

void bindShadowMapForWaterPasses() {
    if (!shadowMap || !mapDrawn) return;
    shadowMap->bindShadowMap();
    // Binding a water target unbinds the texture of the active unit.
    glActiveTexture(GL_TEXTURE0);
}
