// Replays fuzz inputs through the readers without libFuzzer:
//   fuzz_replay TARGET PATH...   (files, or folders of files)
// Exits 0 when every input went through; a broken property aborts.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzTarget.h"

namespace {

struct Named {
    const char* name;
    FuzzTarget target;
};

const Named kTargets[] = {{"command_line", fuzzCommandLine},
                          {"control_points", fuzzControlPoints},
                          {"image", fuzzImage},
                          {"model_import", fuzzModelImport}};

int replayFile(FuzzTarget target, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    return target(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: fuzz_replay TARGET PATH..." << std::endl;
        return 2;
    }
    FuzzTarget target = nullptr;
    for (const Named& named : kTargets)
        if (std::strcmp(named.name, argv[1]) == 0) target = named.target;
    if (!target) {
        std::cerr << "unknown target " << argv[1] << std::endl;
        return 2;
    }
    int count = 0;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (!std::filesystem::is_directory(path)) {
            replayFile(target, path);
            ++count;
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
            if (!entry.is_regular_file()) continue;
            replayFile(target, entry.path());
            ++count;
        }
    }
    std::cout << argv[1] << ": " << count << " inputs replayed" << std::endl;
    return count > 0 ? 0 : 1;
}
