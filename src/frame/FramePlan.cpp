#include "frame/FramePlan.h"

#include <cmath>

#include "app/AppGlobals.h"
#include "camera/Camera.h"
#include "camera/Projection.h"
#include "core/Globals.h"
#include "core/QualityProfile.h"
#include "effects/FrameBuffer.h"
#include "effects/Terrain.h"
#include "effects/Water.h"
#include "effects/WaterFrameBuffers.h"
#include "effects/WaterMath.h"
#include "frame/EnvironmentCapture.h"
#include "frame/SceneTargets.h"
#include "render/Model.h"
#include "scene/Entity.h"
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

// The eye's height over the ground beneath it, per unit of the ground's
// steepness (for 1 + slope squared), that keeps all ground beyond the near
// plane (0.1 units).
constexpr float kEyeClearance = 0.25f;

// Where on the screen the surface can show this frame: only over the
// squares of the grid where the ground does not hide it for certain (see
// squaresShowingWater). That needs the eye over the grid and clear of the
// ground (its nearest ground beyond the near plane), the water square inside
// the grid, and the full grid drawn (a reduced frame's coarse ground is not
// the one measured under the eye); otherwise the whole square counts.
ViewportArea waterOnScreen(const PassView& seen, const FrameChoices& choices) {
    const ViewVolume view = seen.volume();
    if (!terrain || terrain->squareBoxes.empty() || choices.groundStride != 1)
        return water->onScreen(view);
    const glm::vec2 gridMin(terrain->position.x, terrain->position.z);
    const glm::vec2 gridMax = gridMin + glm::vec2(kTerrainSize);
    const auto overGrid = [&](float x, float z) {
        return x >= gridMin.x && x <= gridMax.x && z >= gridMin.y && z <= gridMax.y;
    };
    const Box surface = water->surfaceBox();
    const glm::vec3 eye = seen.eye.position;
    const float slope = terrain->steepness;
    if (surface.empty || !overGrid(surface.min.x, surface.min.z) ||
        !overGrid(surface.max.x, surface.max.z) || !overGrid(eye.x, eye.z) ||
        eye.y < terrain->getHeightOfTerrain(eye.x, eye.z) +
                    kEyeClearance * std::sqrt(1.0f + slope * slope))
        return water->onScreen(view);
    // The main pass tests the surface against the ground in the scene buffer.
    const int depthBits = sceneBuffer ? sceneBuffer->depthBits : 0;
    return water->onScreen(view, squaresShowingWater(terrain->squareBoxes, eye, water->height(),
                                                     slope, seen.projection, depthBits));
}

// The parts of a water target that the surface, seen in `seen` of the
// screen (waterOnScreen), can read this frame (see waterReadRects), each
// drawn on its own with the pass's draws cut to it and culled to it; with the
// shortcuts off, the whole drawn part, drawn as it is. The water program's
// view is this frame's main view: the main pass draws the surface with it.
std::vector<PixelRect> readParts(const ViewportArea& seen, bool mirrored,
                                 const FrameChoices& choices) {
    if (!water) return {};
    const PixelRect drawn = WaterFrameBuffers::drawnPart(choices);
    if (!choices.waterParts) return {drawn};
    return waterReadRects(seen, water->distortionStrength, mirrored, drawn.width(), drawn.height(),
                          !choices.reduced());
}

// How far the blur carries a lit texel, in texels: the outermost fetch pair
// sits 13.43 texels out and the linear filter reads the texel beyond it.
constexpr int kGlowReach = 15;

// The sources grown by the blur's reach along one axis. The buffers repeat at
// their edges, so a reach that crosses one edge comes in at the other: the
// rectangle then spans that axis.
PixelRect reach(const PixelRect& r, bool alongX, bool alongY, const FrameChoices& choices) {
    if (r.empty()) return r;
    const int width = choices.side(screenWidth), height = choices.side(screenHeight);
    PixelRect g = r;
    if (alongX) {
        g.x0 -= kGlowReach;
        g.x1 += kGlowReach;
        if (g.x0 < 0 || g.x1 > width) g.x0 = 0, g.x1 = width;
    }
    if (alongY) {
        g.y0 -= kGlowReach;
        g.y1 += kGlowReach;
        if (g.y0 < 0 || g.y1 > height) g.y0 = 0, g.y1 = height;
    }
    return grow(g, 0, 0, width, height);
}

// Whether each of `parts` lies inside one of `drawn`.
bool within(const std::vector<PixelRect>& parts, const std::vector<PixelRect>& drawn) {
    for (const PixelRect& p : parts) {
        if (p.empty()) continue;
        bool inside = false;
        for (const PixelRect& d : drawn)
            inside = inside || (p.x0 >= d.x0 && p.y0 >= d.y0 && p.x1 <= d.x1 && p.y1 <= d.y1);
        if (!inside) return false;
    }
    return true;
}

PassView passView(const EyeView& eye, const glm::mat4& projection, bool clips,
                  const glm::vec4& plane) {
    return {eye, projection, plane, clips};
}

}  // namespace

FramePlan planFrame(const EyeView& beforeStep, const Camera& camera, bool capture) {
    FramePlan plan;
    plan.choices = quality.choices();
    // A reduced capture draws its faces in the glow source buffer beyond
    // the part the frame uses.
    if (capture && reducedFaceSide(plan.choices)) plan.choices.wholeClears = true;
    const FrameChoices& choices = plan.choices;
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

    if (plan.waterPasses && choices.waterParts) plan.waterSeen = waterOnScreen(plan.water, choices);
    if (plan.waterPasses) {
        plan.reflectionParts = readParts(plan.waterSeen, true, choices);
        plan.refractionParts = readParts(plan.waterSeen, false, choices);
        plan.waterKept = choices.waterEveryOther && !choices.wholeClears &&
                         !waterFrameBuffers->keptLastFrame &&
                         waterFrameBuffers->drawnAtClock == previousTimeOfDay &&
                         within(plan.reflectionParts, waterFrameBuffers->reflectionDrawn) &&
                         within(plan.refractionParts, waterFrameBuffers->refractionDrawn);
    }

    // The glow: the sources the clock lights, where the model program's eye
    // sees them, and how far their blur reaches.
    plan.lamp = lampStateAt(timeOfDay, previousTimeOfDay);
    const glm::mat4& eye = plan.models.eye.view;
    if (plan.lamp.sunGlows)
        plan.glowSources = unite(plan.glowSources, onScreen(sun, eye, choices));
    if (plan.lamp.bulbsGlow)
        plan.glowSources = unite(plan.glowSources, onScreen(lightBulbs, eye, choices));
    plan.glowBlur = reach(plan.glowSources, true, false, choices);
    plan.glowAdded = reach(plan.glowSources, true, true, choices);
    return plan;
}

FrameChoices currentChoices() {
    return quality.choices();
}

void clearWholeNextFrame() {
    quality.wholeClears = true;
}

PixelRect onScreen(Entity* entity, const glm::mat4& view, const FrameChoices& choices) {
    if (!entity || !entity->model) return {};
    entity->updateModelMatrix();
    const glm::mat4 clip = screenProjection(screenWidth, screenHeight) * view * entity->modelMatrix;
    return projectBox(clip, modelBox(*entity->model), choices.side(screenWidth),
                      choices.side(screenHeight));
}
