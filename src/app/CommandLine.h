#pragma once
// The five optional command-line arguments and their defaults.

#include <string>

struct LaunchSettings {
    int screenWidth = 1080;
    int screenHeight = 720;
    std::string windowTitle = "Morrowdock";
    int refreshRate = 60;
    bool fullscreen = true;
};

// Reads width, height, title, refresh rate and full-screen flag, but only when
// all five are given. An argument that does not read back as its type keeps
// the default; trailing characters after a good value are ignored.
LaunchSettings parseCommandLine(int argc, const char* const* argv);
