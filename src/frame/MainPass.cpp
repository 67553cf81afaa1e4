#include "frame/MainPass.h"

#include <GL/glew.h>

#include "app/Smoke.h"
#include "core/Globals.h"
#include "effects/Skybox.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "frame/FramePlan.h"
#include "frame/GlowPasses.h"
#include "frame/SceneTargets.h"
#include "frame/ShadowPass.h"
#include "render/PassTimer.h"
#include "render/Shader.h"
#include "scene/DepthFirst.h"
#include "scene/Entity.h"
#include "scene/EntityCulling.h"
#include "scene/Frustum.h"
#include "scene/Scene.h"

namespace {

// Draws the entity if its sphere, centred `lift` units above its position,
// is not wholly outside the view frustum (and its model's box is in `view`,
// the drawing program's view).
void drawCulled(Entity* entity, float lift, Shader* shader, const ViewVolume& view,
                const FrameChoices& choices) {
    if (!entity) return;
    const glm::vec3 centre = entity->getPosition() + glm::vec3(0.0f, lift, 0.0f);
    if (viewFrustum && !viewFrustum->containsSphere(centre, entity->getRadius())) return;
    if (hiddenFrom(view, entity, choices)) return;
    // The scene buffer keeps alpha: depth first settles exact ties there.
    drawEntity(entity, shader, view, choices,
               choices.depthFirst ? DepthFirst::Marked : DepthFirst::No);
}

// Marks the deep water before the scene, so that nothing under it is lit
// (the picture is the same). The see-through models blend with what lies
// behind them, so their pixels are left as they are.
void markDeepWater(const FramePlan& plan) {
    const FrameChoices& choices = plan.choices;
    if (!choices.deepWaterMark || !water) return;
    const glm::mat4& eye = plan.models.eye.view;
    const PixelRect seeThrough =
        unite(onScreen(lightBulbs, eye, choices), onScreen(glasses, eye, choices));
    water->markDeepWater(
        grow(seeThrough, 1, 1, choices.side(screenWidth), choices.side(screenHeight)));
}

void setTransparent(int value) {
    modelShader->use();
    modelShader->setInt("transparent", value);
    glUseProgram(0);
}

}  // namespace

void drawScene(const FramePlan& plan) {
    const ViewVolume models = plan.models.volume();
    const ViewVolume terrainView = plan.terrain.volume();
    const auto drawModel = [&](Entity* entity, float lift) {
        drawCulled(entity, lift, modelShader, models, plan.choices);
    };
    passTimerBegin(PassStep::Terrain);
    markDeepWater(plan);
    terrain->draw(&terrainView, plan.choices);
    passTimerBegin(PassStep::Sky);
    if (skybox) skybox->draw(plan.choices);
    passTimerBegin(PassStep::Entities);
    drawModel(streetLamp, 15.0f);
    passTimerEnd();
    addGlow(plan);
    passTimerBegin(PassStep::Entities);
    drawModel(jetty, 0.0f);
    drawModel(boat, 0.0f);
    drawModel(furniture, 4.0f);
    drawModel(breakfast, 4.0f);
    drawModel(coffeeCup, 4.0f);
    drawModel(juice, 4.0f);
    drawCulled(vase, 0.0f, reflectionShader, plan.vase.volume(), plan.choices);
    drawModel(flower, 0.0f);
    for (Entity* g : grassEntities) drawModel(g, 0.0f);
    for (Entity* t : treeEntities) drawModel(t, 10.0f);
    passTimerBegin(PassStep::Transparent);
    setTransparent(1);
    drawModel(lightBulbs, 9.0f);
    drawModel(glasses, 4.0f);
    setTransparent(0);
    passTimerEnd();
}

void mainPass(const FramePlan& plan) {
    bindShadowMapForMainPass();
    if (terrain) drawScene(plan);
    if (water) {
        TimedStep timed(PassStep::Water);
        water->draw();
    }
    TimedStep timed(PassStep::Smoke);
    drawSmoke();
}
