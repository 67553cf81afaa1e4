#include "scene/FrustumPlane.h"

void FrustumPlane::setFromPoints(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    normal = glm::cross(c - b, a - b);
    point = b;
    offset = -glm::dot(normal, b);
}
