#include "render/ScreenRect.h"

#include <algorithm>
#include <cmath>

void Box::add(const glm::vec3& p) {
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    min = glm::min(min, p);
    max = glm::max(max, p);
}

Box grownBox(const Box& box, float margin) {
    Box grown = box;
    if (box.empty) return grown;
    grown.add(box.min - glm::vec3(margin));
    grown.add(box.max + glm::vec3(margin));
    return grown;
}

void boxCorners(const Box& box, glm::vec4 (&out)[8]) {
    for (int i = 0; i < 8; ++i)
        out[i] = glm::vec4((i & 1) ? box.max.x : box.min.x, (i & 2) ? box.max.y : box.min.y,
                           (i & 4) ? box.max.z : box.min.z, 1.0f);
}

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

namespace {

template <size_t N>
bool allBeyondOnePlane(const glm::vec4 (&clip)[N]) {
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-1.0f, 1.0f}) {
            bool allOut = true;
            for (const glm::vec4& c : clip) allOut = allOut && side * c[axis] > c.w;
            if (allOut) return true;
        }
    return false;
}

}  // namespace

Box transformBox(const glm::mat4& matrix, const Box& box) {
    Box out;
    if (box.empty) return out;
    glm::vec4 c[8];
    boxCorners(box, c);
    for (const glm::vec4& p : c) out.add(glm::vec3(matrix * p));
    return out;
}

bool outsideClip(const glm::mat4& clipFromBox, const Box& box) {
    if (box.empty) return true;
    glm::vec4 clip[8];
    boxCorners(box, clip);
    for (glm::vec4& c : clip) c = clipFromBox * c;
    return allBeyondOnePlane(clip);
}

bool shadowOutsideClip(const glm::mat4& clipFromWorld, const Box& box, glm::vec3 offset) {
    if (box.empty) return true;
    glm::vec4 near[8], clip[16];
    boxCorners(box, near);
    for (int i = 0; i < 8; ++i) {
        clip[i] = clipFromWorld * near[i];
        clip[i + 8] = clipFromWorld * (near[i] + glm::vec4(offset, 0.0f));
    }
    return allBeyondOnePlane(clip);
}

bool belowPlane(const glm::vec4& plane, const Box& box) {
    if (box.empty) return true;
    glm::vec4 c[8];
    boxCorners(box, c);
    for (const glm::vec4& p : c)
        if (!(glm::dot(plane, p) < 0.0f)) return false;
    return true;
}

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

PixelRect grow(const PixelRect& r, int dx, int dy, int width, int height) {
    if (r.empty()) return r;
    PixelRect g{std::max(r.x0 - dx, 0), std::max(r.y0 - dy, 0), std::min(r.x1 + dx, width),
                std::min(r.y1 + dy, height)};
    return g.empty() ? PixelRect{} : g;
}

PixelRect projectBox(const glm::mat4& clipFromBox, const Box& box, int width, int height) {
    if (box.empty || width <= 0 || height <= 0) return {};
    const PixelRect whole{0, 0, width, height};
    glm::vec4 clip[8];
    boxCorners(box, clip);
    for (glm::vec4& c : clip) c = clipFromBox * c;
    if (allBeyondOnePlane(clip)) return {};
    float lowX = 1.0f, lowY = 1.0f, highX = -1.0f, highY = -1.0f;
    for (const glm::vec4& c : clip) {
        if (!(c.w > 1e-6f)) return whole;
        lowX = std::min(lowX, c.x / c.w);
        highX = std::max(highX, c.x / c.w);
        lowY = std::min(lowY, c.y / c.w);
        highY = std::max(highY, c.y / c.w);
    }
    const auto pixel = [](float ndc, int size) {
        return (std::clamp(ndc, -1.0f, 1.0f) * 0.5f + 0.5f) * float(size);
    };
    // One pixel more on each side covers the rasterizer's rounding.
    const PixelRect r{
        int(std::floor(pixel(lowX, width))) - 1, int(std::floor(pixel(lowY, height))) - 1,
        int(std::ceil(pixel(highX, width))) + 1, int(std::ceil(pixel(highY, height))) + 1};
    return grow(r, 0, 0, width, height);
}

ViewportArea projectPolygon(const glm::mat4& clipFromWorld, const std::vector<glm::vec3>& corners) {
    std::vector<glm::vec4> polygon, kept;
    for (const glm::vec3& c : corners) polygon.push_back(clipFromWorld * glm::vec4(c, 1.0f));
    // Cut away what lies beyond each clip plane in turn (w - side * axis < 0).
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-1.0f, 1.0f}) {
            kept.clear();
            for (size_t i = 0; i < polygon.size(); ++i) {
                const glm::vec4& a = polygon[i];
                const glm::vec4& b = polygon[(i + 1) % polygon.size()];
                const float inA = a.w - side * a[axis], inB = b.w - side * b[axis];
                if (inA >= 0.0f) kept.push_back(a);
                if ((inA >= 0.0f) != (inB >= 0.0f)) kept.push_back(a + (b - a) * (inA / (inA - inB)));
            }
            polygon.swap(kept);
            if (polygon.empty()) return {};
        }
    ViewportArea area;
    for (const glm::vec4& p : polygon) {
        // Inside the near and far planes w >= |z|; a point at the eye itself
        // has no place on the viewport, so the whole of it is taken.
        if (!(p.w > 0.0f)) return {glm::vec2(0.0f), glm::vec2(1.0f), false};
        const glm::vec2 at = glm::clamp(glm::vec2(p) / p.w * 0.5f + 0.5f, 0.0f, 1.0f);
        area.min = area.empty ? at : glm::min(area.min, at);
        area.max = area.empty ? at : glm::max(area.max, at);
        area.empty = false;
    }
    return area;
}

ViewportArea unite(const ViewportArea& a, const ViewportArea& b) {
    if (a.empty) return b;
    if (b.empty) return a;
    return {glm::min(a.min, b.min), glm::max(a.max, b.max), false};
}
