#pragma once
// A list of meshes imported from one model file through Assimp, shared by all
// entities that place it. Two switches adapt it to vegetation: normals forced
// straight up, and drawing without face culling.

#include <string>
#include <vector>

#include "render/Mesh.h"

class Shader;

class Model {
public:
    std::vector<Mesh> meshes;   // in pre-order of the node tree
    std::string directory;      // the model path up to its last "/"
    bool forceUpNormals;        // every normal (0, 1, 0); the file's normals are never read
    bool cullFaces;             // false: drawn with face culling off
    glm::vec3 boundsMin{0.0f};  // box around every vertex, model space
    glm::vec3 boundsMax{0.0f};  // (both zero for a model without vertices)

    // Imports the file at once. Never fails: a file that cannot be imported is
    // reported on standard output and leaves a model with no meshes.
    Model(const char* path, bool forceUpNormals, bool cullFaces);
    virtual ~Model() = default;

    // Draws every mesh; the shader's program must be current. With cullFaces
    // false, back-face culling is switched on again afterwards.
    virtual void draw(Shader* shader, DrawOrder order = DrawOrder::Forward);

    // Every mesh's sorted order along `towards` (see Mesh::sortAlong).
    void sortAlong(glm::vec3 towards, DrawOrder order);

    void loadModel(const std::string& path);
};
