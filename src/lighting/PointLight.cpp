#include "lighting/PointLight.h"

#include "lighting/LightMath.h"

int PointLight::count = 0;

PointLight::PointLight(glm::vec3 position, glm::vec3 ambient, glm::vec3 diffuse, glm::vec3 specular,
                       float constant, float linear, float quadratic)
    : Light(position, ambient, diffuse, specular, constant, linear, quadratic) {
    index = count++;
    name = lightElementName(kPointLightPrefix, index);
    updateUniforms();
}

PointLight::~PointLight() {
    --count;
}

void PointLight::updateUniforms() {
    forEachProgram([this](const Shader& program) {
        sendCommon(program);
        sendFloat(program, ".constant", constant);
        sendFloat(program, ".linear", linear);
        sendFloat(program, ".quadratic", quadratic);
    });
}
