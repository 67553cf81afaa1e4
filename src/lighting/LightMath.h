#pragma once
// The lights' arithmetic, apart from any GL: element names of the uniform
// arrays, directions from rotations, and the spot cone's angles.

#include <glm/glm.hpp>
#include <string>

// Array prefixes of the three kinds; the element name is prefix + index + "]".
constexpr const char* kDirectionalLightPrefix = "directionalLights[";
constexpr const char* kPointLightPrefix = "pointLights[";
constexpr const char* kSpotLightPrefix = "spotLights[";

// "pointLights[" and 2 give "pointLights[2]".
std::string lightElementName(const char* prefix, int index);

// The xyz part of Rz * Ry * Rx * (baseDirection, 0), with the rotation in radians.
glm::vec3 directionFromRotation(glm::vec3 rotationRadians, glm::vec3 baseDirection);

// The cosine a cone angle is uploaded as: degrees x 0.017453292 in single
// precision, cosine in double precision, rounded to float.
float coneCosine(float degrees);

// The cone keeps inner <= outer by limiting the angle being changed, never the
// other one.
float clampInnerAngle(float inner, float outer);
float clampOuterAngle(float outer, float inner);
