#pragma once
// A cone of light, element "spotLights[index]": a direction from a base
// direction and a rotation as for the directional light, attenuation as for
// the point light, and an inner and an outer cone angle. The angles are held
// in degrees and uploaded as their cosines; inner <= outer always holds.

#include "lighting/Light.h"

class SpotLight : public Light {
public:
    glm::vec3 baseDirection;    // the direction at rotation (0, 0, 0)
    glm::vec3 direction{0.0f};  // the uploaded direction
    float innerAngle;           // degrees
    float outerAngle;           // degrees, never below innerAngle

    static int count;  // live spot lights; the next one takes this index

    // rotation and the two angles in degrees. An inner angle above the outer
    // one raises the outer angle to it.
    SpotLight(glm::vec3 position, glm::vec3 rotation, glm::vec3 ambient, glm::vec3 diffuse,
              glm::vec3 specular, glm::vec3 baseDirection, float constant, float linear,
              float quadratic, float innerAngle, float outerAngle);
    ~SpotLight() override;

    // position, ambient, diffuse, specular, direction, constant, linear,
    // quadratic, innerAngle, outerAngle.
    void updateUniforms() override;
    void setRotation(glm::vec3 degrees) override;
    void rotate(glm::vec3 degrees, float factor) override;

    virtual void setDirection(glm::vec3 value);
    // An angle beyond the other one is limited to it.
    virtual void setInnerAngle(float degrees);
    virtual void setOuterAngle(float degrees);
    virtual void changeDirection(glm::vec3 delta, float factor);
    virtual void changeInnerAngle(float delta, float factor);
    virtual void changeOuterAngle(float delta, float factor);
};
