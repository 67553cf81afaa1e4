#pragma once
// The render passes of a frame.

// The scene as the main pass draws it: terrain, sky, then every entity whose
// bounding sphere passes the frustum test, the transparent ones last.
void drawScene();
