#pragma once
// The few GL calls that differ between desktop OpenGL 3.3 and WebGL2 (OpenGL
// ES 3.0). On the desktop each one is exactly the call the program always
// made; in the browser it is the nearest thing WebGL2 takes.

#include <GL/glew.h>

// glDrawBuffer(buffer); WebGL2 has only glDrawBuffers.
void selectDrawBuffer(GLenum buffer);

// Allocates the bound 2D texture as a float depth texture. The desktop takes
// `desktopFormat` (unsized or sized) with GL_DEPTH_COMPONENT / GL_FLOAT;
// WebGL2 takes only DEPTH_COMPONENT32F with float data.
void allocateDepthTexture(GLint desktopFormat, GLsizei width, GLsizei height);

// The internal format of a depth renderbuffer: the desktop's unsized
// GL_DEPTH_COMPONENT, which WebGL2 refuses; there 24 bits.
GLenum depthRenderbufferFormat();

// `desktopFilter` for a float depth texture; WebGL2 cannot filter one
// linearly (the texture is incomplete and reads zero), so there it is NEAREST.
GLint depthTextureFilter(GLint desktopFilter);

// Clamps the bound 2D texture's lookups to `border` outside [0, 1]. WebGL2
// has no border colour: there the texture clamps to its edge, and the
// shaders test the range themselves (under MD_GLES).
void clampToBorder(const GLfloat border[4]);

// The internal format to give a texture `wanted` for data of `format` and
// `type`. ES wants a sized format that matches the data (no float format for
// bytes, no four channels for three).
GLint textureFormatFor(GLint wanted, GLenum format, GLenum type);

// True where one texture may take levels of different data types (bytes
// for level 0, half floats above); ES refuses, and mipmaps are generated.
bool mixedLevelTypesAllowed();

// The data format to give a floating-point colour target of `internal`
// format: the desktop takes GL_RGB for an RGBA16F target, ES wants GL_RGBA.
GLenum colourTargetDataFormat(GLenum desktopFormat);

// A timer query's result in nanoseconds (the call has another name in WebGL).
GLuint64 queryResultNs(GLuint query);

// Turns on the first clip distance where the context has it (where it has
// not, the shaders clip by discarding, and there is nothing to turn on).
void enableClipDistance();

// True where the context clips at gl_ClipDistance: always on the desktop; in
// the browser where WEBGL_clip_cull_distance was enabled.
bool hasClipDistances();

// Before the window is made: the page does without WEBGL_clip_cull_distance
// even where the browser has it, so that the shaders clip by discarding and
// GL_CLIP_DISTANCE0 is never enabled (the test page compares the two).
// Emscripten enables every extension the browser offers on the context all
// the same, so only the program's side of it is left out. Nothing on the
// desktop.
void forgoClipDistances();

// True where the program may start threads of its own. A page has none
// without cross-origin isolation, so loading stays on the main thread there.
bool hasWorkerThreads();

// Asks the browser's context for the extensions the frame uses (float
// colour targets, their linear filtering, clip distances unless forgone,
// timer queries); nothing on the desktop.
void enableContextExtensions();
