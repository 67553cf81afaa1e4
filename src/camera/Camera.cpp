#include "camera/Camera.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "render/Shader.h"
#include "scene/Frustum.h"

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

// Sine and cosine in double precision on the single-precision angle.
float sinOf(float radians) {
    return static_cast<float>(std::sin(static_cast<double>(radians)));
}
float cosOf(float radians) {
    return static_cast<float>(std::cos(static_cast<double>(radians)));
}

// Normalises v into out unless v is too short (or not finite) to give a
// direction; then out is left alone and false is returned.
bool normalizeInto(const glm::vec3& v, glm::vec3& out) {
    const float lengthSquared = glm::dot(v, v);
    // Well above the denormal range, yet far below the 1.9e-15 that the
    // vertical cube faces produce.
    if (!(lengthSquared > 1e-30f) || !std::isfinite(lengthSquared)) return false;
    out = v * (1.0f / std::sqrt(lengthSquared));
    return true;
}

struct FaceAngles {
    float yaw;
    float pitch;
};

constexpr FaceAngles kCubeFaces[6] = {
    {0.0f, 0.0f},      // +X
    {180.0f, 0.0f},    // -X
    {-90.0f, 90.0f},   // +Y
    {-90.0f, -90.0f},  // -Y
    {90.0f, 0.0f},     // +Z
    {-90.0f, 0.0f},    // -Z
};

}  // namespace

Camera::Camera(const glm::vec3& startPosition, Frustum* frustum)
    : frustum(frustum), position(startPosition) {
    updateCameraVectors();
}

void Camera::updateCameraVectors() {
    if (freeMode) {
        const float yawRadians = yaw * kDegreesToRadians;
        const float pitchRadians = pitch * kDegreesToRadians;
        const float cosPitch = cosOf(pitchRadians);
        const glm::vec3 direction(cosOf(yawRadians) * cosPitch, sinOf(pitchRadians),
                                  sinOf(yawRadians) * cosPitch);
        normalizeInto(direction, front);
    } else if (inTurnMode()) {
        // Heading grows by the angle, from +X towards +Z; not renormalised.
        const float angle = turnStep * kDegreesToRadians;
        const float c = cosOf(angle);
        const float s = sinOf(angle);
        front = glm::vec3(c * front.x - s * front.z, front.y, s * front.x + c * front.z);
    }
    // Path mode: front belongs to the camera path.

    glm::vec3 newRight;
    if (!normalizeInto(glm::cross(front, worldUp), newRight)) return;
    glm::vec3 newUp;
    if (!normalizeInto(glm::cross(newRight, front), newUp)) return;
    right = newRight;
    up = newUp;
}

glm::mat4 Camera::viewMatrix() const {
    return glm::lookAt(position, position + front, up);
}

void Camera::update() {
    updateCameraVectors();
    view = viewMatrix();
    if (frustum) frustum->update(position, front, right, up);
}

void Camera::applyView(const Shader* shader) {
    view = viewMatrix();
    if (!shader) return;
    shader->use();
    shader->setMat4("view", view);
    shader->setVec3("viewPos", position.x, position.y, position.z);
    glUseProgram(0);
}

void Camera::setCubeFace(int face) {
    if (face < 0 || face >= 6) return;
    yaw = kCubeFaces[face].yaw;
    pitch = kCubeFaces[face].pitch;
    worldUp = glm::vec3(0.0f, -1.0f, 0.0f);
    updateCameraVectors();
}
