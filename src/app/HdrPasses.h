#pragma once
// The off-screen targets of the frame and the passes that use them: the
// glowing objects (sun and bulbs) with the lamp's events and their blur, the
// main pass into the floating-point scene buffer with the glow added onto
// it, and the tone-mapped resolve onto the window.

#include <glm/glm.hpp>

#include "render/ScreenRect.h"

class Entity;
class FrameBuffer;
class Shader;
struct FramePlan;

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

// The frame's passes on these buffers; the runner has bound each pass's
// target, set its viewport and state, and made the clears it declares.

// The sun and the bulbs, as the clock decides, into glowSourceBuffer (the
// part the plan says, and what the last frame drew, cleared first), with the
// lamp's events (the sun's light follows the sun; the lamp fails with a
// sound; its lights come back). Ends with framebuffer 0 bound.
void drawGlowSources(const FramePlan& plan);
// Their horizontal blur into glowBlurBuffer, where the plan says it reaches.
void blurGlow(const FramePlan& plan);
// The light changes of drawGlowSources alone, for frames stepped without
// drawing.
void stepLampEvents();

// The pixels of the frame's drawn part that the entity's model box can
// cover seen with `view` and the screen's lens (empty without an entity).
PixelRect onScreen(Entity* entity, const glm::mat4& view);

// Into sceneBuffer: the scene with the glow added, the water and the smoke.
void mainPass(const FramePlan& plan);
// Adds the vertically blurred glow onto the bound target (additive) where
// the plan says it reaches, then restores alpha blending.
void addGlow(const FramePlan& plan);
// Draws sceneBuffer onto the window through the effect shader; a frame at
// the window's size into a buffer of that size, with the texel-resolve
// shortcut on, through texelResolveShader with the effect shader's exposure
// and HDR switch. A reduced frame is tone-mapped at its own size into
// glowSourceBuffer (scratch: its work for the frame is done) and stretched.
void resolveScene(const FramePlan& plan);
