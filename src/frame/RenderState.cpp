#include "frame/RenderState.h"

#include "platform/GlCompat.h"

void applyRenderState(const RenderState& state) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_CULL_FACE);
    glCullFace(state.cullFace);
    glEnable(GL_BLEND);
    glBlendFunc(state.blendSource, state.blendDestination);
    enableClipDistance();
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glUseProgram(0);
}
