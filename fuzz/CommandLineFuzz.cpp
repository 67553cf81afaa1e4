// The command line: the input split at zero bytes into up to eight arguments.
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "app/CommandLine.h"

int fuzzCommandLine(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments{"morrowdock"};
    std::string current;
    for (size_t i = 0; i < size && arguments.size() < 8; ++i) {
        if (data[i] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current.push_back(char(data[i]));
        }
    }
    if (arguments.size() < 8) arguments.push_back(current);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);

    const LaunchSettings settings = parseCommandLine(int(arguments.size()), argv.data());
    // Fewer than five arguments leave every default in place.
    if (arguments.size() < 6) {
        const LaunchSettings defaults;
        FUZZ_CHECK(settings.screenWidth == defaults.screenWidth);
        FUZZ_CHECK(settings.screenHeight == defaults.screenHeight);
        FUZZ_CHECK(settings.windowTitle == defaults.windowTitle);
    }
    return 0;
}

MD_FUZZ_EXPORT(fuzzCommandLine)
