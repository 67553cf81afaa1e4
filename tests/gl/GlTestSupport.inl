#include <gtest/gtest.h>

#include <fstream>
#include <iostream>

inline std::filesystem::path tempFolder() {
    // A folder per test process: ctest runs the tests of one binary side by
    // side, and two that write the same name must not read each other's
    // half-written file. A death test's child writes into its parent's.
    return std::filesystem::temp_directory_path() /
           ("morrowdock_gl_tests_" + std::to_string(tempFolderOwner));
}

inline std::filesystem::path writeTempFile(const std::string& name, const std::string& text) {
    const auto dir = tempFolder();
    std::filesystem::create_directories(dir);
    const auto file = dir / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

template <typename F>
std::string captureStdout(F f) {
    std::cout.flush();
    testing::internal::CaptureStdout();
    f();
    std::cout.flush();
    return testing::internal::GetCapturedStdout();
}

inline GLenum takeGlError() {
    GLenum first = GL_NO_ERROR;
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
        if (first == GL_NO_ERROR) first = e;
    return first;
}
