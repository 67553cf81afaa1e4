#pragma once
// The render passes of a frame.

struct FramePlan;

// The scene as the main pass draws it: terrain, sky, then every entity whose
// bounding sphere passes the frustum test, the transparent ones last. Each
// is culled with the view of the program that draws it.
void drawScene(const FramePlan& plan);
