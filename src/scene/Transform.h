#pragma once
// Placement arithmetic of the scene's objects, apart from any GL or model.

#include <glm/glm.hpp>

// T * Rz * Ry * Rx * S: a model-space point is scaled first, then turned about
// x, y and z in that order (radians, right-handed), then moved to position.
glm::mat4 modelMatrixOf(glm::vec3 position, glm::vec3 rotationRadians, glm::vec3 scale);

// A scale factor cannot turn an object inside out: negative components become 0.
glm::vec3 clampScale(glm::vec3 scale);
