#include "scene/DepthFirst.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_access.hpp>

#include "core/Globals.h"
#include "core/QualityProfile.h"
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
// lookup (the same picture); current either way.
Shader* litProgramFor(Entity* entity, Shader* shader) {
    if (!quality.uses(Shortcut::LightMasks) || !modelLightVariants || shader != modelShader ||
        !entity->model)
        return shader;
    entity->updateModelMatrix();
    return modelLightVariants->current(
        sceneLightsReaching(worldBox(*entity->model, entity->modelMatrix)));
}

}  // namespace

void drawEntity(Entity* entity, Shader* shader, const ViewVolume& view) {
    if (!entity) return;
    Shader* const given = shader;
    shader = litProgramFor(entity, shader);
    // In a much reduced frame the leaves' pixels are few and the second
    // pass over their vertices would cost more than it saves.
    if (!quality.drawsDepthFirst() || !entity->cutOut() || !depthFirstShader || !shader) {
        entity->draw(shader);
        return;
    }
    // The view, projection and clip plane the pass gave the model program.
    depthFirstShader->takeOver(*given);
    depthFirstShader->setInt("cutOut", 1);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    // Nearest first: the depth pass keeps the nearest depth in any order, and
    // the leaves behind fail the test before their texels are read.
    entity->updateModelMatrix();
    entity->model->sortAlong(glm::vec3(glm::row(view.clipFromWorld * entity->modelMatrix, 3)),
                             DrawOrder::ViewSorted);
    entity->draw(depthFirstShader, DrawOrder::ViewSorted);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // Every fragment at the nearest depth passes the equal test, and the last
    // one drawn stays: drawn backwards, that is the one the usual order keeps.
    glDepthFunc(GL_EQUAL);
    entity->draw(shader, DrawOrder::Backwards);
    glDepthFunc(GL_LESS);
}
