#include "lighting/ShadowMath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <glm/gtc/matrix_transform.hpp>

glm::mat4 lightViewMatrix(const glm::vec3& position, const glm::vec3& direction) {
    glm::vec3 forward(0.0f, -1.0f, 0.0f);
    const float lengthSquared = glm::dot(direction, direction);
    if (lengthSquared > 1e-20f && std::isfinite(lengthSquared)) forward = direction;
    // lookAt needs an up vector that is not parallel to the view direction.
    const glm::vec3 along = glm::normalize(forward);
    glm::vec3 up(0.0f, 1.0f, 0.0f);
    if (std::fabs(along.y) > 0.9999f) up = glm::vec3(0.0f, 0.0f, -1.0f);
    return glm::lookAt(position, position + forward, up);
}

glm::mat4 lightProjectionMatrix(float nearPlane, float farPlane) {
    return glm::ortho(-kShadowHalfExtent, kShadowHalfExtent, -kShadowHalfExtent, kShadowHalfExtent,
                      nearPlane, farPlane);
}

glm::vec3 shadowMapCoordinates(const glm::mat4& lightSpaceMatrix, const glm::vec3& world) {
    const glm::vec4 clip = lightSpaceMatrix * glm::vec4(world, 1.0f);
    return glm::vec3(clip) / clip.w * 0.5f + 0.5f;
}

bool insideShadowMap(const glm::vec3& c) {
    return c.x >= 0.0f && c.x <= 1.0f && c.y >= 0.0f && c.y <= 1.0f && c.z >= 0.0f && c.z <= 1.0f;
}

int shadowMapSide(int windowSide, int maxSize) {
    const long long wanted = static_cast<long long>(windowSide) * kShadowMapScale;
    if (wanted < 1) return 1;
    if (maxSize > 0 && wanted > maxSize) return maxSize;
    return static_cast<int>(wanted);
}

float shadowShiftOnGround(const std::vector<Box>& boxes, const glm::vec3& from,
                          const glm::vec3& to) {
    // A light within about a degree of the horizon casts shadows a few
    // hundred times their height: counted as moving without bound.
    constexpr float kDescends = 0.02f;
    const glm::vec3 a = glm::length(from) > 0.0f ? glm::normalize(from) : from;
    const glm::vec3 b = glm::length(to) > 0.0f ? glm::normalize(to) : to;
    if (!(a.y < -kDescends) || !(b.y < -kDescends)) return std::numeric_limits<float>::infinity();
    const glm::vec2 run = glm::vec2(b.x, b.z) / -b.y - glm::vec2(a.x, a.z) / -a.y;
    float shift = 0.0f;
    for (const Box& box : boxes)
        if (!box.empty) shift = std::max(shift, (box.max.y - box.min.y) * glm::length(run));
    return shift;
}
