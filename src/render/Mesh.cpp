#include "render/Mesh.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <utility>

#include "core/Globals.h"
#include "render/Shader.h"

// The unit of the alpha copy: above the material's maps and clear of the
// shadow map's unit 5 and the environment's.
constexpr int kAlphaTextureUnit = 7;

static_assert(sizeof(Vertex) == 32, "the vertex buffer layout needs 32-byte vertices");
static_assert(offsetof(Vertex, normal) == 12 && offsetof(Vertex, texCoords) == 24,
              "the attribute offsets are fixed");

namespace {
constexpr float kShininess = 16.0f;
}

std::string samplerUniformName(const std::string& type, unsigned int& diffuseNumber) {
    if (type == "texture_diffuse") return type + std::to_string(diffuseNumber++);
    return type;
}

Mesh::Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices,
           std::vector<Texture> textures)
    : vertices(std::move(vertices)), indices(std::move(indices)), textures(std::move(textures)) {
    setupMesh();
}

void Mesh::setupMesh() {
    glGenVertexArrays(1, &VAO);
    glGenBuffers(1, &VBO);
    glGenBuffers(1, &EBO);

    glBindVertexArray(VAO);
    glBindBuffer(GL_ARRAY_BUFFER, VBO);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(Vertex)),
                 vertices.empty() ? nullptr : vertices.data(), GL_STATIC_DRAW);

    // The triangles in order, then the same triangles last to first, then
    // room for the sorted orders (first as stored): the light's and two views'.
    std::vector<unsigned int> both(indices);
    const size_t triangles = indices.size() / 3;
    for (size_t t = triangles; t-- > 0;)
        both.insert(both.end(), indices.begin() + long(3 * t), indices.begin() + long(3 * t + 3));
    for (int order = 0; order < kSortSlots; ++order)
        both.insert(both.end(), indices.begin(), indices.begin() + long(3 * triangles));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, EBO);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(both.size() * sizeof(unsigned int)),
                 both.empty() ? nullptr : both.data(), GL_STATIC_DRAW);

    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, texCoords)));

    // The element buffer binding stays recorded in the vertex array.
    glBindVertexArray(0);
}

void Mesh::draw(Shader* shader, DrawOrder order) const {
    unsigned int diffuseNumber = 1;
    for (size_t i = 0; i < textures.size(); ++i) {
        glActiveTexture(GL_TEXTURE0 + GLenum(i));
        const std::string name = samplerUniformName(textures[i].type, diffuseNumber);
        shader->setInt(name.c_str(), int(i));
        glBindTexture(GL_TEXTURE_2D, textures[i].id);
    }
    shader->setFloat("shininess", kShininess);
    // The copy is a shortcut: the loaders make none without it, and the
    // diffuse map is read.
    const unsigned int alpha = alphaMap;
    int alphaFrom = int(textures.size());  // an empty unit reads alpha 1
    if (alpha) {
        alphaFrom = kAlphaTextureUnit;
        glActiveTexture(GL_TEXTURE0 + GLenum(kAlphaTextureUnit));
        glBindTexture(GL_TEXTURE_2D, alpha);
    } else {
        for (size_t i = textures.size(); i-- > 0;)
            if (textures[i].type == "texture_diffuse") alphaFrom = int(i);
    }
    shader->setInt("texture_alpha", alphaFrom);
    shader->setInt("alphaInRed", alpha ? 1 : 0);

    glBindVertexArray(VAO);
    const size_t whole = indices.size() / 3 * 3;
    size_t first = 0;
    if (order != DrawOrder::Forward) first = indices.size();
    if (order == DrawOrder::LightSorted) first += whole;
    if (order == DrawOrder::ViewSorted) first += size_t(2 + viewSlot) * whole;
    glDrawElements(GL_TRIANGLES, GLsizei(whole), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(first * sizeof(unsigned int)));
    glBindVertexArray(0);

    for (size_t i = 0; i < textures.size(); ++i) {
        glActiveTexture(GL_TEXTURE0 + GLenum(i));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    if (alpha) {
        glActiveTexture(GL_TEXTURE0 + GLenum(kAlphaTextureUnit));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void Mesh::sortAlong(glm::vec3 towards, DrawOrder order) {
    if (order != DrawOrder::LightSorted && order != DrawOrder::ViewSorted) return;
    const float length = glm::length(towards);
    if (!(length > 0.0f)) return;
    towards /= length;
    // Views keep two orders, so that a frame's main view and its mirror
    // image in the water each find theirs again next frame: a view within a
    // few degrees of one uses it, else the one used longer ago is sorted
    // anew. About 3 degrees: the sun moves that far in a few seconds of the
    // day.
    const auto close = [&](int slot) { return glm::dot(towards, sortedAlong[slot]) > 0.9986f; };
    if (order == DrawOrder::LightSorted) {
        if (close(0)) return;
        sortedAlong[0] = towards;
    } else {
        ++viewUses;
        for (int view = 0; view < 2; ++view)
            if (close(1 + view)) {
                viewSlot = view;
                lastViewUse[view] = viewUses;
                return;
            }
        viewSlot = lastViewUse[0] <= lastViewUse[1] ? 0 : 1;
        lastViewUse[viewSlot] = viewUses;
        sortedAlong[1 + viewSlot] = towards;
    }
    const int slot = order == DrawOrder::LightSorted ? 0 : 1 + viewSlot;
    const size_t triangles = indices.size() / 3;
    std::vector<float> depth(triangles);
    for (size_t t = 0; t < triangles; ++t)
        depth[t] =
            glm::dot(vertices[indices[3 * t]].position + vertices[indices[3 * t + 1]].position +
                         vertices[indices[3 * t + 2]].position,
                     towards);
    std::vector<unsigned int> byDepth(triangles);
    std::iota(byDepth.begin(), byDepth.end(), 0u);
    std::sort(byDepth.begin(), byDepth.end(),
              [&](unsigned int a, unsigned int b) { return depth[a] < depth[b]; });
    std::vector<unsigned int> sorted;
    sorted.reserve(3 * triangles);
    for (unsigned int t : byDepth)
        sorted.insert(sorted.end(), indices.begin() + long(3 * t),
                      indices.begin() + long(3 * t + 3));
    if (sorted.empty()) return;  // WebGL refuses an update of no bytes
    // Through the copy binding: no vertex array's element buffer changes.
    glBindBuffer(GL_COPY_WRITE_BUFFER, EBO);
    glBufferSubData(
        GL_COPY_WRITE_BUFFER,
        GLintptr((indices.size() + size_t(slot + 1) * sorted.size()) * sizeof(unsigned int)),
        GLsizeiptr(sorted.size() * sizeof(unsigned int)), sorted.data());
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
}
