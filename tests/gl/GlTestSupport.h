#pragma once
// Helpers shared by the gl tests.

#include <GL/glew.h>

#include <filesystem>
#include <string>

struct GLFWwindow;
GLFWwindow* glTestWindow();

// Writes text to a file in this process's temporary folder and returns its path.
std::filesystem::path writeTempFile(const std::string& name, const std::string& text);
// The folder of those files: the test process's own (a death test's child
// uses its parent's), removed when the binary ends.
std::filesystem::path tempFolder();
// The process the folder is named after; set by the binary's main.
extern long tempFolderOwner;

// Captures everything written to standard output while f runs.
template <typename F>
std::string captureStdout(F f);

// Drains the GL error queue; returns the first error seen (GL_NO_ERROR if none).
GLenum takeGlError();

#include "gl/GlTestSupport.inl"
