#include "render/Shader.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <glm/gtc/type_ptr.hpp>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// Our sources are a few kilobytes; a file far larger is not a shader, and
// reading it whole would spend its size in memory.
constexpr std::uintmax_t kMaxSourceBytes = 1 << 20;

bool tooLarge(const char* path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return !error && size > kMaxSourceBytes;
}

// Compiles one stage and reports a failure with the driver's log (cut to the
// 512-character buffer).
GLuint compileStage(GLenum type, const std::string& source, const char* failureText) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[512] = {0};
        glGetShaderInfoLog(shader, 512, nullptr, log);
        std::cout << failureText << log << std::endl;
    }
    return shader;
}

// The source with `defines` after its first line; a source without a line
// break takes them at its end.
std::string withDefines(const std::string& source, const char* defines) {
    if (!defines || !*defines) return source;
    const size_t lineEnd = source.find('\n');
    const size_t at = lineEnd == std::string::npos ? source.size() : lineEnd + 1;
    std::string out = source.substr(0, at);
    if (lineEnd == std::string::npos) out += '\n';
    out += defines;
    out += '\n';
    out += source.substr(at);
    return out;
}

}  // namespace

Shader::Shader(const char* vertexPath, const char* fragmentPath)
    : Shader(vertexPath, fragmentPath, nullptr) {}

Shader::Shader(const char* vertexPath, const char* fragmentPath, const char* fragmentDefines) {
    std::string vertexCode;
    std::string fragmentCode;
    std::ifstream vertexFile;
    std::ifstream fragmentFile;
    // Only the unrecoverable (bad) state raises: a missing file just gives an
    // empty source, which the compile and link checks then report.
    vertexFile.exceptions(std::ifstream::badbit);
    fragmentFile.exceptions(std::ifstream::badbit);
    try {
        if (tooLarge(vertexPath) || tooLarge(fragmentPath))
            throw std::ios_base::failure("source file too large");
        vertexFile.open(vertexPath);
        fragmentFile.open(fragmentPath);
        std::stringstream vertexStream;
        std::stringstream fragmentStream;
        if (vertexFile.is_open()) vertexStream << vertexFile.rdbuf();
        if (fragmentFile.is_open()) fragmentStream << fragmentFile.rdbuf();
        vertexFile.close();
        fragmentFile.close();
        vertexCode = vertexStream.str();
        fragmentCode = fragmentStream.str();
    } catch (const std::ios_base::failure&) {
        std::cout << "ERROR::SHADER::File could not benn read sucessfully!" << std::endl;
        vertexCode.clear();
        fragmentCode.clear();
    }

    vertexShader =
        compileStage(GL_VERTEX_SHADER, vertexCode, "ERROR::SHADER::VERTEX::Compilation failed\n");
    fragmentShader = compileStage(GL_FRAGMENT_SHADER, withDefines(fragmentCode, fragmentDefines),
                                  "ERROR::SHADER::FRAGMENT::Compilation failed\n");

    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[512] = {0};
        glGetProgramInfoLog(program, 512, nullptr, log);
        std::cout << "ERROR::SHADER::PROGRAM::Linking failed\n" << log << std::endl;
    }

    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
}

Shader::~Shader() {
    glDetachShader(program, vertexShader);
    glDetachShader(program, fragmentShader);
    glDeleteProgram(program);
    // Both stages were flagged for deletion after linking, so detaching them
    // has already freed them; deleting a freed name again would be a GL error.
    if (glIsShader(vertexShader)) glDeleteShader(vertexShader);
    if (glIsShader(fragmentShader)) glDeleteShader(fragmentShader);
}

void Shader::use() const {
    glUseProgram(program);
}

void Shader::setInt(const char* name, int value) const {
    glUniform1i(glGetUniformLocation(program, name), value);
}

void Shader::setFloat(const char* name, float value) const {
    glUniform1f(glGetUniformLocation(program, name), value);
}

void Shader::setVec3(const char* name, float x, float y, float z) const {
    glUniform3f(glGetUniformLocation(program, name), x, y, z);
}

void Shader::setVec4(const char* name, float x, float y, float z, float w) const {
    glUniform4f(glGetUniformLocation(program, name), x, y, z, w);
}

void Shader::setMat4(const char* name, const glm::mat4& matrix) const {
    glUniformMatrix4fv(glGetUniformLocation(program, name), 1, GL_FALSE, glm::value_ptr(matrix));
}

bool copyableUniformType(GLenum type) {
    switch (type) {
        case GL_FLOAT:
        case GL_FLOAT_VEC2:
        case GL_FLOAT_VEC3:
        case GL_FLOAT_VEC4:
        case GL_FLOAT_MAT3:
        case GL_FLOAT_MAT4:
        case GL_INT:
        case GL_BOOL:
        case GL_SAMPLER_2D:
        case GL_SAMPLER_CUBE:
            return true;
        default:
            return false;
    }
}

void copyUniformValue(GLuint from, GLint fromAt, GLint toAt, GLenum type) {
    if (type == GL_INT || type == GL_BOOL || type == GL_SAMPLER_2D || type == GL_SAMPLER_CUBE) {
        GLint i = 0;
        glGetUniformiv(from, fromAt, &i);
        glUniform1i(toAt, i);
        return;
    }
    GLfloat f[16] = {};
    glGetUniformfv(from, fromAt, f);
    if (type == GL_FLOAT) glUniform1fv(toAt, 1, f);
    if (type == GL_FLOAT_VEC2) glUniform2fv(toAt, 1, f);
    if (type == GL_FLOAT_VEC3) glUniform3fv(toAt, 1, f);
    if (type == GL_FLOAT_VEC4) glUniform4fv(toAt, 1, f);
    if (type == GL_FLOAT_MAT3) glUniformMatrix3fv(toAt, 1, GL_FALSE, f);
    if (type == GL_FLOAT_MAT4) glUniformMatrix4fv(toAt, 1, GL_FALSE, f);
}

void copyUniform(GLuint from, GLuint to, const char* name, int floats) {
    const GLint source = glGetUniformLocation(from, name);
    const GLint target = glGetUniformLocation(to, name);
    if (source < 0 || target < 0) return;
    glUseProgram(to);
    const GLenum type = floats == 1    ? GL_FLOAT
                        : floats == 2  ? GL_FLOAT_VEC2
                        : floats == 16 ? GL_FLOAT_MAT4
                                       : GL_FLOAT_VEC4;
    copyUniformValue(from, source, target, type);
}

bool readUniform(GLuint program, const char* name, float* values) {
    const GLint at = glGetUniformLocation(program, name);
    if (at < 0) return false;
    glGetUniformfv(program, at, values);
    return true;
}
