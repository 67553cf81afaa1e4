#include "core/Angles.h"

#include <cmath>

glm::vec3 degreesToRadians(glm::vec3 degrees) {
    return degrees * kDegreesToRadians;
}

glm::vec3 radiansToDegrees(glm::vec3 radians) {
    return radians * kRadiansToDegrees;
}

float cosOfRadians(float radians) {
    return static_cast<float>(std::cos(static_cast<double>(radians)));
}

float sinOfRadians(float radians) {
    return static_cast<float>(std::sin(static_cast<double>(radians)));
}

// glm matrices are column-major: m[column][row].
glm::mat4 rotationAboutX(float radians) {
    const float c = cosOfRadians(radians);
    const float s = sinOfRadians(radians);
    glm::mat4 m(1.0f);
    m[1][1] = c;
    m[1][2] = s;
    m[2][1] = -s;
    m[2][2] = c;
    return m;
}

glm::mat4 rotationAboutY(float radians) {
    const float c = cosOfRadians(radians);
    const float s = sinOfRadians(radians);
    glm::mat4 m(1.0f);
    m[0][0] = c;
    m[0][2] = -s;
    m[2][0] = s;
    m[2][2] = c;
    return m;
}

glm::mat4 rotationAboutZ(float radians) {
    const float c = cosOfRadians(radians);
    const float s = sinOfRadians(radians);
    glm::mat4 m(1.0f);
    m[0][0] = c;
    m[0][1] = s;
    m[1][0] = -s;
    m[1][1] = c;
    return m;
}

glm::mat4 rotationZYX(glm::vec3 radians) {
    return rotationAboutZ(radians.z) * rotationAboutY(radians.y) * rotationAboutX(radians.x);
}
