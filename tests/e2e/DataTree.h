#pragma once
// A scratch copy of the program's data tree made of symbolic links to the
// build tree, with chosen files or folders left out or replaced, for runs with
// missing or damaged data.

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>

// A file put in place of the build tree's: these bytes, then (if larger)
// extended with a hole to apparentSize, so a file can claim gigabytes cheaply.
struct PlantedFile {
    std::string bytes;
    std::uintmax_t apparentSize = 0;
};

class DataTree {
public:
    // omit: paths relative to the data root, e.g. "models/vase" or
    // "textures/terrain/sand.jpg".
    explicit DataTree(const std::set<std::string>& omit,
                      const std::map<std::string, PlantedFile>& planted = {});
    ~DataTree();
    DataTree(const DataTree&) = delete;
    DataTree& operator=(const DataTree&) = delete;

    // The folder to run the program in (its "../models" etc. are the tree's).
    std::string binDir() const { return (root_ / "bin").string(); }

private:
    std::filesystem::path root_;
};
