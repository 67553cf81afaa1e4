#include "app/Passes.h"

#include <GL/glew.h>

#include "app/HdrPasses.h"
#include "core/Globals.h"
#include "effects/Skybox.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "render/PassTimer.h"
#include "render/Shader.h"
#include "scene/DepthFirst.h"
#include "scene/Entity.h"
#include "scene/EntityCulling.h"
#include "scene/Frustum.h"
#include "scene/Scene.h"

namespace {

ViewVolume mainView;

// Draws the entity if its sphere, centred `lift` units above its position,
// is not wholly outside the view frustum (and its model's box is in view).
void drawCulled(Entity* entity, float lift, Shader* shader) {
    if (!entity) return;
    const glm::vec3 centre = entity->getPosition() + glm::vec3(0.0f, lift, 0.0f);
    if (viewFrustum && !viewFrustum->containsSphere(centre, entity->getRadius())) return;
    if (hiddenFrom(mainView, entity)) return;
    drawEntity(entity, shader);
}

// Marks the deep water before the scene, so that nothing under it is lit
// (the picture is the same). The see-through models blend with what lies
// behind them, so their pixels are left as they are.
void markDeepWater() {
    if (!renderShortcuts || !water) return;
    const PixelRect seeThrough = unite(onScreen(lightBulbs), onScreen(glasses));
    water->markDeepWater(grow(seeThrough, 1, 1, scaledSide(screenWidth), scaledSide(screenHeight)));
}

void setTransparent(int value) {
    modelShader->use();
    modelShader->setInt("transparent", value);
    glUseProgram(0);
}

}  // namespace

void drawScene() {
    mainView = viewVolumeOf(modelShader);
    passTimerBegin(PassStep::Terrain);
    markDeepWater();
    terrain->draw();
    passTimerBegin(PassStep::Sky);
    if (skybox) skybox->draw();
    passTimerBegin(PassStep::Entities);
    drawCulled(streetLamp, 15.0f, modelShader);
    passTimerEnd();
    addGlow();
    passTimerBegin(PassStep::Entities);
    drawCulled(jetty, 0.0f, modelShader);
    drawCulled(boat, 0.0f, modelShader);
    drawCulled(furniture, 4.0f, modelShader);
    drawCulled(breakfast, 4.0f, modelShader);
    drawCulled(coffeeCup, 4.0f, modelShader);
    drawCulled(juice, 4.0f, modelShader);
    drawCulled(vase, 0.0f, reflectionShader);
    drawCulled(flower, 0.0f, modelShader);
    for (Entity* g : grassEntities) drawCulled(g, 0.0f, modelShader);
    for (Entity* t : treeEntities) drawCulled(t, 10.0f, modelShader);
    passTimerBegin(PassStep::Transparent);
    setTransparent(1);
    drawCulled(lightBulbs, 9.0f, modelShader);
    drawCulled(glasses, 4.0f, modelShader);
    setTransparent(0);
    passTimerEnd();
}
