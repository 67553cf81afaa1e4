#pragma once
// Reads a generated model the way the program does (Assimp, triangulate and
// flip texture coordinates only) into plain vectors the model tests inspect.

#include <glm/glm.hpp>
#include <string>
#include <vector>

namespace modeltest {

struct ImportedMesh {
    std::string name;  // the OBJ object ("o") it came from
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;  // empty when the file has none
    std::vector<glm::vec2> uvs;      // empty when the file has none
    std::vector<unsigned> indices;   // three per triangle
    size_t nonTriangles = 0;         // faces with other than three corners
    std::vector<std::string> diffuseMaps, specularMaps;
};

struct ImportedModel {
    bool ok = false;
    std::string error;
    std::string directory;  // the file's folder
    std::vector<ImportedMesh> meshes;

    size_t triangleCount() const;
    std::vector<glm::vec3> positions(const std::string& onlyMesh = "") const;
    const ImportedMesh* mesh(const std::string& name) const;
};

// path relative to the build tree's models/ folder, e.g. "boat2/boat.obj".
ImportedModel importModel(const std::string& path);

struct Bounds {
    glm::vec3 lo{1e30f}, hi{-1e30f};
};
Bounds boundsOf(const std::vector<glm::vec3>& points);

// Horizontal (x, z) distance.
float flatDistance(glm::vec3 a, glm::vec2 b);

// True when every edge of the mesh (corners welded by position) is shared by
// exactly two triangles that run along it in opposite directions.
bool isClosed(const ImportedMesh& mesh);
double signedVolume(const ImportedMesh& mesh);

}  // namespace modeltest
