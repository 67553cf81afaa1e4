#include "effects/SkyMath.h"

#include <glm/gtc/matrix_transform.hpp>

// clang-format off
const float kSkyCubeVertices[kSkyCubeVertexCount * 3] = {
    // z = -1
    -1,  1, -1,   -1, -1, -1,    1, -1, -1,    1, -1, -1,    1,  1, -1,   -1,  1, -1,
    // x = -1
    -1, -1,  1,   -1, -1, -1,   -1,  1, -1,   -1,  1, -1,   -1,  1,  1,   -1, -1,  1,
    // x = +1
     1, -1, -1,    1, -1,  1,    1,  1,  1,    1,  1,  1,    1,  1, -1,    1, -1, -1,
    // z = +1
    -1, -1,  1,   -1,  1,  1,    1,  1,  1,    1,  1,  1,    1, -1,  1,   -1, -1,  1,
    // y = +1
    -1,  1, -1,    1,  1, -1,    1,  1,  1,    1,  1,  1,   -1,  1,  1,   -1,  1, -1,
    // y = -1
    -1, -1, -1,   -1, -1,  1,    1, -1, -1,    1, -1, -1,   -1, -1,  1,    1, -1,  1,
};
// clang-format on

SkyBlend skyBlendAt(float t) {
    if (t < 5000.0f) return {false, false, t / 5000.0f};
    if (t < 8000.0f) return {false, true, (t - 5000.0f) / 3000.0f};
    if (t < 17000.0f) return {true, true, (t - 8000.0f) / 9000.0f};
    return {true, false, (t - 17000.0f) / 7000.0f};
}

float advanceSkyRotation(float skyRotation, float rotationSpeed, float deltaTime) {
    return skyRotation + rotationSpeed * deltaTime;
}

glm::mat4 turnedSkyView(const glm::mat4& view, float skyRotation) {
    return glm::rotate(view, skyRotation, glm::vec3(0.0f, 1.0f, 0.0f));
}
