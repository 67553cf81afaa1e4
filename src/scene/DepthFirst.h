#pragma once
// Cut-out models (leaves, grass) drawn depth first: a cheap pass with only
// the cut-out test settles the nearest surface at each pixel, then the full
// shader runs where its fragment is that surface. A software rasterizer
// otherwise lights every leaf behind another and every texel the cut-out
// throws away. The picture is the same: the depth pass places the same
// vertices (the model vertex shader's position is invariant, so two programs
// built from it give the same depths) and keeps the same texels. One case
// differs: where a leaf lies at exactly the stored depth of a surface drawn
// before it, the leaf takes the pixel that the usual order leaves to the
// earlier surface (a trunk's or a grass blade's base on the ground: a pixel
// or two in some frames). Marking the leaf's own pixels in the stencil
// settles that, but costs about a tenth of the frame on llvmpipe. Leaves
// depth LESS with writes on and every colour written.

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
