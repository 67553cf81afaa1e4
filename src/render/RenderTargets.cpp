#include "render/RenderTargets.h"

#include "core/Globals.h"
#include "platform/GlCompat.h"

GLuint attachDepthRenderbuffer(int width, int height) {
    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, depthRenderbufferFormat(), width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffer);
    return renderbuffer;
}

void clearDrawnPart(GLbitfield mask, int drawnWidth, int drawnHeight,
                    const FrameChoices& choices) {
    if (!choices.clearsPartOnly()) {
        glClear(mask);
        return;
    }
    clearRect(mask, PixelRect{0, 0, drawnWidth, drawnHeight});
}

void clearRect(GLbitfield mask, const PixelRect& rect) {
    if (rect.empty()) return;
    glEnable(GL_SCISSOR_TEST);
    glScissor(rect.x0, rect.y0, rect.width(), rect.height());
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
}

void clearWindowBuffers(GLbitfield mask, const FrameChoices& choices) {
    if (!choices.windowClear) glClear(mask);
}
