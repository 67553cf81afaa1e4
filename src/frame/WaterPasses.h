#pragma once
// The water's two off-screen passes of a frame: the scene above the water
// seen by the main camera mirrored in the surface, and the terrain and sky
// below the surface. Both run after the camera update and before the shadow
// and main passes.

#include <glm/glm.hpp>

#include "core/FrameChoices.h"
#include "render/ScreenRect.h"

struct FramePlan;

// The matrix that narrows a view to one part of a water target, the part
// alone drawn (the identity with the water-parts shortcut off).
glm::mat4 waterPartClip(const PixelRect& part, const FrameChoices& choices);

// Each draws into its target, which the frame's runner has bound and
// cleared; both need the water and its targets.
void renderWaterReflection(const FramePlan& plan);
void renderWaterRefraction(const FramePlan& plan);
