#pragma once
// Cut-out models (leaves, grass) drawn depth first: a cheap pass with only
// the cut-out test settles the nearest surface at each pixel, then the full
// shader runs where its fragment is that surface. A software rasterizer
// otherwise lights every leaf behind another and every texel the cut-out
// throws away. The picture is the same: the depth pass places the same
// vertices (the model vertex shader's position is invariant, so two programs
// built from it give the same depths) and keeps the same texels, and it marks
// in the stencil where a leaf came strictly nearer than what was drawn
// before; the lit pass draws there only, so a leaf that merely ties with an
// earlier surface leaves it the pixel, as the usual order does. Leaves the
// stencil test off, depth LESS and every colour written.

#include "render/ViewVolume.h"

class Entity;
class Shader;

// The program for the depth pass (the model vertex shader with the depth
// fragment shader), or null before the shaders exist; null draws as usual.
extern Shader* depthFirstShader;

// Draws the entity with `shader` (the model program, whose view, projection
// and clip plane the depth pass takes over; `view` is that program's view),
// depth first when its model has cut-out texels, the shortcuts are on and
// the frame is not much reduced.
// With the shortcuts on, the model program gives way to a narrower one
// without the lights that cannot reach the entity (see LightVariants).
void drawEntity(Entity* entity, Shader* shader, const ViewVolume& view);
