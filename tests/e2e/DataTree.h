#pragma once
// A scratch copy of the program's data tree made of symbolic links to the
// build tree, with chosen files or folders left out, for runs with missing data.

#include <filesystem>
#include <set>
#include <string>

class DataTree {
public:
    // omit: paths relative to the data root, e.g. "models/vase" or
    // "textures/terrain/sand.jpg".
    explicit DataTree(const std::set<std::string>& omit);
    ~DataTree();
    DataTree(const DataTree&) = delete;
    DataTree& operator=(const DataTree&) = delete;

    // The folder to run the program in (its "../models" etc. are the tree's).
    std::string binDir() const { return (root_ / "bin").string(); }

private:
    std::filesystem::path root_;
};
