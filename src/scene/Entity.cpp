#include "scene/Entity.h"

#include "core/Angles.h"
#include "effects/Terrain.h"
#include "render/Model.h"
#include "render/Shader.h"
#include "scene/Transform.h"

Entity::Entity(Model* model, glm::vec3 rotation, glm::vec3 scale, float x, float z, float radius)
    : Entity(model, glm::vec3(x, Terrain::getInstance()->getHeightOfTerrain(x, z), z), rotation,
             scale, radius) {}

Entity::Entity(Model* model, glm::vec3 position, glm::vec3 rotation, glm::vec3 scale, float radius)
    : model(model),
      modelMatrix(1.0f),
      position(position),
      rotation(degreesToRadians(rotation)),
      scale(scale),
      radius(radius) {
    updateModelMatrix();
}

void Entity::updateModelMatrix() {
    modelMatrix = modelMatrixOf(position, rotation, scale);
}

void Entity::draw(Shader* shader, DrawOrder order) {
    if (!shader) return;
    shader->use();
    updateModelMatrix();
    shader->setMat4("model", modelMatrix);
    if (model) model->draw(shader, order);
    glUseProgram(0);
}

bool Entity::cutOut() const {
    return model && !model->cullFaces;
}

glm::vec3 Entity::getPosition() {
    return position;
}

glm::vec3 Entity::getRotation() {
    return radiansToDegrees(rotation);
}

glm::vec3 Entity::getScale() {
    return scale;
}

float Entity::getRadius() {
    return radius;
}

void Entity::setPosition(glm::vec3 value) {
    position = value;
}

void Entity::setRotation(float x, float y, float z) {
    rotation = degreesToRadians(glm::vec3(x, y, z));
}

void Entity::setScale(glm::vec3 value) {
    scale = value;
}

void Entity::increasePosition(float dx, float dy, float dz, float factor) {
    position += glm::vec3(dx, dy, dz) * factor;
}

void Entity::decreasePosition(float dx, float dy, float dz, float factor) {
    position -= glm::vec3(dx, dy, dz) * factor;
}

void Entity::increaseRotation(float dx, float dy, float dz, float factor) {
    rotation += glm::vec3(dx, dy, dz) * factor * kDegreesToRadians;
}

void Entity::increaseScale(float dx, float dy, float dz, float factor) {
    scale = clampScale(scale + glm::vec3(dx, dy, dz) * factor);
}
