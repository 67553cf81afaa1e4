#pragma once
// A light of the scene. Each light owns its parameters and writes them, as
// uniforms of its own element of its kind's array ("pointLights[1].diffuse"),
// into every program of the shader list: all of them once at construction,
// afterwards only what a setter changes. Every upload binds each program in
// turn, looks the location up by name and leaves program 0 current; a program
// that does not declare the uniform gets location -1, which OpenGL ignores.

#include <GL/glew.h>

#include <functional>
#include <glm/glm.hpp>
#include <string>
#include <vector>

class Shader;

class Light {
public:
    int index = 0;             // element of the kind's uniform array
    glm::vec3 position;        // world position
    glm::vec3 rotation{0.0f};  // radians about x, y, z (directional and spot only)
    glm::vec3 ambient;
    glm::vec3 diffuse;
    glm::vec3 specular;
    float constant;  // attenuation terms (point and spot only)
    float linear;
    float quadratic;
    std::vector<Shader*>* shaders;  // the programs that receive the uniforms; not owned
    std::string name;               // array element, e.g. "pointLights[1]"

    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    virtual void updateUniforms() = 0;
    virtual void setPosition(glm::vec3 value);
    virtual void setRotation(glm::vec3 degrees);  // lights without a direction ignore it
    virtual void setAmbient(glm::vec3 value);
    virtual void setDiffuse(glm::vec3 value);
    virtual void setSpecular(glm::vec3 value);
    virtual void setConstant(float value);
    virtual void setLinear(float value);
    virtual void setQuadratic(float value);
    virtual void rotate(glm::vec3 degrees, float factor);  // ignored like setRotation
    virtual void move(glm::vec3 delta, float factor);
    virtual void changeAmbient(glm::vec3 delta, float factor);
    virtual void changeDiffuse(glm::vec3 delta, float factor);
    virtual void changeSpecular(glm::vec3 delta, float factor);
    virtual void changeConstant(float delta, float factor);
    virtual void changeLinear(float delta, float factor);
    virtual void changeQuadratic(float delta, float factor);
    virtual ~Light();

protected:
    // Leaves the shader list set to the global one and the name empty; the
    // concrete class picks its index and name.
    Light(glm::vec3 position, glm::vec3 ambient, glm::vec3 diffuse, glm::vec3 specular,
          float constant, float linear, float quadratic);

    // Binds each program of the list in turn, calls send with it, then binds 0.
    // Null entries are skipped; an empty list makes no GL call at all.
    void forEachProgram(const std::function<void(const Shader& program)>& send) const;

    // One-uniform uploads of member (".position" etc.) to every program.
    void uploadVec3(const char* member, glm::vec3 value) const;
    void uploadFloat(const char* member, float value) const;

    // Writes into the current program, for use inside forEachProgram.
    void sendVec3(const Shader& program, const char* member, glm::vec3 value) const;
    void sendFloat(const Shader& program, const char* member, float value) const;

    // The four uniforms every kind starts with: position, ambient, diffuse, specular.
    void sendCommon(const Shader& program) const;
};
