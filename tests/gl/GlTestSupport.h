#pragma once
// Helpers shared by the gl tests.

#include <GL/glew.h>

#include <filesystem>
#include <string>

struct GLFWwindow;
GLFWwindow* glTestWindow();

// Writes text to a file in a fresh temporary folder and returns its path.
std::filesystem::path writeTempFile(const std::string& name, const std::string& text);
// This process's folder for those files (the binary removes it when it ends).
std::filesystem::path tempFolder();

// Captures everything written to standard output while f runs.
template <typename F>
std::string captureStdout(F f);

// Drains the GL error queue; returns the first error seen (GL_NO_ERROR if none).
GLenum takeGlError();

#include "gl/GlTestSupport.inl"
