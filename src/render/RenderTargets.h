#pragma once
// Small pieces shared by the off-screen targets.

#include <GL/glew.h>

#include "core/FrameChoices.h"
#include "render/ScreenRect.h"

// Makes a depth renderbuffer of the given size and attaches it to the
// framebuffer bound now; returns its name. No renderbuffer is left bound.
GLuint attachDepthRenderbuffer(int width, int height);

// Clears the buffers of `mask` on the window (the default framebuffer, bound
// now) unless the frame leaves the window's clear out: every frame ends by
// covering the whole window with the resolved picture, drawn without depth
// test or blending from it, so what a clear leaves there is never seen.
void clearWindowBuffers(GLbitfield mask, const FrameChoices& choices);

// Clears the buffers of `mask` on the part of the bound target this frame
// draws into (its lower-left drawnWidth x drawnHeight pixels), or the whole
// target at full scale and when the frame's clears are whole.
void clearDrawnPart(GLbitfield mask, int drawnWidth, int drawnHeight,
                    const FrameChoices& choices);

// Clears the buffers of `mask` on the pixels of `rect` of the bound target
// only; nothing for an empty rectangle.
void clearRect(GLbitfield mask, const PixelRect& rect);
