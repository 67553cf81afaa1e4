#pragma once
// Where on a target an object can land: boxes projected to pixel rectangles,
// for passes that only need to touch the pixels their objects reach. The
// rectangles are conservative: a box that crosses the camera plane covers
// the whole target.

#include <glm/glm.hpp>
#include <vector>

struct Box {
    glm::vec3 min{0.0f};
    glm::vec3 max{0.0f};
    bool empty = true;

    void add(const glm::vec3& p);
};

// The box grown by `margin` on every side (an empty box stays empty).
Box grownBox(const Box& box, float margin);

// The eight corners of the box (w = 1), corner i taking max along x, y, z for
// bits 1, 2, 4 of i.
void boxCorners(const Box& box, glm::vec4 (&out)[8]);

// The box around the eight corners of `box` taken through `matrix` (w = 1).
Box transformBox(const glm::mat4& matrix, const Box& box);

// True when the box lies wholly beyond one of the six clip planes of
// clipFromBox: nothing of it can be drawn.
bool outsideClip(const glm::mat4& clipFromBox, const Box& box);

// True when the box swept by `offset` (the box, the box moved by offset, and
// all between) lies wholly outside the clip volume: where a caster's shadow
// can fall, seen by a view.
bool shadowOutsideClip(const glm::mat4& clipFromWorld, const Box& box, glm::vec3 offset);
// True when every corner has dot(plane, (corner, 1)) < 0: a user clip
// distance of that plane cuts all of it away.
bool belowPlane(const glm::vec4& plane, const Box& box);

// A part of a viewport in window coordinates scaled to [0, 1] on both axes,
// y up.
struct ViewportArea {
    glm::vec2 min{0.0f};
    glm::vec2 max{0.0f};
    bool empty = true;
};

// Where the convex polygon `corners` (world points in order around it),
// taken through clipFromWorld, can land in the viewport: the box around its
// part inside the clip volume. Empty when no part of it is inside.
ViewportArea projectPolygon(const glm::mat4& clipFromWorld, const std::vector<glm::vec3>& corners);

// Smallest area holding both (an empty one adds nothing).
ViewportArea unite(const ViewportArea& a, const ViewportArea& b);

// Pixels [x0, x1) x [y0, y1) of a target, y up as in GL.
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool empty() const { return x1 <= x0 || y1 <= y0; }
    int width() const { return empty() ? 0 : x1 - x0; }
    int height() const { return empty() ? 0 : y1 - y0; }
};

// True when the two rectangles share a pixel.
bool overlap(const PixelRect& a, const PixelRect& b);

// Smallest rectangle holding both (an empty one adds nothing).
PixelRect unite(const PixelRect& a, const PixelRect& b);
// Grown by dx pixels left and right and dy up and down, then kept inside a
// width x height target. An empty rectangle stays empty.
PixelRect grow(const PixelRect& r, int dx, int dy, int width, int height);

// The pixels of a width x height viewport that the box, taken through
// clipFromBox (projection * view * model), can cover. Empty when the box lies
// wholly outside one clip plane; the whole viewport when it reaches behind
// the camera (w <= 0 at a corner).
PixelRect projectBox(const glm::mat4& clipFromBox, const Box& box, int width, int height);
