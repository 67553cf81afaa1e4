#include "e2e/DataTree.h"

#include <unistd.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

// Mirrors `from` into `to`: whole folders become one link unless something
// inside them is omitted or replaced, in which case they are rebuilt entry by
// entry; omitted entries are left out (as are replaced ones, written later).
void mirror(const fs::path& from, const fs::path& to, const std::string& rel,
            const std::set<std::string>& omit) {
    if (omit.count(rel)) return;
    bool containsOmitted = false;
    for (const auto& o : omit)
        if (o.rfind(rel + "/", 0) == 0) containsOmitted = true;
    if (!containsOmitted || !fs::is_directory(from)) {
        fs::create_symlink(from, to);
        return;
    }
    fs::create_directory(to);
    for (const auto& entry : fs::directory_iterator(from)) {
        const std::string name = entry.path().filename().string();
        mirror(entry.path(), to / name, rel + "/" + name, omit);
    }
}

}  // namespace

DataTree::DataTree(const std::set<std::string>& omit,
                   const std::map<std::string, PlantedFile>& planted) {
    root_ = fs::temp_directory_path() /
            ("md_data_" + std::to_string(getpid()) + "_" + std::to_string(rand()));
    fs::create_directories(root_ / "bin");
    fs::copy_file(fs::path(MD_BIN_DIR) / "morrowdock", program());
    std::set<std::string> left = omit;
    for (const auto& entry : planted) left.insert(entry.first);
    const fs::path build = MD_BUILD_DIR;
    for (const char* top : {"shader", "models", "textures", "sounds"})
        if (fs::exists(build / top)) mirror(build / top, root_ / top, top, left);
    for (const auto& [rel, file] : planted) {
        const fs::path path = root_ / rel;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << file.bytes;
        if (file.apparentSize > file.bytes.size()) fs::resize_file(path, file.apparentSize);
    }
}

DataTree::~DataTree() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}
