#pragma once
// A light that shines from a point in all directions, element
// "pointLights[index]", weakened with distance by its attenuation terms. It has
// no direction: setRotation and rotate do nothing.

#include "lighting/Light.h"

class PointLight : public Light {
public:
    static int count;  // live point lights; the next one takes this index

    PointLight(glm::vec3 position, glm::vec3 ambient, glm::vec3 diffuse, glm::vec3 specular,
               float constant, float linear, float quadratic);
    ~PointLight() override;

    // position, ambient, diffuse, specular, constant, linear, quadratic.
    void updateUniforms() override;
};
