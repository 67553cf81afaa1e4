#pragma once
// What a pass's view can show, so that it can leave out what cannot appear.

#include <glm/glm.hpp>

#include "render/ScreenRect.h"

class Model;

struct ViewVolume {
    glm::mat4 clipFromWorld{1.0f};  // "projection" * "view"
    glm::vec4 clipPlane{0.0f};      // "waterClipPlane", when `clipping`
    bool clipping = false;          // clip distance 0 on and the plane declared

    // True when nothing of the world-space box can be drawn: wholly outside
    // the view or wholly cut away by the clip plane.
    bool hides(const Box& worldBox) const;
};

// While a pass draws into a part of its viewport only (a scissor), the
// volumes of its views shrink to that part, so that culling leaves
// out what only the rest of the viewport would show. The identity (the
// whole viewport) outside such a pass.
extern glm::mat4 drawnPartOfViewport;

// The matrix that takes clip positions over a width x height viewport to clip
// positions over its part `part` alone (the identity for an empty part or
// viewport).
glm::mat4 clipToPart(const PixelRect& part, int width, int height);

// The box around a model's vertices in its own space (empty without meshes).
Box modelBox(const Model& model);

// The world-space box around a model's vertices placed by a model matrix.
Box worldBox(const Model& model, const glm::mat4& modelMatrix);
