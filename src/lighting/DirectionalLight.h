#pragma once
// A light from one direction (the sun), element "directionalLights[index]".
// Its direction is its base direction turned by its rotation; it has no
// attenuation, and the attenuation operations do nothing.

#include "lighting/Light.h"

class DirectionalLight : public Light {
public:
    glm::vec3 direction{0.0f};  // the uploaded direction
    glm::vec3 baseDirection;    // the direction at rotation (0, 0, 0)

    static int count;  // live directional lights; the next one takes this index

    // rotation in degrees.
    DirectionalLight(glm::vec3 position, glm::vec3 rotation, glm::vec3 ambient, glm::vec3 diffuse,
                     glm::vec3 specular, glm::vec3 baseDirection);
    ~DirectionalLight() override;

    // position, ambient, diffuse, specular, direction.
    void updateUniforms() override;
    void setRotation(glm::vec3 degrees) override;
    void setConstant(float value) override;
    void setLinear(float value) override;
    void setQuadratic(float value) override;
    void rotate(glm::vec3 degrees, float factor) override;

    virtual void setDirection(glm::vec3 value);
    virtual void changeDirection(glm::vec3 delta, float factor);
};
