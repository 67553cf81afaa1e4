#include "scene/Frustum.h"

#include <cmath>

namespace {
constexpr float kDegreesToRadians = 0.017453292f;
}

Frustum::Frustum(float fieldOfView, float aspectRatio, float nearDistance, float farDistance)
    : nearDistance(nearDistance),
      farDistance(farDistance),
      aspectRatio(aspectRatio),
      fieldOfView(fieldOfView) {
    const float halfAngle = fieldOfView * 0.5f * kDegreesToRadians;
    tangent = static_cast<float>(std::tan(static_cast<double>(halfAngle)));
    nearHalfHeight = nearDistance * tangent;
    nearHalfWidth = nearHalfHeight * aspectRatio;
    farHalfHeight = farDistance * tangent;
    farHalfWidth = farHalfHeight * aspectRatio;
}

void Frustum::update(const glm::vec3& position, const glm::vec3& front, const glm::vec3& right,
                     const glm::vec3& up) {
    const glm::vec3 nearCenter = position + front * nearDistance;
    const glm::vec3 farCenter = position + front * farDistance;

    nearTopLeft = nearCenter + up * nearHalfHeight - right * nearHalfWidth;
    nearTopRight = nearCenter + up * nearHalfHeight + right * nearHalfWidth;
    nearBottomLeft = nearCenter - up * nearHalfHeight - right * nearHalfWidth;
    nearBottomRight = nearCenter - up * nearHalfHeight + right * nearHalfWidth;
    farTopLeft = farCenter + up * farHalfHeight - right * farHalfWidth;
    farTopRight = farCenter + up * farHalfHeight + right * farHalfWidth;
    farBottomLeft = farCenter - up * farHalfHeight - right * farHalfWidth;
    farBottomRight = farCenter - up * farHalfHeight + right * farHalfWidth;

    planes[Top].setFromPoints(nearTopRight, nearTopLeft, farTopLeft);
    planes[Bottom].setFromPoints(nearBottomLeft, nearBottomRight, farBottomRight);
    planes[Left].setFromPoints(nearTopLeft, nearBottomLeft, farBottomLeft);
    planes[Right].setFromPoints(nearBottomRight, nearTopRight, farBottomRight);
    planes[Near].setFromPoints(nearTopLeft, nearTopRight, nearBottomRight);
    planes[Far].setFromPoints(farTopRight, farTopLeft, farBottomLeft);
}

bool Frustum::containsSphere(const glm::vec3& center, float radius) const {
    for (const FrustumPlane& plane : planes)
        if (-radius > plane.value(center)) return false;
    return true;
}
