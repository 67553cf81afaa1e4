#include "effects/WaterFrameBuffers.h"

#include <GL/glew.h>

#include <cstdio>

#include "core/Globals.h"
#include "platform/GlCompat.h"
#include "render/RenderTargets.h"

WaterFrameBuffers::WaterFrameBuffers(int windowWidth, int windowHeight)
    : windowWidth(windowWidth), windowHeight(windowHeight) {
    createReflectionFrameBuffer();
    createRefractionFrameBuffer();
}

WaterFrameBuffers::~WaterFrameBuffers() {
    glDeleteFramebuffers(1, &reflectionFrameBuffer);
    glDeleteTextures(1, &reflectionTexture);
    glDeleteRenderbuffers(1, &reflectionDepthBuffer);
    glDeleteFramebuffers(1, &refractionFrameBuffer);
    glDeleteTextures(1, &refractionTexture);
    glDeleteTextures(1, &refractionDepthTexture);
}

unsigned int WaterFrameBuffers::createColourTexture() {
    unsigned int texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kWidth, kHeight, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

void WaterFrameBuffers::createReflectionFrameBuffer() {
    glGenFramebuffers(1, &reflectionFrameBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, reflectionFrameBuffer);
    selectDrawBuffer(GL_COLOR_ATTACHMENT0);
    reflectionTexture = createColourTexture();

    reflectionDepthBuffer = attachDepthRenderbuffer(kWidth, kHeight);

    checkComplete("reflection");
    unbindCurrentFrameBuffer();
}

void WaterFrameBuffers::createRefractionFrameBuffer() {
    glGenFramebuffers(1, &refractionFrameBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, refractionFrameBuffer);
    selectDrawBuffer(GL_COLOR_ATTACHMENT0);
    refractionTexture = createColourTexture();

    glGenTextures(1, &refractionDepthTexture);
    glBindTexture(GL_TEXTURE_2D, refractionDepthTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, depthTextureFilter(GL_LINEAR));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, depthTextureFilter(GL_LINEAR));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    allocateDepthTexture(GL_DEPTH_COMPONENT32, kWidth, kHeight);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                           refractionDepthTexture, 0);
    glBindTexture(GL_TEXTURE_2D, 0);

    checkComplete("refraction");
    unbindCurrentFrameBuffer();
}

bool WaterFrameBuffers::checkComplete(const char* name) {
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE) return true;
    std::printf("ERROR::WATER:: the %s framebuffer is not complete (status 0x%x)\n", name,
                unsigned(status));
    return false;
}

PixelRect WaterFrameBuffers::drawnPart(const FrameChoices& choices) {
    return {0, 0, choices.waterSide(kWidth), choices.waterSide(kHeight)};
}

void WaterFrameBuffers::bindFrameBuffer(unsigned int frameBuffer, const FrameChoices& choices) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    const PixelRect drawn = drawnPart(choices);
    glViewport(0, 0, drawn.width(), drawn.height());
}

void WaterFrameBuffers::bindReflectionFrameBuffer(const FrameChoices& choices) {
    bindFrameBuffer(reflectionFrameBuffer, choices);
}

void WaterFrameBuffers::bindRefractionFrameBuffer(const FrameChoices& choices) {
    bindFrameBuffer(refractionFrameBuffer, choices);
}

void WaterFrameBuffers::unbindCurrentFrameBuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
}
