#include "render/Shader.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <glm/gtc/type_ptr.hpp>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/GlslDialect.h"
#include "platform/UniformDefaults.h"

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

    std::vector<UniformDefault> defaults;
    programForThisGL(vertexCode, fragmentCode, defaults);
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
    setUniformDefaults(*this, defaults);
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

bool Shader::linked() const {
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    return ok != 0;
}

namespace {
std::uint64_t writes = 0;
}  // namespace

void Shader::keep(const char* name, GLint at, GLenum type, const float* f, int count, int i) const {
    if (at < 0) return;
    auto found = slotOf.find(name);
    if (found == slotOf.end()) {
        found = slotOf.emplace(name, values.size()).first;
        values.emplace_back();
        values.back().name = name;
    }
    UniformValue& v = values[found->second];
    v.type = type;
    for (int k = 0; k < count; ++k) v.f[k] = f[k];
    v.i = i;
    v.written = ++writes;
}

void Shader::setInt(const char* name, int value) const {
    const GLint at = glGetUniformLocation(program, name);
    glUniform1i(at, value);
    keep(name, at, GL_INT, nullptr, 0, value);
}

void Shader::setFloat(const char* name, float value) const {
    const GLint at = glGetUniformLocation(program, name);
    glUniform1f(at, value);
    keep(name, at, GL_FLOAT, &value, 1, 0);
}

void Shader::setVec2(const char* name, float x, float y) const {
    const GLint at = glGetUniformLocation(program, name);
    glUniform2f(at, x, y);
    const float f[2] = {x, y};
    keep(name, at, GL_FLOAT_VEC2, f, 2, 0);
}

void Shader::setVec3(const char* name, float x, float y, float z) const {
    const GLint at = glGetUniformLocation(program, name);
    glUniform3f(at, x, y, z);
    const float f[3] = {x, y, z};
    keep(name, at, GL_FLOAT_VEC3, f, 3, 0);
}

void Shader::setVec4(const char* name, float x, float y, float z, float w) const {
    const GLint at = glGetUniformLocation(program, name);
    glUniform4f(at, x, y, z, w);
    const float f[4] = {x, y, z, w};
    keep(name, at, GL_FLOAT_VEC4, f, 4, 0);
}

void Shader::setMat4(const char* name, const glm::mat4& matrix) const {
    const GLint at = glGetUniformLocation(program, name);
    glUniformMatrix4fv(at, 1, GL_FALSE, glm::value_ptr(matrix));
    keep(name, at, GL_FLOAT_MAT4, glm::value_ptr(matrix), 16, 0);
}

const UniformValue* Shader::value(const char* name) const {
    const auto found = slotOf.find(name);
    return found == slotOf.end() ? nullptr : &values[found->second];
}

glm::mat4 Shader::matrix(const char* name, const glm::mat4& fallback) const {
    const UniformValue* v = value(name);
    return v && v->type == GL_FLOAT_MAT4 ? glm::make_mat4(v->f) : fallback;
}

glm::vec3 Shader::vec3(const char* name, const glm::vec3& fallback) const {
    const UniformValue* v = value(name);
    return v && (v->type == GL_FLOAT_VEC3 || v->type == GL_FLOAT_VEC4) ? glm::make_vec3(v->f)
                                                                       : fallback;
}

glm::vec4 Shader::vec4(const char* name, const glm::vec4& fallback) const {
    const UniformValue* v = value(name);
    return v && v->type == GL_FLOAT_VEC4 ? glm::make_vec4(v->f) : fallback;
}

void Shader::takeOver(const Shader& from) {
    glUseProgram(program);
    if (source != &from) {
        source = &from;
        sourceAt.clear();
        sourceTaken.clear();
    }
    sourceAt.resize(from.values.size(), -2);
    sourceTaken.resize(from.values.size(), 0);
    for (size_t slot = 0; slot < from.values.size(); ++slot) {
        const UniformValue& v = from.values[slot];
        if (sourceTaken[slot] == v.written) continue;
        sourceTaken[slot] = v.written;
        if (sourceAt[slot] == -2) sourceAt[slot] = glGetUniformLocation(program, v.name.c_str());
        const GLint at = sourceAt[slot];
        if (at < 0) continue;
        switch (v.type) {
            case GL_INT:
                glUniform1i(at, v.i);
                break;
            case GL_FLOAT:
                glUniform1fv(at, 1, v.f);
                break;
            case GL_FLOAT_VEC2:
                glUniform2fv(at, 1, v.f);
                break;
            case GL_FLOAT_VEC3:
                glUniform3fv(at, 1, v.f);
                break;
            case GL_FLOAT_VEC4:
                glUniform4fv(at, 1, v.f);
                break;
            default:
                glUniformMatrix4fv(at, 1, GL_FALSE, v.f);
                break;
        }
    }
}
