#include "lighting/Light.h"

#include "core/Globals.h"
#include "render/Shader.h"

Light::Light(glm::vec3 position, glm::vec3 ambient, glm::vec3 diffuse, glm::vec3 specular,
             float constant, float linear, float quadratic)
    : position(position),
      ambient(ambient),
      diffuse(diffuse),
      specular(specular),
      constant(constant),
      linear(linear),
      quadratic(quadratic),
      shaders(&sceneShaders) {}

Light::~Light() = default;

void Light::forEachProgram(const std::function<void(const Shader& program)>& send) const {
    if (!shaders) return;
    for (const Shader* shader : *shaders) {
        if (!shader) continue;
        shader->use();
        send(*shader);
        glUseProgram(0);
    }
}

void Light::sendVec3(const Shader& program, const char* member, glm::vec3 value) const {
    const std::string uniform = name + member;
    program.setVec3(uniform.c_str(), value.x, value.y, value.z);
}

void Light::sendFloat(const Shader& program, const char* member, float value) const {
    const std::string uniform = name + member;
    program.setFloat(uniform.c_str(), value);
}

void Light::uploadVec3(const char* member, glm::vec3 value) const {
    forEachProgram([&](const Shader& program) { sendVec3(program, member, value); });
}

void Light::uploadFloat(const char* member, float value) const {
    forEachProgram([&](const Shader& program) { sendFloat(program, member, value); });
}

void Light::sendCommon(const Shader& program) const {
    sendVec3(program, ".position", position);
    sendVec3(program, ".ambient", ambient);
    sendVec3(program, ".diffuse", diffuse);
    sendVec3(program, ".specular", specular);
}

void Light::setPosition(glm::vec3 value) {
    position = value;
    uploadVec3(".position", position);
}

void Light::setRotation(glm::vec3) {}

void Light::setAmbient(glm::vec3 value) {
    ambient = value;
    uploadVec3(".ambient", ambient);
}

void Light::setDiffuse(glm::vec3 value) {
    diffuse = value;
    uploadVec3(".diffuse", diffuse);
}

void Light::setSpecular(glm::vec3 value) {
    specular = value;
    uploadVec3(".specular", specular);
}

void Light::setConstant(float value) {
    constant = value;
    uploadFloat(".constant", constant);
}

void Light::setLinear(float value) {
    linear = value;
    uploadFloat(".linear", linear);
}

void Light::setQuadratic(float value) {
    quadratic = value;
    uploadFloat(".quadratic", quadratic);
}

void Light::rotate(glm::vec3, float) {}

void Light::move(glm::vec3 delta, float factor) {
    setPosition(position + delta * factor);
}

void Light::changeAmbient(glm::vec3 delta, float factor) {
    setAmbient(ambient + delta * factor);
}

void Light::changeDiffuse(glm::vec3 delta, float factor) {
    setDiffuse(diffuse + delta * factor);
}

void Light::changeSpecular(glm::vec3 delta, float factor) {
    setSpecular(specular + delta * factor);
}

void Light::changeConstant(float delta, float factor) {
    setConstant(constant + delta * factor);
}

void Light::changeLinear(float delta, float factor) {
    setLinear(linear + delta * factor);
}

void Light::changeQuadratic(float delta, float factor) {
    setQuadratic(quadratic + delta * factor);
}
