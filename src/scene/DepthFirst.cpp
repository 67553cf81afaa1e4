#include "scene/DepthFirst.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_access.hpp>

#include "core/Globals.h"
#include "lighting/LightReach.h"
#include "render/LightVariants.h"
#include "render/Model.h"
#include "render/Shader.h"
#include "render/ViewVolume.h"
#include "scene/Entity.h"
#include "scene/SceneLights.h"

Shader* depthFirstShader = nullptr;

namespace {

// The model program, or a narrower one without the lights that cannot reach
// the entity's box and, where no shadow can fall on it, without the shadow
// lookup (the same picture); current either way. `cutOutDone`: for the lit
// pass after a depth pass, where the frame leaves the cut-out test to that
// pass, built without it. A reduced frame takes the lean build.
Shader* litProgramFor(Entity* entity, Shader* shader, const FrameChoices& choices,
                      bool cutOutDone) {
    if (!modelLightVariants || shader != modelShader || !entity->model) return shader;
    if (!choices.lightMasks && !cutOutDone && !choices.leanPrograms) return shader;
    unsigned lights = kEveryLight;
    if (choices.lightMasks) {
        entity->updateModelMatrix();
        lights = sceneLightsReaching(worldBox(*entity->model, entity->modelMatrix));
    }
    return modelLightVariants->current(lights, cutOutDone, choices.leanPrograms);
}

// The form of the entity the frame draws in this view: its distant or far
// form where the frame draws those and the entity stands beyond their depth
// (the distant one first), else its thin form where the frame draws those.
Entity* formIn(Entity* entity, const ViewVolume& view, const FrameChoices& choices) {
    const bool distant = entity->distantForm && choices.distantFormsFrom > 0.0f;
    const bool far = entity->farForm && choices.farFormsFrom > 0.0f;
    if (distant || far) {
        const float depth = (view.clipFromWorld * glm::vec4(entity->getPosition(), 1.0f)).w;
        if (distant && depth > choices.distantFormsFrom) return entity->distantForm;
        if (far && depth > choices.farFormsFrom) return entity->farForm;
    }
    return thinFormIf(entity, choices);
}

// Draws the entity's triangles nearest to the view first.
void drawNearestFirst(Entity* entity, Shader* shader, const ViewVolume& view) {
    entity->updateModelMatrix();
    entity->model->sortAlong(glm::vec3(glm::row(view.clipFromWorld * entity->modelMatrix, 3)),
                             DrawOrder::ViewSorted);
    entity->draw(shader, DrawOrder::ViewSorted);
}

}  // namespace

Entity* thinFormIf(Entity* entity, const FrameChoices& choices) {
    return entity && entity->thinForm && choices.thinForms ? entity->thinForm : entity;
}

void drawEntity(Entity* entity, Shader* shader, const ViewVolume& view, const FrameChoices& choices,
                DepthFirst depthFirst) {
    if (!entity) return;
    entity = formIn(entity, view, choices);
    Shader* const given = shader;
    const bool drawnDepthFirst =
        depthFirst != DepthFirst::No && entity->cutOut() && depthFirstShader && shader;
    // Marked, the depth pass writes alpha 0 where it takes the pixel. Every
    // surface drawn before leaves alpha 1, so a pixel where the entity only
    // meets an earlier surface at exactly its depth keeps its 1.
    const bool marked = depthFirst == DepthFirst::Marked;
    const bool cutOutDone = drawnDepthFirst && marked && choices.cutOutOnce;
    shader = litProgramFor(entity, shader, choices, cutOutDone);
    if (!drawnDepthFirst) {
        if (choices.nearestFirst && entity->cutOut() && shader) {
            drawNearestFirst(entity, shader, view);
            return;
        }
        entity->draw(shader);
        return;
    }
    // The view, projection and clip plane the pass gave the model program.
    depthFirstShader->takeOver(*given);
    depthFirstShader->setInt("cutOut", 1);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, marked ? GL_TRUE : GL_FALSE);
    if (marked) glDisable(GL_BLEND);
    // Nearest first: the depth pass keeps the nearest depth in any order, and
    // the leaves behind fail the test before their texels are read.
    drawNearestFirst(entity, depthFirstShader, view);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_BLEND);
    glDepthFunc(GL_EQUAL);
    if (marked) {
        // The lit pass writes only over the mark (source times one minus the
        // destination's alpha, destination times its alpha) and leaves alpha
        // 1: of the fragments at the nearest depth the first in the usual
        // order stays, and an earlier surface at a tie keeps its pixel, as in
        // the usual order with the less test.
        glBlendFuncSeparate(GL_ONE_MINUS_DST_ALPHA, GL_DST_ALPHA, GL_ONE, GL_ZERO);
        // Left to the depth pass, the cut-out test gives a cut-away texel at
        // the nearest depth alpha 0 instead of discarding it; the larger
        // alpha stays, so the mark waits for a kept texel, which writes over
        // it as before. (The full program, handed out while its narrower one
        // is not built yet, gives alpha 1 to every texel it keeps.)
        if (cutOutDone) glBlendEquationSeparate(GL_FUNC_ADD, GL_MAX);
        entity->draw(shader);
        if (cutOutDone) glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        // Every fragment at the nearest depth passes the equal test, and the
        // last one drawn stays: drawn backwards, that is the one the usual
        // order keeps.
        entity->draw(shader, DrawOrder::Backwards);
    }
    glDepthFunc(GL_LESS);
}
