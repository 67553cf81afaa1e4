#pragma once
// An indexed triangle mesh for the model generator: one position, normal and
// texture coordinate per vertex, triangles counter-clockwise seen from the
// side their normal points to.

#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

namespace assetgen {

struct Mesh {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<glm::uvec3> triangles;

    uint32_t addVertex(glm::vec3 p, glm::vec2 uv, glm::vec3 n = glm::vec3(0.0f, 1.0f, 0.0f));
    void addTriangle(uint32_t a, uint32_t b, uint32_t c) { triangles.emplace_back(a, b, c); }
    // a, b, c, d counter-clockwise; split along a-c.
    void addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);

    size_t vertexCount() const { return positions.size(); }
    size_t triangleCount() const { return triangles.size(); }

    Mesh& append(const Mesh& other);
    // Moves the mesh by an affine matrix; normals follow, and a mirroring
    // matrix reverses the winding so faces keep facing outwards.
    Mesh& transform(const glm::mat4& m);
    Mesh& translate(glm::vec3 t);
    Mesh& flipWinding();  // also reverses the normals
    // Scales texture coordinates.
    Mesh& scaleUv(glm::vec2 s, glm::vec2 offset = glm::vec2(0.0f));
    // Planar mapping: uv = (p . uAxis, p . vAxis) + offset.
    Mesh& projectUv(glm::vec3 uAxis, glm::vec3 vAxis, glm::vec2 offset = glm::vec2(0.0f));

    // Recomputes normals from the faces. Faces meeting at a point (shared
    // vertex or merely the same position, e.g. across a texture seam) are
    // averaged, each weighted by its angle at the point, when their planes
    // differ by less than creaseDegrees; sharper edges split the vertex.
    // 0 gives flat shading.
    Mesh& smoothNormals(float creaseDegrees = 180.0f);
    Mesh& flatNormals() { return smoothNormals(0.0f); }
    Mesh& setNormals(glm::vec3 n);

    glm::vec3 boundsMin() const;
    glm::vec3 boundsMax() const;
    // Volume enclosed by a closed mesh; positive when faces wind outwards.
    double signedVolume() const;
};

}  // namespace assetgen
