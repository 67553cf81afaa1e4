#pragma once
// One indexed triangle list with its material textures, uploaded once into a
// vertex array and drawn with whatever program is current.

#include <GL/glew.h>

#include <glm/glm.hpp>
#include <string>
#include <vector>

class Shader;

// The order a mesh's triangles are drawn in; each keeps its own winding.
enum class DrawOrder {
    Forward,    // as stored
    Backwards,  // last to first
    // Nearest first along the direction of the last sortAlong for the
    // order: two orders kept apart, one for the sun's pass, one for views.
    LightSorted,
    ViewSorted,
};

// 32 bytes, tightly packed: attribute 0 at offset 0, 1 at 12, 2 at 24.
struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;  // used as given, not renormalised
    glm::vec2 texCoords;
};

// A GL texture name with the file it came from. For material textures `type`
// is the sampler's base name, "texture_diffuse" or "texture_specular".
struct Texture {
    unsigned int id = 0;
    std::string type;
    std::string path;  // at most kMaxTexturePathLength characters, for reference only
};

constexpr size_t kMaxTexturePathLength = 1023;

class Mesh {
public:
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    std::vector<Texture> textures;  // all diffuse maps first, then all specular maps
    // The first diffuse map's alpha alone (one 16-bit float channel, the same
    // values level for level), or 0: a cut-out test reads it at a fraction
    // of the cost of the four-channel map.
    unsigned int alphaMap = 0;
    unsigned int VAO = 0;
    unsigned int VBO = 0;
    unsigned int EBO = 0;

    // Copies the data and uploads it at once; needs a current GL context.
    // The GL objects are never deleted, and copies share them.
    Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices,
         std::vector<Texture> textures);

    // Binds the textures to "texture_diffuse1", "texture_diffuse2", ... and
    // "texture_specular" on units 0, 1, ..., sets "shininess" and draws every
    // index. The shader's program must already be current; it stays current.
    // "texture_alpha" gets the alpha map on unit 7, with "alphaInRed" 1;
    // without one (or with the shortcuts off), the first diffuse map's unit
    // (or an empty unit, which reads alpha 1) with "alphaInRed" 0. The units
    // used are left with no texture bound.
    void draw(Shader* shader, DrawOrder order = DrawOrder::Forward) const;

    // Sorts the triangles by their centre along `towards` (model space),
    // smallest first, for passes whose result does not depend on the order:
    // a depth pass drawn nearest first leaves the texels behind untouched.
    // A direction within a few degrees of the last one keeps its order; views
    // keep two orders (the one used longer ago gives way to a new direction),
    // and a ViewSorted draw uses the one the last sort chose. `order` is
    // LightSorted or ViewSorted.
    void sortAlong(glm::vec3 towards, DrawOrder order);

    void setupMesh();

private:
    static constexpr int kSortSlots = 3;  // the light's order, two views'
    glm::vec3 sortedAlong[kSortSlots] = {glm::vec3(0.0f), glm::vec3(0.0f), glm::vec3(0.0f)};
    int viewSlot = 0;  // the view order of the last sortAlong: 0 or 1
    unsigned long long viewUses = 0;         // view sorts asked for so far
    unsigned long long lastViewUse[2] = {0, 0};  // when each view order last served
};

// The sampler uniform for the texture of the given type; `diffuseNumber`
// counts the diffuse maps seen so far (from 1) and advances for each one.
std::string samplerUniformName(const std::string& type, unsigned int& diffuseNumber);
