#pragma once
// The main pass into the HDR scene buffer.

struct FramePlan;

// The scene as the main pass draws it: terrain, sky, then every entity whose
// bounding sphere passes the frustum test, the transparent ones last. Each
// is culled with the view of the program that draws it.
void drawScene(const FramePlan& plan);

// Into sceneBuffer (bound and cleared by the runner): the scene with the
// glow added, the water and the smoke.
void mainPass(const FramePlan& plan);
