#include "camera/Projection.h"

#include <cmath>

#include "render/Shader.h"

namespace {
constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 800.0f;
// tan(35) with the angle in radians, as the screen lens was tuned.
const float kScreenHalfTangent = static_cast<float>(std::tan(35.0));
// tan(45 degrees) in single precision rounds to exactly 1.
const float kCaptureHalfTangent = static_cast<float>(std::tan(static_cast<double>(0.7853982f)));
}  // namespace

glm::mat4 perspectiveFromHalfTangent(float halfTangent, float aspectRatio, float nearPlane,
                                     float farPlane) {
    glm::mat4 m(0.0f);
    m[0][0] = 1.0f / (aspectRatio * halfTangent);
    m[1][1] = 1.0f / halfTangent;
    m[2][2] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    m[2][3] = -1.0f;
    m[3][2] = -(2.0f * farPlane * nearPlane) / (farPlane - nearPlane);
    return m;
}

glm::mat4 screenProjection(int width, int height) {
    const float aspect =
        (width > 0 && height > 0) ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    return perspectiveFromHalfTangent(kScreenHalfTangent, aspect, kNearPlane, kFarPlane);
}

glm::mat4 captureProjection() {
    return perspectiveFromHalfTangent(kCaptureHalfTangent, 1.0f, kNearPlane, kFarPlane);
}

void uploadProjection(const Shader* shader, const glm::mat4& projection) {
    if (!shader) return;
    shader->use();
    shader->setMat4("projection", projection);
    glUseProgram(0);
}

void uploadProjection(const std::vector<Shader*>& shaders, const glm::mat4& projection) {
    for (const Shader* shader : shaders) uploadProjection(shader, projection);
}
