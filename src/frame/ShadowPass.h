#pragma once
// The sun's shadow in the frame: the depth pass over the shadow casters and
// the hand-over of the depth map to the passes that read it.

#include <GL/glew.h>

#include "core/FrameChoices.h"
#include "render/ScreenRect.h"
#include "render/ViewVolume.h"

class ShadowMap;
struct FramePlan;

// Created by initSkyAndShadows, deleted by cleanup while the context lives.
extern ShadowMap* shadowMap;

// Renders the shadow casters into the depth map with the depth program (the
// runner has set front-face culling), then leaves the window's framebuffer
// bound and cleared, the viewport of the frame's part, no program current
// and back faces culled. Does nothing without a shadow map or its depth
// program. With the shadow-casters shortcut on, a caster whose shadow can
// reach none of the plan's views that read this map (the main view, and the
// next frame's water reflection, seen as this frame's) is left out of the
// map for now.
void drawShadowPass(const FramePlan& plan);

// Where a pass draws, to go back to after drawing into the shadow map.
struct PassTarget {
    GLuint framebuffer = 0;
    PixelRect viewport;
};

// Before a pass reads the map with `view`: draws into it the casters left
// out whose shadow the view can show, so the pass reads what a map with
// every caster holds there; then binds `back` again, with back faces culled
// and no program current. Nothing is left out unless the frame defers
// casters.
void completeShadowsFor(const ViewVolume& view, const PassTarget& back,
                        const FrameChoices& choices);

// Once the map exists: the light-set choice asks it whether a shadow can
// fall (none until the first depth pass hands the receivers a matrix).
void startShadowTests();

// Drops what the last pass left out (the map is about to go).
void forgetShadowPass();

// Gives the receiving programs the depth map and the light-space matrix of
// the last depth pass. Does nothing without a shadow map.
void bindShadowMapForMainPass();

// The same for the water passes at the start of a frame, which read the
// last frame's map, once a depth pass has drawn one; leaves unit 0 active
// (a capture before them leaves the map's unit active, and binding a water
// target unbinds the texture of the active unit).
void bindShadowMapForWaterPasses();
