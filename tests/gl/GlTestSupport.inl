#include <gtest/gtest.h>

#include <fstream>
#include <iostream>

inline std::filesystem::path writeTempFile(const std::string& name, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path() / "morrowdock_gl_tests";
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
