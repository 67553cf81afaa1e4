#include "effects/WaterMath.h"

#include <cmath>

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
