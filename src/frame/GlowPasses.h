#pragma once
// The glow: the glowing objects (sun and bulbs) with the lamp's events, their
// horizontal blur, and the vertical blur added onto the scene. The glow
// buffers are cleared only where this frame or the last one drew.

struct FramePlan;

// The sun and the bulbs, as the clock decides, into glowSourceBuffer (bound
// by the runner; the part the plan says, and what the last frame drew,
// cleared first), with the lamp's events (the sun's light follows the sun;
// the lamp fails with a sound; its lights come back). Ends with framebuffer
// 0 bound.
void drawGlowSources(const FramePlan& plan);
// Their horizontal blur into glowBlurBuffer (bound by the runner), where the
// plan says it reaches.
void blurGlow(const FramePlan& plan);
// Adds the vertically blurred glow onto the bound target (additive) where
// the plan says it reaches, then restores alpha blending.
void addGlow(const FramePlan& plan);
// The light changes of drawGlowSources alone, for frames stepped without
// drawing.
void stepLampEvents();
