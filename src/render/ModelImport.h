#pragma once
// A model file read through Assimp into plain vertex and index lists, with
// the material texture names it refers to, apart from any GL so that the
// reading can be tried on hostile files without a context.

#include <cstdint>
#include <string>
#include <vector>

#include "render/Mesh.h"

struct ImportedTexture {
    std::string type;  // "texture_diffuse" or "texture_specular"
    std::string file;  // as stored in the material, relative to the model's folder
};

struct ImportedMesh {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;      // whole triangles, each index below vertices.size()
    std::vector<ImportedTexture> textures;  // diffuse first, then specular
};

struct ImportedModel {
    bool ok = false;
    std::string error;                 // Assimp's reason when !ok
    std::vector<ImportedMesh> meshes;  // in pre-order of the node tree
};

// Largest model file read at all.
constexpr std::uintmax_t kMaxModelFileBytes = std::uintmax_t(256) << 20;

// Imports with triangulation and flipped V coordinates. forceUpNormals sets
// every normal to (0, 1, 0); a mesh without normals gets that too. Points,
// lines and faces that name a vertex the mesh does not have are dropped:
// drawn as triangles, they would shift every triangle after them.
ImportedModel importModel(const std::string& path, bool forceUpNormals);
