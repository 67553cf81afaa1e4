#pragma once
// The GL state a pass draws with, set whole at the start of every pass, so
// that no pass depends on what the one before it left.

#include <GL/glew.h>

struct RenderState {
    GLenum cullFace = GL_BACK;  // culling is on; a model drawn without it turns it off for itself
    GLenum blendSource = GL_SRC_ALPHA;
    GLenum blendDestination = GL_ONE_MINUS_SRC_ALPHA;
};

// Depth test on (less), depth and colour writes on, culling of the state's
// face, blending with its factors, clip distance 0 on (where the context
// clips: enableClipDistance), scissor and stencil tests and polygon offset
// off (the shadow map turns its offset on for its casters), no program
// current.
void applyRenderState(const RenderState& state);
