#pragma once
// The vase's mirror: the surroundings seen from just above the vase, rendered
// into a cube map that the vase's reflection program samples on unit 5. It is
// rendered once before the first frame and again on the frames of two short
// windows of the day clock (morning light, then full day); in between the
// cube map keeps its last content.

#include "core/FrameChoices.h"

class CubeMapFrameBuffer;

// Created by initSkyAndShadows, deleted by cleanup while the context lives.
extern CubeMapFrameBuffer* environmentTarget;

// Texture unit that holds the cube map for the vase's program.
constexpr int kEnvironmentUnit = 5;

// True on the frames that re-render the cube map: the clock lies in
// [6000, 6010] or [8000, 8010], both ends included.
bool inCaptureWindow(float timeOfDay);
// The same for a frame that moved the clock from previousTimeOfDay: a window
// jumped over by a slow frame counts as reached.
bool inCaptureWindow(float timeOfDay, float previousTimeOfDay);

// The target with frameBufferShader, the window size and 1024-pixel faces.
void createEnvironmentTarget();
// Deletes the target (needs the GL context) and clears the pointer.
void releaseEnvironmentTarget();

// Renders the sky and the captured entities into the six faces, then puts
// back the window's framebuffer and viewport, the main camera's view and the
// screen projection on the model and sky programs, and leaves the cube map
// bound on unit 5 (the active unit) with "environmentMap" = 5 on the
// reflection program and no program current. Does nothing without the
// target, the capture camera or the model program.
// A reduced frame draws each face at its own scale into the glow source
// buffer, whose work for the frame has not begun, and stretches it onto the
// face: a re-capture then costs the flight a fraction of its full time. The
// result is true when it did (the glow source buffer then holds faces beyond
// the part the frame uses, and the frame's clears must be whole).
bool captureEnvironment(const FrameChoices& choices);
// Outside a frame (before the first, or between two): with the quality
// profile's choices as they stand; the next frame clears whole after a
// reduced capture.
void captureEnvironment();
// The side of the faces a reduced capture draws with these choices; 0 when
// the faces are drawn directly at their size (at full scale, as designed).
int reducedFaceSide(const FrameChoices& choices);

// True while the cube map holds a capture made at a reduced render scale.
extern bool captureReduced;
