#pragma once
// One linked GLSL program built from a vertex and a fragment source file.
// Construction never fails: problems are reported on standard output and the
// (possibly unusable) program object is kept.

#include <GL/glew.h>

#include <cstdint>
#include <glm/glm.hpp>
#include <string>
#include <unordered_map>
#include <vector>

// A value given to a program through its setters. Programs keep what they
// were given, so a variant program can take it over, and nothing is ever read
// back from GL.
struct UniformValue {
    std::string name;
    GLenum type = GL_FLOAT;  // GL_INT, GL_FLOAT, GL_FLOAT_VEC2/3/4 or GL_FLOAT_MAT4
    float f[16] = {};
    int i = 0;
    std::uint64_t written = 0;  // when it was last set (a count across programs)
};

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
    // True when the program linked.
    bool linked() const;

    // Each setter looks the location up by name and writes into the current
    // program (which should be this one); a name the program does not
    // declare is ignored by OpenGL and not kept. A declared one is kept.
    void setInt(const char* name, int value) const;
    void setFloat(const char* name, float value) const;
    void setVec2(const char* name, float x, float y) const;
    void setVec3(const char* name, float x, float y, float z) const;
    void setVec4(const char* name, float x, float y, float z, float w) const;
    void setMat4(const char* name, const glm::mat4& matrix) const;

    // The value last given to `name`, or null where none was (or the program
    // does not declare it).
    const UniformValue* value(const char* name) const;
    // `name` as a matrix or a vector of three or four floats; `fallback`
    // where none was given.
    glm::mat4 matrix(const char* name, const glm::mat4& fallback = glm::mat4(1.0f)) const;
    glm::vec3 vec3(const char* name, const glm::vec3& fallback = glm::vec3(0.0f)) const;
    glm::vec4 vec4(const char* name, const glm::vec4& fallback = glm::vec4(0.0f)) const;

    // Makes this program current and gives it every value `from` was given
    // since the last take-over from it (all of them the first time), where
    // this program declares the name. A variant program (the same sources
    // with other defines, or another fragment stage) then draws with what
    // its full program was given. One source program per variant.
    void takeOver(const Shader& from);

private:
    void keep(const char* name, GLint at, GLenum type, const float* f, int count, int i) const;

    mutable std::vector<UniformValue> values;
    mutable std::unordered_map<std::string, size_t> slotOf;
    // Per value of the source program: its location here (-2: not looked
    // up yet) and the write last taken over.
    const Shader* source = nullptr;
    std::vector<GLint> sourceAt;
    std::vector<std::uint64_t> sourceTaken;
};
