#pragma once
// Small image and model files written by the render tests, and GL read-backs
// they share.

#include <GL/glew.h>
#include <stb/stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gl/GlTestSupport.h"

// An empty folder of its own in this process's temporary folder.
inline std::filesystem::path freshTempFolder(const std::string& name) {
    const auto dir = tempFolder() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Distinct, reproducible bytes for every pixel and channel.
inline std::vector<unsigned char> patternPixels(int width, int height, int channels) {
    std::vector<unsigned char> pixels(size_t(width) * height * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (unsigned char)((i * 37 + 11) % 251);
    return pixels;
}

inline bool writePng(const std::filesystem::path& file, int width, int height, int channels,
                     const std::vector<unsigned char>& pixels) {
    std::filesystem::create_directories(file.parent_path());
    return stbi_write_png(file.c_str(), width, height, channels, pixels.data(), width * channels) !=
           0;
}

// Makes dir (created if need be) the working directory while it lives, so a
// test run from <root>/bin finds "../textures/..." inside root.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir)
        : previous(std::filesystem::current_path()) {
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous;
};

inline void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

inline GLint boundTexture2D(int unit) {
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glActiveTexture(GL_TEXTURE0 + unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glActiveTexture(GLenum(active));
    return bound;
}

inline GLint texLevel(GLuint texture, GLenum target, GLint level, GLenum what) {
    const GLenum binding =
        target == GL_TEXTURE_2D ? GL_TEXTURE_BINDING_2D : GL_TEXTURE_BINDING_CUBE_MAP;
    GLint previous = 0, value = -1;
    glGetIntegerv(binding, &previous);
    glBindTexture(target == GL_TEXTURE_2D ? GL_TEXTURE_2D : GL_TEXTURE_CUBE_MAP, texture);
    glGetTexLevelParameteriv(target, level, what, &value);
    glBindTexture(target == GL_TEXTURE_2D ? GL_TEXTURE_2D : GL_TEXTURE_CUBE_MAP, GLuint(previous));
    return value;
}

// Level 0 of a 2D texture (or a cube face) as RGBA bytes.
inline std::vector<unsigned char> readTexture(GLuint texture, GLenum target = GL_TEXTURE_2D) {
    const GLint width = texLevel(texture, target, 0, GL_TEXTURE_WIDTH);
    const GLint height = texLevel(texture, target, 0, GL_TEXTURE_HEIGHT);
    std::vector<unsigned char> pixels(size_t(width) * height * 4);
    const GLenum bindTarget = target == GL_TEXTURE_2D ? GL_TEXTURE_2D : GL_TEXTURE_CUBE_MAP;
    glBindTexture(bindTarget, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(bindTarget, 0);
    return pixels;
}

// A small RGBA8 colour target with a depth buffer, bound while it lives.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height) : width(width), height(height) {
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glGenTextures(1, &colour);
        glBindTexture(GL_TEXTURE_2D, colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    ~OffscreenTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteTextures(1, &colour);
        glDeleteRenderbuffers(1, &depth);
    }
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    bool complete() const {
        return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    // RGBA bytes of pixel (x, y), counted from the bottom left.
    std::vector<unsigned char> pixel(int x, int y) const {
        std::vector<unsigned char> rgba(4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    const int width;
    const int height;

private:
    GLuint fbo = 0, colour = 0, depth = 0;
};

// A 1x1 RGBA8 texture of one colour.
inline GLuint solidTexture(unsigned char r, unsigned char g, unsigned char b,
                           unsigned char a = 255) {
    const unsigned char rgba[4] = {r, g, b, a};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

inline GLint uniformInt(GLuint program, const char* name) {
    GLint value = -12345;
    glGetUniformiv(program, glGetUniformLocation(program, name), &value);
    return value;
}

inline GLfloat uniformFloat(GLuint program, const char* name) {
    GLfloat value = -12345.0f;
    glGetUniformfv(program, glGetUniformLocation(program, name), &value);
    return value;
}
