#pragma once
// The window-sized targets of the frame: the main pass's HDR scene buffer
// and the two glow buffers.

class FrameBuffer;
class Shader;

extern FrameBuffer* sceneBuffer;       // the main pass, in HDR; resolved through effectShader
extern FrameBuffer* glowSourceBuffer;  // the glowing objects; its quad blurs horizontally
extern FrameBuffer* glowBlurBuffer;    // the horizontal blur; its quad blurs vertically
// A reduced frame's picture, tone-mapped at its own size in the display's 8
// bits; its quad (frameBufferShader) stretches it onto the window. Made by
// the first reduced frame's resolve (null until then).
extern FrameBuffer* reducedPictureBuffer;
// The effect program built to read the scene texel for texel, for a frame at
// the window's own size (null: the effect program resolves every frame).
extern Shader* texelResolveShader;

// The three window-sized buffers, in that order, with the effect and the two
// glow programs.
void createSceneFrameBuffers();
// Deletes the three buffers and the reduced picture's (needs the GL context)
// and clears the pointers.
void releaseSceneFrameBuffers();
