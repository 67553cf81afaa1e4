// The whole scene data, generated a second time into another folder, is the
// same byte for byte, and nothing is missing or extra.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> readTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const char* top : {"models", "textures", "sounds"}) {
        if (!fs::exists(root / top)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            files[fs::relative(entry.path(), root).string()] =
                std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return files;
}

}  // namespace

TEST(GeneratorDeterminism, ASecondRunGivesIdenticalFiles) {
    const fs::path again = fs::temp_directory_path() / ("md_assets_" + std::to_string(getpid()));
    fs::remove_all(again);
    const std::string command =
        std::string(MD_ASSETGEN) + " " + again.string() + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const auto first = readTree(MD_BUILD_DIR);
    const auto second = readTree(again);
    fs::remove_all(again);
    ASSERT_GT(first.size(), 80u);  // 14 models with their textures, the sky, terrain, sounds
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        const auto it = second.find(name);
        ASSERT_NE(it, second.end()) << name;
        EXPECT_TRUE(it->second == bytes) << name << " differs";
    }
}
