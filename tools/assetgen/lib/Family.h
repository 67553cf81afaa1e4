#pragma once
// Asset families register themselves here; the generator runs every family,
// in the order of their keys, each writing its files under the output root.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

using FamilyFn = std::function<void(const std::filesystem::path& root)>;

struct Family {
    std::string name;
    FamilyFn make;
};

std::vector<Family>& families();

struct FamilyRegistrar {
    FamilyRegistrar(const char* name, FamilyFn make) { families().push_back({name, std::move(make)}); }
};

// Registers a family from its own source file:
//   ASSETGEN_FAMILY(terrain) { ... writes root / "textures/terrain/..." ... }
#define ASSETGEN_FAMILY(name)                                                          \
    static void assetgenFamily_##name(const std::filesystem::path& root);             \
    static ::assetgen::FamilyRegistrar assetgenRegistrar_##name(#name,                \
                                                                assetgenFamily_##name); \
    static void assetgenFamily_##name(const std::filesystem::path& root)

// Creates the parent folders of a file path and returns the path.
std::filesystem::path prepareFile(const std::filesystem::path& file);

}  // namespace assetgen
