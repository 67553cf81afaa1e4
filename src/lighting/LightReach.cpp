#include "lighting/LightReach.h"

#include <algorithm>
#include <cmath>

namespace {

// World units the box is grown by, against rounding in the interpolated
// positions; and the factor by which a light must be under the shaders'
// limit to be left out.
constexpr float kBoxMargin = 0.5f;
constexpr float kStrengthMargin = 0.9f;

float strongest(glm::vec3 c) {
    return std::max(c.r, std::max(c.g, c.b));
}

float distanceToBox(glm::vec3 p, const Box& box) {
    const glm::vec3 nearest = glm::clamp(p, box.min, box.max);
    return std::max(glm::length(p - nearest) - kBoxMargin, 0.0f);
}

// The shaders' attenuated strength test, at the box's nearest point.
bool strongEnough(const LightValues& light, const Box& box) {
    if (light.constant < 0.0f || light.linear < 0.0f || light.quadratic < 0.0f) return true;
    const float d = distanceToBox(light.position, box);
    const float fade =
        1.0f / std::max(light.constant + light.linear * d + light.quadratic * d * d, 1e-4f);
    return fade * strongest(light.ambient + light.diffuse + light.specular) >=
           kNegligibleLight * kStrengthMargin;
}

}  // namespace

bool pointLightReaches(const LightValues& light, const Box& box) {
    if (box.empty) return false;
    return strongEnough(light, box);
}

bool spotLightReaches(const LightValues& light, const Box& box) {
    if (box.empty) return false;
    if (!strongEnough(light, box)) return false;
    if (light.ambient != glm::vec3(0.0f)) return true;
    const float length = glm::length(light.direction);
    if (!(length > 1e-6f) || light.outerCosine <= -1.0f) return true;
    const glm::vec3 axis = light.direction / length;
    constexpr float kCosineMargin = 1e-3f;
    if (light.outerCosine < 0.0f) {
        // A cone wider than a half space: what lies outside it is a convex
        // cone around the opposite axis, and a box lies in that when all its
        // corners do.
        glm::vec4 corners[8];
        boxCorners(grownBox(box, kBoxMargin), corners);
        for (const glm::vec4& corner : corners) {
            const glm::vec3 out = glm::vec3(corner) - light.position;
            const float distance = glm::length(out);
            if (!(distance > 1e-6f) ||
                glm::dot(out, axis) / distance > light.outerCosine - kCosineMargin)
                return true;
        }
        return false;
    }
    // A narrower cone: the box's bounding sphere seen from the light, and the
    // smallest angle between the spot's axis and any point of it.
    const glm::vec3 centre = (box.min + box.max) * 0.5f;
    const float radius = glm::length(box.max - box.min) * 0.5f + kBoxMargin;
    const glm::vec3 toCentre = centre - light.position;
    const float distance = glm::length(toCentre);
    if (distance <= radius) return true;
    const float axisAngle = std::acos(std::clamp(glm::dot(toCentre, axis) / distance, -1.0f, 1.0f));
    const float spread = std::asin(radius / distance);
    const float nearest = std::max(axisAngle - spread, 0.0f);
    return std::cos(nearest) > light.outerCosine - kCosineMargin;
}

bool sunShadowMatters(glm::vec3 sunDirection, glm::vec3 sunDiffuse, glm::vec3 sunSpecular,
                      const Box& normals) {
    if (glm::dot(sunDirection, sunDirection) < 1e-12f) return false;
    if (strongest(sunDiffuse + sunSpecular) < kNegligibleLight * kStrengthMargin) return false;
    if (normals.empty) return true;
    const glm::vec3 toSun = glm::normalize(-sunDirection);
    // The largest dot product of toSun with any vector in the box of normals,
    // and with the up vector.
    float most = toSun.y;
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i)
        sum += std::max(toSun[i] * normals.min[i], toSun[i] * normals.max[i]);
    most = std::max(most, sum);
    constexpr float kFacingMargin = 1e-3f;
    return most > -kFacingMargin;
}
