#pragma once
// The viewing volume used for culling: eight world-space corners and six
// inward-facing planes, rebuilt once a frame from the main camera's eye and
// axes. Entities whose bounding sphere lies outside are not drawn.

#include <glm/glm.hpp>

#include "scene/FrustumPlane.h"

class Frustum {
public:
    enum PlaneIndex { Top = 0, Bottom = 1, Left = 2, Right = 3, Near = 4, Far = 5 };

    FrustumPlane planes[6];

    glm::vec3 nearTopLeft{0.0f};
    glm::vec3 nearTopRight{0.0f};
    glm::vec3 nearBottomLeft{0.0f};
    glm::vec3 nearBottomRight{0.0f};
    glm::vec3 farTopLeft{0.0f};
    glm::vec3 farTopRight{0.0f};
    glm::vec3 farBottomLeft{0.0f};
    glm::vec3 farBottomRight{0.0f};

    float nearDistance;
    float farDistance;
    float aspectRatio;
    float fieldOfView;  // full vertical angle, degrees
    float tangent;      // tan of half the vertical angle
    float nearHalfWidth;
    float nearHalfHeight;
    float farHalfWidth;
    float farHalfHeight;

    Frustum(float fieldOfView, float aspectRatio, float nearDistance, float farDistance);
    virtual ~Frustum() = default;
    Frustum(const Frustum&) = default;
    Frustum& operator=(const Frustum&) = default;

    // Rebuilds corners and planes from the eye position and the camera's unit
    // front, right and up axes (right = front x up).
    void update(const glm::vec3& position, const glm::vec3& front, const glm::vec3& right,
                const glm::vec3& up);

    // False as soon as one plane has the centre farther outside than the
    // radius (strictly); a sphere that straddles a plane counts as inside.
    bool containsSphere(const glm::vec3& center, float radius) const;
};
