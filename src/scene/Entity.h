#pragma once
// One placed object of the scene: a shared model with a position, a rotation
// and a scale, and the radius of the sphere used to cull it. Angles enter and
// leave in degrees and are stored in radians. The setters and movers change
// only the fields; the model matrix follows at the next draw (or
// updateModelMatrix).
//
// Entities own nothing and are deleted through their own type, so the class
// has no virtual destructor; it is final so that such a delete stays sound.

#include <glm/glm.hpp>

#include "render/Mesh.h"

class Model;
class Shader;

class Entity final {
public:
    Model* model;           // drawn model; not owned, may be shared
    glm::mat4 modelMatrix;  // last computed model matrix
    glm::vec3 position;     // world position of the model's origin
    glm::vec3 rotation;     // radians about x, y, z
    glm::vec3 scale;
    float radius;  // culling sphere, world units
    // The same object with fewer triangles, at the same place, that a frame
    // may draw instead when it stands far from the view (see FrameChoices);
    // not owned, may be null.
    Entity* farForm = nullptr;
    // The same object as a few sheets showing a picture of it, at the same
    // place, that a frame may draw instead when it stands farther still (see
    // FrameChoices); not owned, may be null.
    Entity* distantForm = nullptr;
    // The same object with fewer, larger cut-out cards, at the same place,
    // that a small frame may draw instead where it draws no far form (see
    // FrameChoices); not owned, may be null.
    Entity* thinForm = nullptr;

    // Stands on the ground: the position is (x, terrain height at (x, z), z).
    // The terrain must exist first.
    Entity(Model* model, glm::vec3 rotation, glm::vec3 scale, float x, float z, float radius);
    // At the given position.
    Entity(Model* model, glm::vec3 position, glm::vec3 rotation, glm::vec3 scale, float radius);

    // Makes the shader current, recomputes the model matrix, sets "model",
    // draws the model with the same shader and makes program 0 current. The
    // caller sets every other uniform beforehand.
    virtual void draw(Shader* shader, DrawOrder order = DrawOrder::Forward);
    // True when its model has cut-out texels (the double-sided leaves and
    // grass, drawn without face culling).
    bool cutOut() const;
    virtual glm::vec3 getPosition();
    virtual glm::vec3 getRotation();  // degrees
    virtual glm::vec3 getScale();
    virtual float getRadius();
    virtual void setPosition(glm::vec3 value);
    virtual void setRotation(float x, float y, float z);  // degrees
    virtual void setScale(glm::vec3 value);
    virtual void increasePosition(float dx, float dy, float dz, float factor);
    virtual void decreasePosition(float dx, float dy, float dz, float factor);
    virtual void increaseRotation(float dx, float dy, float dz, float factor);  // degrees
    // Components that would fall below 0 are set to 0.
    virtual void increaseScale(float dx, float dy, float dz, float factor);

    void updateModelMatrix();
};
