#include "render/Model.h"

#include <GL/glew.h>

#include <iostream>

#include "render/ModelImport.h"
#include "render/ModelPrefetch.h"
#include "render/TextureLoader.h"

std::string modelDirectory(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

Model::Model(const char* path, bool forceUpNormals, bool cullFaces)
    : forceUpNormals(forceUpNormals), cullFaces(cullFaces) {
    loadModel(path ? path : "");
    bool first = true;
    for (const Mesh& mesh : meshes)
        for (const Vertex& v : mesh.vertices) {
            boundsMin = first ? v.position : glm::min(boundsMin, v.position);
            boundsMax = first ? v.position : glm::max(boundsMax, v.position);
            first = false;
        }
}

void Model::draw(Shader* shader) {
    if (!cullFaces) glDisable(GL_CULL_FACE);
    for (const Mesh& mesh : meshes) mesh.draw(shader);
    if (!cullFaces) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
}

void Model::loadModel(const std::string& path) {
    ImportedModel imported = takePrefetchedModel(path, forceUpNormals);
    if (!imported.ok) {
        std::cout << "ERROR: Fehler beim Laden von ASSIMP Model : " << imported.error << std::endl;
        return;
    }
    directory = modelDirectory(path);
    meshes.reserve(imported.meshes.size());
    for (ImportedMesh& mesh : imported.meshes) {
        std::vector<Texture> textures;
        for (const ImportedTexture& file : mesh.textures) {
            Texture texture;
            texture.id = textureFromFile(file.file.c_str(), directory);
            texture.type = file.type;
            texture.path = file.file.substr(0, kMaxTexturePathLength);
            textures.push_back(texture);
        }
        meshes.emplace_back(std::move(mesh.vertices), std::move(mesh.indices), std::move(textures));
    }
}
