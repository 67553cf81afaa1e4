#include "lighting/SpotLight.h"

#include "core/Angles.h"
#include "lighting/LightMath.h"

int SpotLight::count = 0;

SpotLight::SpotLight(glm::vec3 position, glm::vec3 rotation, glm::vec3 ambient, glm::vec3 diffuse,
                     glm::vec3 specular, glm::vec3 baseDirection, float constant, float linear,
                     float quadratic, float innerAngle, float outerAngle)
    : Light(position, ambient, diffuse, specular, constant, linear, quadratic),
      baseDirection(baseDirection),
      innerAngle(innerAngle),
      outerAngle(clampOuterAngle(outerAngle, innerAngle)) {
    // The direction is only stored here: the full upload below sends it once
    // the element name is known.
    this->rotation = degreesToRadians(rotation);
    direction = directionFromRotation(this->rotation, baseDirection);
    index = count++;
    name = lightElementName(kSpotLightPrefix, index);
    updateUniforms();
}

SpotLight::~SpotLight() {
    --count;
}

void SpotLight::updateUniforms() {
    forEachProgram([this](const Shader& program) {
        sendCommon(program);
        sendVec3(program, ".direction", direction);
        sendFloat(program, ".constant", constant);
        sendFloat(program, ".linear", linear);
        sendFloat(program, ".quadratic", quadratic);
        sendFloat(program, ".innerAngle", coneCosine(innerAngle));
        sendFloat(program, ".outerAngle", coneCosine(outerAngle));
    });
}

void SpotLight::setRotation(glm::vec3 degrees) {
    rotation = degreesToRadians(degrees);
    setDirection(directionFromRotation(rotation, baseDirection));
}

void SpotLight::rotate(glm::vec3 degrees, float factor) {
    rotation += degrees * kDegreesToRadians * factor;
    setDirection(directionFromRotation(rotation, baseDirection));
}

void SpotLight::setDirection(glm::vec3 value) {
    direction = value;
    uploadVec3(".direction", direction);
}

void SpotLight::setInnerAngle(float degrees) {
    innerAngle = clampInnerAngle(degrees, outerAngle);
    uploadFloat(".innerAngle", coneCosine(innerAngle));
}

void SpotLight::setOuterAngle(float degrees) {
    outerAngle = clampOuterAngle(degrees, innerAngle);
    uploadFloat(".outerAngle", coneCosine(outerAngle));
}

void SpotLight::changeDirection(glm::vec3 delta, float factor) {
    setDirection(direction + delta * factor);
}

void SpotLight::changeInnerAngle(float delta, float factor) {
    setInnerAngle(innerAngle + delta * factor);
}

void SpotLight::changeOuterAngle(float delta, float factor) {
    setOuterAngle(outerAngle + delta * factor);
}
