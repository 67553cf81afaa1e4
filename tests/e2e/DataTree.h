#pragma once
// A scratch copy of the program and its data tree, the data made of symbolic
// links to the build tree, with chosen files or folders left out or replaced,
// for runs with missing or damaged data.

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

    // The folder the program's copy lies in (its "../models" etc. are the tree's).
    std::string binDir() const { return (root_ / "bin").string(); }
    // A copy of the program in binDir(): the program reads its data from
    // beside its own folder, so it must lie inside the tree to use it.
    std::string program() const { return (root_ / "bin" / "morrowdock").string(); }

private:
    std::filesystem::path root_;
};
