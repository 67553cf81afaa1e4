#include "frame/FramePlan.h"

#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "effects/Water.h"
#include "effects/WaterFrameBuffers.h"
#include "effects/WaterMath.h"
#include "scene/Scene.h"

EyeView eyeOf(const Camera& camera) {
    return {camera.viewMatrix(), camera.position};
}

ViewVolume PassView::volume() const {
    ViewVolume v;
    v.clipFromWorld = drawnPartOfViewport * projection * eye.view;
    v.clipPlane = clipPlane;
    v.clipping = clipping;
    return v;
}

namespace {

PassView passView(const EyeView& eye, const glm::mat4& projection, bool clips,
                  const glm::vec4& plane) {
    PassView v;
    v.eye = eye;
    v.projection = projection;
    v.clipping = clips;
    v.clipPlane = plane;
    return v;
}

}  // namespace

FramePlan planFrame(const EyeView& beforeStep, const Camera& camera, bool capture) {
    FramePlan plan;
    plan.beforeStep = beforeStep;
    plan.capture = capture;
    plan.waterPasses = water && waterFrameBuffers;
    const glm::mat4 screen = screenProjection(screenWidth, screenHeight);

    // The same derivations the reflection pass makes on the main camera, on a
    // copy: the eyes come out as the pass will give them.
    Camera copy = camera;
    copy.frustum = nullptr;
    plan.afterStep = eyeOf(copy);
    const float h = water ? water->height() : 0.0f;
    const glm::vec3 saved = mirrorCamera(copy, h);
    plan.mirrored = eyeOf(copy);
    restoreFromMirror(copy, saved);
    plan.afterWater = eyeOf(copy);

    // Only the terrain and model programs clip; after the water passes their
    // plane is the one that cuts nothing.
    plan.reflection = passView(plan.mirrored, screen, true, reflectionClipPlane(h));
    plan.refraction = passView(plan.afterWater, screen, true, refractionClipPlane(h));
    const bool clips = plan.waterPasses;
    const glm::vec4 open = disabledClipPlane();
    // Which eye each program holds when the main pass draws: the water
    // passes give the terrain and model programs the eye after them; a
    // capture gives the model program the eye after the step; otherwise they
    // keep the one given before the step.
    const EyeView& terrainEye = plan.waterPasses ? plan.afterWater : beforeStep;
    const EyeView& modelEye = plan.waterPasses ? plan.afterWater
                              : capture        ? plan.afterStep
                                               : beforeStep;
    plan.terrain = passView(terrainEye, screen, clips, open);
    plan.models = passView(modelEye, screen, clips, open);
    plan.vase = passView(beforeStep, screen, false, open);
    plan.water = passView(beforeStep, screen, false, open);
    return plan;
}
