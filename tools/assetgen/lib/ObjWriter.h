#pragma once
// A model as the program imports it: named parts, each one mesh with one
// material, written as a Wavefront OBJ file with its MTL beside it. Every
// face carries position, texture coordinate and normal indices; texture
// coordinates are stored with v pointing up, as OBJ files usually are.

#include <filesystem>
#include <string>
#include <vector>

#include "lib/Mesh.h"

namespace assetgen {

struct Material {
    std::string name;
    std::string diffuseMap;   // bare file name in the model's folder
    std::string specularMap;  // bare file name in the model's folder
    glm::vec3 diffuse{1.0f};
    float specular = 0.5f;
};

struct ModelPart {
    std::string name;
    std::string material;
    Mesh mesh;
};

struct ObjModel {
    std::vector<Material> materials;
    std::vector<ModelPart> parts;

    void addMaterial(const Material& material) { materials.push_back(material); }
    // Adds the mesh to the part of that name, creating the part on first use.
    void add(const std::string& part, const std::string& material, const Mesh& mesh);
    size_t triangleCount() const;
};

// Writes file (".obj") and the MTL of the same stem next to it. Throws when a
// part names a material the model does not have, holds a coordinate that is
// not finite, or a file cannot be written.
void writeObj(const ObjModel& model, const std::filesystem::path& file);

}  // namespace assetgen
