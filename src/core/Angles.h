#pragma once
// Angles: degrees at every interface, radians inside. The conversion factors
// are fixed single-precision values, and sines and cosines are taken in double
// precision on the single-precision radian value, then rounded back.

#include <glm/glm.hpp>

constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kRadiansToDegrees = 57.29578f;

// Per component: degrees x 0.017453292 and radians x 57.29578.
glm::vec3 degreesToRadians(glm::vec3 degrees);
glm::vec3 radiansToDegrees(glm::vec3 radians);

float cosOfRadians(float radians);
float sinOfRadians(float radians);

// Right-handed rotation by the given radians about the unit x, y or z axis
// (positive angles turn counter-clockwise seen from the positive axis).
glm::mat4 rotationAboutX(float radians);
glm::mat4 rotationAboutY(float radians);
glm::mat4 rotationAboutZ(float radians);

// Rz * Ry * Rx: applied to a vector, the x rotation comes first, then y, then z.
glm::mat4 rotationZYX(glm::vec3 radians);
