#pragma once
// The sun's shadow in the frame: the depth pass over the shadow casters and
// the hand-over of the depth map to the main pass.

#include "render/ViewVolume.h"

class ShadowMap;

// Created by initSkyAndShadows, deleted by cleanup while the context lives.
extern ShadowMap* shadowMap;

// Renders the shadow casters into the depth map with the depth program, then
// leaves the window's framebuffer bound and cleared, its viewport restored, no
// program current and back faces culled. Does nothing without a shadow map
// or its depth program. With the shortcuts on, a caster whose shadow can
// reach neither the main view (as the programs hold it) nor a view handed to
// prepareShadowsFor since the last pass is left out of the map for now.
struct FramePlan;
void drawShadowPass(const FramePlan& plan);

// Before a pass reads the map with `view`: draws into it the casters left
// out whose shadow the view can show, so the pass reads what a map with
// every caster holds there. Everything else is left as it was.
void completeShadowsFor(const ViewVolume& view);

// The same, and the next shadow pass draws for this view too (a view each
// frame reads again, such as the water reflection's).
void prepareShadowsFor(const ViewVolume& view);

// Once the map exists: until the first depth pass hands the receivers a
// light matrix, the light-set choice knows that no shadow can fall.
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
