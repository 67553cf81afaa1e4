#pragma once
// Small pieces shared by the off-screen targets.

#include <GL/glew.h>

// Makes a depth renderbuffer of the given size and attaches it to the
// framebuffer bound now; returns its name. No renderbuffer is left bound.
GLuint attachDepthRenderbuffer(int width, int height);
