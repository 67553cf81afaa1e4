#include "frame/ResolvePass.h"

#include <GL/glew.h>

#include "core/Globals.h"
#include "effects/FrameBuffer.h"
#include "frame/FramePlan.h"
#include "frame/GlowPasses.h"
#include "frame/SceneTargets.h"
#include "render/Shader.h"

void resolveScene(const FramePlan& plan) {
    const FrameChoices& choices = plan.choices;
    if (!sceneBuffer) return;
    if (choices.reduced() && glowSourceBuffer) {
        // A reduced frame is tone-mapped at its own size into the glow
        // source buffer, whose work is done for this frame, and then
        // stretched onto the window: the costly curve runs on the reduced
        // pixels only.
        const int width = choices.side(screenWidth), height = choices.side(screenHeight);
        glBindFramebuffer(GL_FRAMEBUFFER, glowSourceBuffer->framebuffer);
        glViewport(0, 0, width, height);
        sceneBuffer->drawQuad();
        glowSourcesOverwritten({0, 0, width, height});
        glBindFramebuffer(GL_READ_FRAMEBUFFER, glowSourceBuffer->framebuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, width, height, 0, 0, shownWidth(), shownHeight(),
                          GL_COLOR_BUFFER_BIT, GL_LINEAR);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, shownWidth(), shownHeight());
        return;
    }
    // The window takes the whole picture (the runner set its viewport to the
    // window as it is now), texel for texel where the sizes agree.
    Shader* const design = sceneBuffer->shader;
    if (choices.texelResolve && texelResolveShader && design &&
        sceneBuffer->width == shownWidth() && sceneBuffer->height == shownHeight()) {
        texelResolveShader->takeOver(*design);
        sceneBuffer->shader = texelResolveShader;
        sceneBuffer->drawQuad();
        sceneBuffer->shader = design;
        return;
    }
    sceneBuffer->drawQuad();
}
