#pragma once
// An off-screen render target: a colour texture, floating-point (RGBA16F)
// unless made for the display's 8 bits, with a depth renderbuffer, and a
// full-screen quad that draws the texture with the buffer's own program into
// whatever framebuffer is bound. The main pass, the glowing objects and their
// blur each render into one of these.

#include <GL/glew.h>

class Shader;

class FrameBuffer {
public:
    Shader* shader;  // program drawQuad draws with; not owned
    int width;       // size in pixels
    int height;
    GLuint quadVAO = 0;
    GLuint quadVBO = 0;
    GLuint framebuffer = 0;
    GLuint renderbuffer = 0;
    int depthBits = 0;  // the depth attachment's bits, as the driver made it
    GLuint colorBuffer = 0;
    bool eightBit = false;  // RGBA8 instead of RGBA16F

    // Sets the fields and builds the GL objects (init). An incomplete
    // framebuffer is fatal: the message is printed and the process exits 1.
    FrameBuffer(Shader* shader, int width, int height, bool eightBit = false);
    virtual ~FrameBuffer();
    FrameBuffer(const FrameBuffer&) = delete;
    FrameBuffer& operator=(const FrameBuffer&) = delete;

    // Builds the quad, the framebuffer, its colour texture and depth
    // renderbuffer, checks completeness and binds framebuffer 0 again.
    void init();

    // Draws the colour texture over the whole viewport with `shader`, sending
    // "width" and "height". Depth testing is off during the draw and on
    // afterwards; no program and no vertex array stay bound; the texture stays
    // bound on unit 0; blending is whatever the caller has set.
    void drawQuad();
};
