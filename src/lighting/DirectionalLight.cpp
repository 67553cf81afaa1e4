#include "lighting/DirectionalLight.h"

#include "core/Angles.h"
#include "lighting/LightMath.h"

int DirectionalLight::count = 0;

DirectionalLight::DirectionalLight(glm::vec3 position, glm::vec3 rotation, glm::vec3 ambient,
                                   glm::vec3 diffuse, glm::vec3 specular, glm::vec3 baseDirection)
    : Light(position, ambient, diffuse, specular, 1.0f, 0.0f, 0.0f), baseDirection(baseDirection) {
    // The direction is only stored here: the full upload below sends it once
    // the element name is known.
    this->rotation = degreesToRadians(rotation);
    direction = directionFromRotation(this->rotation, baseDirection);
    index = count++;
    name = lightElementName(kDirectionalLightPrefix, index);
    updateUniforms();
}

DirectionalLight::~DirectionalLight() {
    --count;
}

void DirectionalLight::updateUniforms() {
    forEachProgram([this](const Shader& program) {
        sendCommon(program);
        sendVec3(program, ".direction", direction);
    });
}

void DirectionalLight::setRotation(glm::vec3 degrees) {
    rotation = degreesToRadians(degrees);
    setDirection(directionFromRotation(rotation, baseDirection));
}

void DirectionalLight::rotate(glm::vec3 degrees, float factor) {
    rotation += degrees * kDegreesToRadians * factor;
    setDirection(directionFromRotation(rotation, baseDirection));
}

void DirectionalLight::setConstant(float) {}

void DirectionalLight::setLinear(float) {}

void DirectionalLight::setQuadratic(float) {}

void DirectionalLight::setDirection(glm::vec3 value) {
    direction = value;
    uploadVec3(".direction", direction);
}

void DirectionalLight::changeDirection(glm::vec3 delta, float factor) {
    setDirection(direction + delta * factor);
}
