#pragma once
// Cut-out models (leaves, grass) drawn depth first: a cheap pass with only
// the cut-out test settles the nearest surface at each pixel, then the full
// shader runs where its fragment is that surface. A software rasterizer
// otherwise lights every leaf behind another and every texel the cut-out
// throws away. The picture is the same: the depth pass places the same
// vertices with the same arithmetic and keeps the same texels. One case
// differs: where a leaf lies at exactly the stored depth of a surface drawn
// before it, the leaf takes the pixel that the usual order leaves to the
// earlier surface (none of the picture tests' moments has such a pixel).

#include "render/ViewVolume.h"

class Entity;
class Shader;

// Below this render scale the models are drawn as usual.
constexpr float kDepthFirstScale = 0.5f;

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
