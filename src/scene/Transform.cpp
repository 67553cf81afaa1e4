#include "scene/Transform.h"

#include <glm/gtc/matrix_transform.hpp>

#include "core/Angles.h"

glm::mat4 modelMatrixOf(glm::vec3 position, glm::vec3 rotationRadians, glm::vec3 scale) {
    const glm::mat4 translation = glm::translate(glm::mat4(1.0f), position);
    const glm::mat4 scaling = glm::scale(glm::mat4(1.0f), scale);
    return translation * rotationZYX(rotationRadians) * scaling;
}

glm::vec3 clampScale(glm::vec3 scale) {
    return glm::max(scale, glm::vec3(0.0f));
}
