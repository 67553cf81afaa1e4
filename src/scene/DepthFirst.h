#pragma once
// Cut-out models (leaves, grass) drawn depth first: a cheap pass with only
// the cut-out test settles the nearest surface at each pixel, then the full
// shader runs where its fragment is that surface. A software rasterizer
// otherwise lights every leaf behind another and every texel the cut-out
// throws away. The picture is the same: the depth pass places the same
// vertices (the model vertex shader's position is invariant, so two programs
// built from it give the same depths) and keeps the same texels. At an exact
// tie (a leaf at exactly the stored depth of a surface drawn before it: a
// trunk's or a grass blade's base on the ground) the usual order keeps the
// earlier surface. Where the target keeps alpha, the depth pass marks the
// pixels it takes with alpha 0 and the lit pass writes only there, so the
// tie goes as in the usual order. A target without alpha (the capture's
// faces) cannot be marked: there the leaf takes such a pixel. Leaves depth
// LESS with writes on, every colour written and blending by source alpha.

#include "core/FrameChoices.h"
#include "render/ViewVolume.h"

class Entity;
class Shader;

// The program for the depth pass (the model vertex shader with the depth
// fragment shader), or null before the shaders exist; null draws as usual.
extern Shader* depthFirstShader;

enum class DepthFirst {
    No,        // drawn as usual
    Marked,    // depth first into a target that keeps alpha: ties as usual
    Unmarked,  // depth first into a target without alpha
};

// Draws the entity with `shader` (the model program, whose view, projection
// and clip plane the depth pass takes over; `view` is that program's view),
// depth first as `depthFirst` says when its model has cut-out texels. With
// the frame's light-masks choice, the model program gives way to a narrower
// one without the lights that cannot reach the entity (see LightVariants).
// Where the frame draws far forms, an entity beyond their depth in `view` is
// drawn as its far form; elsewhere, where the frame draws thin forms, as its
// thin form.
void drawEntity(Entity* entity, Shader* shader, const ViewVolume& view,
                const FrameChoices& choices, DepthFirst depthFirst);

// The entity's thin form where it has one and the frame draws thin forms,
// else the entity (null stays null).
Entity* thinFormIf(Entity* entity, const FrameChoices& choices);
