#pragma once
// The sun's shadow in the frame: the depth pass over the shadow casters and
// the hand-over of the depth map to the main pass.

class ShadowMap;

// Created by initSkyAndShadows, deleted by cleanup while the context lives.
extern ShadowMap* shadowMap;

// Renders every shadow caster into the depth map with the depth program, then
// leaves the window's framebuffer bound and cleared, its viewport restored, no
// program current and back faces culled. Does nothing without a shadow map
// or its depth program.
void drawShadowPass();

// Gives the receiving programs the depth map and the light-space matrix of
// the last depth pass. Does nothing without a shadow map.
void bindShadowMapForMainPass();
