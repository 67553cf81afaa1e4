#include "frame/ResolvePass.h"

#include <GL/glew.h>

#include "core/Globals.h"
#include "effects/FrameBuffer.h"
#include "frame/FramePlan.h"
#include "frame/SceneTargets.h"
#include "render/Shader.h"

void resolveScene(const FramePlan& plan) {
    const FrameChoices& choices = plan.choices;
    if (!sceneBuffer) return;
    if (choices.reduced() && frameBufferShader) {
        // A reduced frame is tone-mapped at its own size into 8 bits, so the
        // costly curve runs on the reduced pixels only, and that picture is
        // stretched onto the window by a plain textured quad (cheaper than a
        // blit from the floating-point target). Both draws write alpha 1
        // over everything, so blending is left out.
        if (!reducedPictureBuffer)
            reducedPictureBuffer =
                new FrameBuffer(frameBufferShader, screenWidth, screenHeight, true);
        const int width = choices.side(screenWidth), height = choices.side(screenHeight);
        glDisable(GL_BLEND);
        glBindFramebuffer(GL_FRAMEBUFFER, reducedPictureBuffer->framebuffer);
        glViewport(0, 0, width, height);
        sceneBuffer->drawQuad();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, shownWidth(), shownHeight());
        reducedPictureBuffer->drawQuad();
        glEnable(GL_BLEND);
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
