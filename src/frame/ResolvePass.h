#pragma once
// The resolve: the HDR scene buffer tone-mapped onto the window.

struct FramePlan;

// Draws sceneBuffer onto the window (bound and cleared by the runner) through
// the effect shader; a frame at the window's size into a buffer of that
// size, with the texel-resolve shortcut on, through texelResolveShader with
// the effect shader's exposure and HDR switch. A reduced frame is tone-mapped
// at its own size into reducedPictureBuffer (made on first use) and
// stretched onto the window; with the texel-resolve shortcut on, that tone
// map too reads the scene texel for texel.
void resolveScene(const FramePlan& plan);
