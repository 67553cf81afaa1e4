#pragma once
// The water's arithmetic, apart from any GL: the scroll of the distortion,
// the clip planes of the two off-screen passes, the corners of the surface
// and the camera mirrored in the water plane for the reflection.

#include <array>
#include <glm/glm.hpp>
#include <vector>

#include "render/ScreenRect.h"

class Camera;

// The scroll after one more frame: moveFactor + waveSpeed * deltaTime with
// its whole part dropped, so the result always lies in [0, 1). A step that
// is not a finite number leaves the scroll where it was.
float advanceMoveFactor(float moveFactor, float waveSpeed, float deltaTime);

// Keeps what lies above the water plane at height h: (0, 1, 0, -h).
glm::vec4 reflectionClipPlane(float waterHeight);
// Keeps what lies below h + 0.05: (0, -1, 0, h + 0.05).
glm::vec4 refractionClipPlane(float waterHeight);
// A plane so far below the scene that nothing is cut: (0, 1, 0, 10000).
glm::vec4 disabledClipPlane();

// Corners 0..3 of the surface in its own space from one half-extent pair
// (a, b) each: (-a, 0, -b), (+a, 0, -b), (-a, 0, +b), (+a, 0, +b).
std::array<glm::vec3, 4> waterCorners(const std::array<glm::vec2, 4>& halfExtents);

// Of the ground's squares (world boxes), those under which water at
// waterHeight can show, seen by an eye above the ground through
// `projection` (a perspective lens). A ray from the eye to water under the
// ground meets the ground on its way; where the water lies deep enough under
// a square's lowest vertex, the meeting lies far enough in front to win the
// depth test of a `depthBits` buffer however the depths round, even at the
// corner of the view. How deep that is grows with the square's distance from
// the eye and with `slope`, the steepest the ground gets (see coverDepth).
// Without depth bits no square is taken as covered. The caller makes sure the
// eye is above the ground.
std::vector<Box> squaresShowingWater(const std::vector<Box>& squares, glm::vec3 eye,
                                     float waterHeight, float slope, const glm::mat4& projection,
                                     int depthBits = 24);
// How far under the ground water at `distance` from the eye must lie to be
// hidden by it for certain (see squaresShowingWater).
float coverDepth(float distance, float slope, const glm::mat4& projection, int depthBits = 24);

// The texels of a water target that the water shader can read for a
// surface seen in `area` of the screen: its screen points moved by up to
// `shift` along each axis (the distortion), turned upside down for the
// reflection (`mirrored`) and held in [kLookupMin, kLookupMax] as the shader
// holds them, with the bilinear filter's second texel and one more on each
// side for rounding. A frame draws and reads the target's drawnWidth x
// drawnHeight lower-left part, which holds every rectangle. When that part is
// the whole target (`whole`), the lookups repeat: one held at an edge can
// also read the first texel past the opposite edge, with a weight that the
// size of the target decides, and that texel comes as a further rectangle.
// None for an empty area.
constexpr float kLookupMin = 0.001f;  // as in waterFrag.txt
constexpr float kLookupMax = 0.999f;
std::vector<PixelRect> waterReadRects(const ViewportArea& area, float shift, bool mirrored,
                                      int drawnWidth, int drawnHeight, bool whole);

// Moves the camera below the water plane at height h so that it sees the
// mirror image of what it saw: the eye height becomes 2h - y, the view
// direction (and a free camera's pitch) points the other way vertically, and
// the axes are derived twice, as a frame of the water pass does. Returns the
// eye position to hand back to restoreFromMirror.
glm::vec3 mirrorCamera(Camera& camera, float waterHeight);

// Undoes mirrorCamera: the saved eye position, the view direction turned back
// and the axes derived once more from it, so front, right and up belong
// together again. In turn mode every derivation adds its turn step.
void restoreFromMirror(Camera& camera, const glm::vec3& savedPosition);
