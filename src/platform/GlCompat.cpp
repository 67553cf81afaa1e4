#include "platform/GlCompat.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten/html5.h>
#endif

#if defined(__EMSCRIPTEN__)
namespace {
bool clipDistances = false;
bool clipDistancesForgone = false;
}  // namespace
#endif

void selectDrawBuffer(GLenum buffer) {
#if defined(__EMSCRIPTEN__)
    glDrawBuffers(1, &buffer);
#else
    glDrawBuffer(buffer);
#endif
}

void allocateDepthTexture(GLint desktopFormat, GLsizei width, GLsizei height) {
#if defined(__EMSCRIPTEN__)
    (void)desktopFormat;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT32F, width, height, 0, GL_DEPTH_COMPONENT,
                 GL_FLOAT, nullptr);
#else
    glTexImage2D(GL_TEXTURE_2D, 0, desktopFormat, width, height, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                 nullptr);
#endif
}

GLenum depthRenderbufferFormat() {
#if defined(__EMSCRIPTEN__)
    return GL_DEPTH_COMPONENT24;
#else
    return GL_DEPTH_COMPONENT;
#endif
}

GLint depthTextureFilter(GLint desktopFilter) {
#if defined(__EMSCRIPTEN__)
    (void)desktopFilter;
    return GL_NEAREST;
#else
    return desktopFilter;
#endif
}

void clampToBorder(const GLfloat border[4]) {
#if defined(__EMSCRIPTEN__)
    (void)border;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
#else
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
#endif
}

GLint textureFormatFor(GLint wanted, GLenum format, GLenum type) {
#if defined(__EMSCRIPTEN__)
    if (type == GL_UNSIGNED_BYTE) return format == GL_RGB ? GL_RGB8 : GL_RGBA8;
    if (format == GL_RGB && wanted == GL_RGBA16F) return GL_RGB16F;
    return wanted;
#else
    (void)format;
    (void)type;
    return wanted;
#endif
}

bool mixedLevelTypesAllowed() {
#if defined(__EMSCRIPTEN__)
    return false;
#else
    return true;
#endif
}

GLenum colourTargetDataFormat(GLenum desktopFormat) {
#if defined(__EMSCRIPTEN__)
    (void)desktopFormat;
    return GL_RGBA;
#else
    return desktopFormat;
#endif
}

GLuint64 queryResultNs(GLuint query) {
    GLuint64 ns = 0;
#if defined(__EMSCRIPTEN__)
    glGetQueryObjectui64vEXT(query, GL_QUERY_RESULT, &ns);
#else
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &ns);
#endif
    return ns;
}

void enableClipDistance() {
#if defined(__EMSCRIPTEN__)
    if (clipDistances) glEnable(0x3000);  // GL_CLIP_DISTANCE0_EXT
#else
    glEnable(GL_CLIP_DISTANCE0);
#endif
}

bool hasClipDistances() {
#if defined(__EMSCRIPTEN__)
    return clipDistances;
#else
    return true;
#endif
}

void forgoClipDistances() {
#if defined(__EMSCRIPTEN__)
    clipDistancesForgone = true;
#endif
}

bool hasWorkerThreads() {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return false;
#else
    return true;
#endif
}

void enableContextExtensions() {
#if defined(__EMSCRIPTEN__)
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_get_current_context();
    emscripten_webgl_enable_extension(context, "EXT_color_buffer_float");
    emscripten_webgl_enable_extension(context, "EXT_color_buffer_half_float");
    emscripten_webgl_enable_extension(context, "OES_texture_float_linear");
    emscripten_webgl_enable_extension(context, "EXT_disjoint_timer_query_webgl2");
    clipDistances = !clipDistancesForgone &&
                    emscripten_webgl_enable_extension(context, "WEBGL_clip_cull_distance");
#endif
}
