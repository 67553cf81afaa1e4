#include "effects/WaterMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "camera/Camera.h"

float advanceMoveFactor(float moveFactor, float waveSpeed, float deltaTime) {
    float next = moveFactor + waveSpeed * deltaTime;
    if (!std::isfinite(next)) return moveFactor;
    next -= std::floor(next);
    // A tiny negative value minus its floor rounds up to exactly 1.
    if (next >= 1.0f) next = 0.0f;
    return next;
}

glm::vec4 reflectionClipPlane(float waterHeight) {
    return {0.0f, 1.0f, 0.0f, -waterHeight};
}

glm::vec4 refractionClipPlane(float waterHeight) {
    return {0.0f, -1.0f, 0.0f, waterHeight + 0.05f};
}

glm::vec4 disabledClipPlane() {
    return {0.0f, 1.0f, 0.0f, 10000.0f};
}

std::array<glm::vec3, 4> waterCorners(const std::array<glm::vec2, 4>& halfExtents) {
    const glm::vec2 signs[4] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    std::array<glm::vec3, 4> corners;
    for (int i = 0; i < 4; ++i)
        corners[i] = glm::vec3(signs[i].x * halfExtents[i].x, 0.0f, signs[i].y * halfExtents[i].y);
    return corners;
}

namespace {

// coverDepth at a distance d is kCoverFloor + the factor below times d * d.
constexpr double kCoverFloor = 0.05;  // world units, near the eye

// The factor of coverDepth for this lens and ground, or infinity for a lens
// without a near plane in front of the eye.
double coverFactor(float slope, const glm::mat4& projection, int depthBits) {
    // Depth steps between the ground's and the water's fragment, against the
    // float arithmetic of each (a step of 24 bits is a float's step near 1,
    // so a deeper buffer steps no finer).
    constexpr double kSteps = 6.0;
    if (depthBits <= 0) return std::numeric_limits<double>::infinity();
    const int bits = depthBits < 24 ? depthBits : 24;
    // The near plane and the widest angle between a ray and the view axis.
    const double nearPlane = double(projection[3][2]) / (double(projection[2][2]) - 1.0);
    const double tanX = 1.0 / double(projection[0][0]), tanY = 1.0 / double(projection[1][1]);
    const double widest = 1.0 / std::sqrt(1.0 + tanX * tanX + tanY * tanY);
    if (!(nearPlane > 0.0) || !std::isfinite(widest))
        return std::numeric_limits<double>::infinity();
    // A window depth step at eye depth z spans z * z / near of eye depth; the
    // meeting lies at least depth / sqrt(1 + slope^2) before the water along
    // the ray (the ray and the ground between them), and the ray's share of
    // that along the view axis is at least `widest`.
    return kSteps * std::ldexp(1.0, -bits) / nearPlane * std::sqrt(1.0 + double(slope) * slope) /
           widest;
}

float coverAt(double factor, float distance) {
    const double depth = kCoverFloor + factor * double(distance) * double(distance);
    return depth < double(std::numeric_limits<float>::max()) ? float(depth)
                                                             : std::numeric_limits<float>::max();
}

}  // namespace

float coverDepth(float distance, float slope, const glm::mat4& projection, int depthBits) {
    return coverAt(coverFactor(slope, projection, depthBits), distance);
}

std::vector<Box> squaresShowingWater(const std::vector<Box>& squares, glm::vec3 eye,
                                     float waterHeight, float slope, const glm::mat4& projection,
                                     int depthBits) {
    const double factor = coverFactor(slope, projection, depthBits);
    std::vector<Box> showing;
    for (const Box& square : squares) {
        if (square.empty) continue;
        // The farthest point of the square's water from the eye.
        const glm::vec3 far(
            eye.x < (square.min.x + square.max.x) * 0.5f ? square.max.x : square.min.x, waterHeight,
            eye.z < (square.min.z + square.max.z) * 0.5f ? square.max.z : square.min.z);
        if (square.min.y < waterHeight + coverAt(factor, glm::length(far - eye)))
            showing.push_back(square);
    }
    return showing;
}

namespace {

struct Span {
    int first, pastLast;
};

// The texels that lookups in [low, high] (0 to 1 across `size` texels)
// read, as spans, for a side held in [kLookupMin, kLookupMax].
std::vector<Span> readSpans(float low, float high, int size, bool repeats) {
    low = std::clamp(low, kLookupMin, kLookupMax);
    high = std::clamp(high, kLookupMin, kLookupMax);
    // A lookup at t reads the texels at floor(t * size - 0.5) and one above;
    // one more on each side covers the rounding of t.
    const auto texel = [size](float t) { return int(std::floor(t * float(size) - 0.5f)); };
    std::vector<Span> spans{{std::max(texel(low) - 1, 0), std::min(texel(high) + 3, size)}};
    if (!repeats) return spans;
    // Near an edge the first texel past the opposite one is read where the
    // filter's position, worked out exactly, falls outside the texels'
    // centres: below the first one, or above the last one (its weight may
    // round to 0, or not). The lookup's own rounding is taken as up to 1e-4.
    const double size_ = double(size);
    const double lowest = std::max(double(low) - 1e-4, double(kLookupMin)) * size_ - 0.5;
    const double highest = std::min(double(high) + 1e-4, double(kLookupMax)) * size_ - 0.5;
    if (lowest < 0.0) spans.push_back({size - 1, size});
    if (highest > size_ - 1.0) spans.push_back({0, 1});
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.first < b.first; });
    std::vector<Span> merged;
    for (const Span& s : spans) {
        if (s.pastLast <= s.first) continue;
        if (!merged.empty() && s.first <= merged.back().pastLast)
            merged.back().pastLast = std::max(merged.back().pastLast, s.pastLast);
        else
            merged.push_back(s);
    }
    return merged;
}

}  // namespace

std::vector<PixelRect> waterReadRects(const ViewportArea& area, float shift, bool mirrored,
                                      int drawnWidth, int drawnHeight, bool whole) {
    if (area.empty || drawnWidth <= 0 || drawnHeight <= 0) return {};
    shift = std::abs(shift);
    const float lowY = mirrored ? 1.0f - area.max.y : area.min.y;
    const float highY = mirrored ? 1.0f - area.min.y : area.max.y;
    std::vector<PixelRect> rects;
    for (const Span& x : readSpans(area.min.x - shift, area.max.x + shift, drawnWidth, whole))
        for (const Span& y : readSpans(lowY - shift, highY + shift, drawnHeight, whole))
            rects.push_back({x.first, y.first, x.pastLast, y.pastLast});
    return rects;
}

glm::vec3 mirrorCamera(Camera& camera, float waterHeight) {
    const glm::vec3 saved = camera.position;
    camera.front.y = -camera.front.y;
    camera.pitch = -camera.pitch;
    camera.position.y = 2.0f * waterHeight - camera.position.y;
    camera.updateCameraVectors();
    camera.updateCameraVectors();
    return saved;
}

void restoreFromMirror(Camera& camera, const glm::vec3& savedPosition) {
    camera.position = savedPosition;
    camera.pitch = -camera.pitch;
    // Turned back before the axes are derived, so right and up follow the
    // restored direction and not the mirrored one.
    camera.front.y = -camera.front.y;
    camera.updateCameraVectors();
}
