#include "app/CommandLine.h"

#include <sstream>

namespace {

template <typename T>
void readArgument(const char* text, T& setting, const T& fallback) {
    std::istringstream stream(text);
    T value{};
    stream >> value;
    setting = stream.fail() || stream.bad() ? fallback : value;
}

}  // namespace

LaunchSettings parseCommandLine(int argc, const char* const* argv) {
    LaunchSettings settings;
    if (argc < 6) return settings;
    const LaunchSettings defaults;
    readArgument(argv[1], settings.screenWidth, defaults.screenWidth);
    readArgument(argv[2], settings.screenHeight, defaults.screenHeight);
    readArgument(argv[3], settings.windowTitle, defaults.windowTitle);
    readArgument(argv[4], settings.refreshRate, defaults.refreshRate);
    readArgument(argv[5], settings.fullscreen, defaults.fullscreen);
    return settings;
}
