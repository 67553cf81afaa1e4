#pragma once
// The off-screen targets of the frame and the passes that use them: the
// glowing objects (sun and bulbs) with the lamp's events and their blur, the
// main pass into the floating-point scene buffer with the glow added onto
// it, and the tone-mapped resolve onto the window.

#include "render/ScreenRect.h"

class Entity;
class FrameBuffer;
class Shader;

extern FrameBuffer* sceneBuffer;       // the main pass, in HDR; resolved through effectShader
extern FrameBuffer* glowSourceBuffer;  // the glowing objects; its quad blurs horizontally
extern FrameBuffer* glowBlurBuffer;    // the horizontal blur; its quad blurs vertically
// The effect program built to read the scene texel for texel, for a frame at
// the window's own size (null: the effect program resolves every frame).
extern Shader* texelResolveShader;

// The three window-sized buffers, in that order, with the effect and the two
// glow programs.
void createSceneFrameBuffers();
// Deletes the three buffers (needs the GL context) and clears the pointers.
void releaseSceneFrameBuffers();

// The sun and the bulbs, as the clock decides, into glowSourceBuffer, with
// the lamp's events (the sun's light follows the sun; the lamp fails with a
// sound; its lights come back); then their horizontal blur into
// glowBlurBuffer. Ends with framebuffer 0 bound.
void drawGlowSources();
// The light changes of drawGlowSources alone, for frames stepped without
// drawing.
void stepLampEvents();

// The pixels of the frame's drawn part that the entity's model box can
// cover in the main camera's view (empty without an entity or camera).
PixelRect onScreen(Entity* entity);

// Binds sceneBuffer and clears it to opaque black with a fresh depth.
void beginMainPass();
// Adds the vertically blurred glow onto the bound target (additive), then
// restores alpha blending.
void addGlow();
// Draws sceneBuffer onto the window through the effect shader; a frame at
// the window's size into a buffer of that size, with the shortcuts on,
// through texelResolveShader with the effect shader's exposure and HDR switch.
void resolveScene();
