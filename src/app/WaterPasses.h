#pragma once
// The water's two off-screen passes of a frame: the scene above the water
// seen by the main camera mirrored in the surface, and the terrain and sky
// below the surface. Both run after the camera update and before the shadow
// and main passes; they do nothing while the water or its targets are missing.

struct FramePlan;

void renderWaterPasses(const FramePlan& plan);
