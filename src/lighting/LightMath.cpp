#include "lighting/LightMath.h"

#include "core/Angles.h"

std::string lightElementName(const char* prefix, int index) {
    return std::string(prefix ? prefix : "") + std::to_string(index) + "]";
}

glm::vec3 directionFromRotation(glm::vec3 rotationRadians, glm::vec3 baseDirection) {
    return glm::vec3(rotationZYX(rotationRadians) * glm::vec4(baseDirection, 0.0f));
}

float coneCosine(float degrees) {
    return cosOfRadians(degrees * kDegreesToRadians);
}

float clampInnerAngle(float inner, float outer) {
    return inner > outer ? outer : inner;
}

float clampOuterAngle(float outer, float inner) {
    return outer < inner ? inner : outer;
}
