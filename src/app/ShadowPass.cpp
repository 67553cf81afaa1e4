#include "app/ShadowPass.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_access.hpp>

#include "core/Globals.h"
#include "lighting/ShadowMap.h"
#include "render/Model.h"
#include "render/RenderTargets.h"
#include "render/Shader.h"
#include "render/ViewVolume.h"
#include "scene/Entity.h"
#include "scene/Scene.h"

ShadowMap* shadowMap = nullptr;

namespace {
std::vector<Box> casterBoxes;
}  // namespace

void drawShadowPass() {
    if (!shadowMap || !shadowMap->shader) return;
    // Front faces are culled for the pass, but a caster drawn without culling
    // (the trees come first) turns back-face culling on for those after it.
    glCullFace(GL_FRONT);
    // The casters' boxes (one a caster, empty for one without a model) bound
    // the texels the pass writes, so the clear can leave the rest of the map
    // alone; the same boxes leave out casters outside the light's box.
    casterBoxes.clear();
    for (Entity* caster : shadowCasters) {
        Box box;
        if (caster && caster->model) {
            caster->updateModelMatrix();
            box = worldBox(*caster->model, caster->modelMatrix);
        }
        casterBoxes.push_back(box);
    }
    shadowMap->beginShadowPass(&casterBoxes);
    // Only the double-sided models (leaves, grass) have cut-out texels; the
    // solid ones are drawn without reading their texture.
    ViewVolume light;
    light.clipFromWorld = shadowMap->lightSpaceMatrix;
    for (size_t i = 0; i < shadowCasters.size(); ++i) {
        Entity* caster = shadowCasters[i];
        const Box& box = casterBoxes[i];
        if (!caster || (renderShortcuts && !box.empty && light.hides(box))) continue;
        // Each draw leaves no program current; the flag needs the depth program.
        shadowMap->shader->use();
        const bool cutOut = caster->model && !caster->model->cullFaces;
        shadowMap->shader->setInt("cutOut", cutOut ? 1 : 0);
        if (cutOut && renderShortcuts) {
            // The leaves nearest the sun first: those behind fail the depth
            // test before their texels are read. The map is the same in any
            // order.
            caster->updateModelMatrix();
            caster->model->sortAlong(
                glm::vec3(glm::row(shadowMap->lightSpaceMatrix * caster->modelMatrix, 2)));
            caster->draw(shadowMap->shader, DrawOrder::Sorted);
        } else {
            caster->draw(shadowMap->shader);
        }
    }
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

void bindShadowMapForMainPass() {
    if (shadowMap) shadowMap->bindShadowMap();
}
