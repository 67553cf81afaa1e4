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
    // As above, with `fragmentDefines` (lines such as "#define NAME") placed
    // after the fragment source's first line, its #version: one source file
    // can give a second, narrower program.
    Shader(const char* vertexPath, const char* fragmentPath, const char* fragmentDefines);
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

// The uniform types copyUniformValue copies: float, vectors of floats, 3 x 3
// and 4 x 4 matrices, int, bool, 2D and cube samplers.
bool copyableUniformType(GLenum type);

// Copies the value at location `fromAt` of program `from` into location
// `toAt` of the current program; `type` is the uniform's, one of the
// copyable types (others are not copied).
void copyUniformValue(GLuint from, GLint fromAt, GLint toAt, GLenum type);

// Copies a float uniform of `floats` components (1, 2, 4, or 16 for a 4 x 4
// matrix) by name from one program to another, leaving `to` current. Nothing
// happens where either program lacks the name.
void copyUniform(GLuint from, GLuint to, const char* name, int floats);

// Reads the float uniform `name` of `program` into `values`, which must hold
// as many floats as the uniform has; false, leaving `values` as they are,
// where the program lacks the name.
bool readUniform(GLuint program, const char* name, float* values);
