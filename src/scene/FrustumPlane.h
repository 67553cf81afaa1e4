#pragma once
// One bounding plane of the view frustum. The normal points into the volume
// and keeps the raw length of the cross product it came from, so the plane
// value normal . x + offset is a signed distance scaled by that length.

#include <glm/glm.hpp>

class FrustumPlane {
public:
    glm::vec3 normal{0.0f};
    glm::vec3 point{0.0f};
    // Zero until the first frustum update; with a zero normal that makes
    // every plane value 0, so an un-updated frustum rejects nothing.
    float offset = 0.0f;

    FrustumPlane() = default;
    virtual ~FrustumPlane() = default;
    FrustumPlane(const FrustumPlane&) = default;
    FrustumPlane& operator=(const FrustumPlane&) = default;

    // Sets the plane through b from three of its points: normal = (c - b) x (a - b).
    void setFromPoints(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c);

    // normal . x + offset.
    float value(const glm::vec3& x) const { return glm::dot(normal, x) + offset; }
};
