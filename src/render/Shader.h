#pragma once
// One linked GLSL program built from a vertex and a fragment source file.
// Construction never fails: problems are reported on standard output and the
// (possibly unusable) program object is kept.

#include <GL/glew.h>

#include <glm/glm.hpp>

class Shader {
public:
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;
    GLuint program = 0;

    Shader(const char* vertexPath, const char* fragmentPath);
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    void use() const;

    // Each setter looks the location up by name and writes into the current
    // program; a name the program does not declare is ignored by OpenGL.
    void setInt(const char* name, int value) const;
    void setFloat(const char* name, float value) const;
    void setVec3(const char* name, float x, float y, float z) const;
    void setVec4(const char* name, float x, float y, float z, float w) const;
    void setMat4(const char* name, const glm::mat4& matrix) const;
};
