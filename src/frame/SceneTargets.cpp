#include "frame/SceneTargets.h"

#include "core/Globals.h"
#include "effects/FrameBuffer.h"

FrameBuffer* sceneBuffer = nullptr;
Shader* texelResolveShader = nullptr;
FrameBuffer* glowSourceBuffer = nullptr;
FrameBuffer* glowBlurBuffer = nullptr;
FrameBuffer* reducedPictureBuffer = nullptr;

namespace {

void release(FrameBuffer*& buffer) {
    delete buffer;
    buffer = nullptr;
}

}  // namespace

void createSceneFrameBuffers() {
    sceneBuffer = new FrameBuffer(effectShader, screenWidth, screenHeight);
    glowSourceBuffer = new FrameBuffer(horizontalGlowShader, screenWidth, screenHeight);
    glowBlurBuffer = new FrameBuffer(verticalGlowShader, screenWidth, screenHeight);
}

void releaseSceneFrameBuffers() {
    release(sceneBuffer);
    release(glowSourceBuffer);
    release(glowBlurBuffer);
    release(reducedPictureBuffer);
}
