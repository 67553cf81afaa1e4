#include "frame/ResolvePass.h"

#include <GL/glew.h>

#include "core/Globals.h"
#include "effects/FrameBuffer.h"
#include "frame/FramePlan.h"
#include "frame/SceneTargets.h"
#include "render/Shader.h"

namespace {

// The scene buffer's quad through the effect shader; with `texelForTexel`,
// through texelResolveShader with the effect shader's values, where each
// pixel reads its own texel (the viewport's pixels and the scene's texels
// then have to line up).
void drawSceneQuad(bool texelForTexel) {
    Shader* const design = sceneBuffer->shader;
    if (texelForTexel && texelResolveShader && design) {
        texelResolveShader->takeOver(*design);
        sceneBuffer->shader = texelResolveShader;
        sceneBuffer->drawQuad();
        sceneBuffer->shader = design;
        return;
    }
    sceneBuffer->drawQuad();
}

}  // namespace

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
        // The picture has the scene's reduced size: texel for texel too.
        drawSceneQuad(choices.texelResolve);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, shownWidth(), shownHeight());
        reducedPictureBuffer->drawQuad();
        glEnable(GL_BLEND);
        return;
    }
    // The window takes the whole picture (the runner set its viewport to the
    // window as it is now), texel for texel where the sizes agree.
    drawSceneQuad(choices.texelResolve && sceneBuffer->width == shownWidth() &&
                  sceneBuffer->height == shownHeight());
}
