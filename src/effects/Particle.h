#pragma once
// One slot of the smoke pool. A slot is alive while life > 0 and free
// otherwise; a dead or free slot carries cameraDistance -1.

#include <glm/glm.hpp>

struct Particle {
    glm::vec3 position{0.0f};
    glm::vec3 speed{0.0f};         // the position advances by half of it per second
    float size = 0.0f;             // billboard size, 0.005 to 0.05
    float life = -1.0f;            // seconds left
    float cameraDistance = -1.0f;  // squared distance to the eye
};
