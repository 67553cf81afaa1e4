#pragma once
// The render target of the vase's environment: a framebuffer whose colour
// attachment is one face at a time of a cube-map texture, with a square depth
// renderbuffer shared by the six faces. The face size does not depend on the
// window; the window size is kept so that a capture can restore the viewport.

#include <GL/glew.h>

class Shader;

class CubeMapFrameBuffer {
public:
    Shader* shader;  // frameBufferShader; kept, never drawn with here; not owned
    int width;       // window size at creation: the viewport restored after a capture
    int height;
    GLuint framebuffer = 0;
    GLuint renderbuffer = 0;  // depth, size x size
    GLuint cubeMap = 0;       // six RGB faces, size x size, no mipmaps
    int size;                 // face size in pixels

    static constexpr int kFaceSize = 1024;

    // Sets the fields and builds the GL objects (init). An incomplete
    // framebuffer is fatal: the message is printed and the process exits 1.
    CubeMapFrameBuffer(Shader* shader, int width, int height, int size = kFaceSize);
    ~CubeMapFrameBuffer();
    CubeMapFrameBuffer(const CubeMapFrameBuffer&) = delete;
    CubeMapFrameBuffer& operator=(const CubeMapFrameBuffer&) = delete;

    // Builds the cube map, the depth renderbuffer and the framebuffer with
    // face +X attached, checks completeness and binds framebuffer 0 again.
    void init();

    // Attaches face 0..5 (+X, -X, +Y, -Y, +Z, -Z) as the colour target of the
    // bound framebuffer. Any other index attaches nothing.
    void attachFace(int face) const;
};
