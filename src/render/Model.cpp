#include "render/Model.h"

#include <GL/glew.h>

#include <algorithm>
#include <iostream>
#include <map>

#include "render/ModelImport.h"
#include "render/ReadAhead.h"
#include "render/TextureLoader.h"

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

void Model::sortAlong(glm::vec3 towards, DrawOrder order) {
    for (Mesh& mesh : meshes) mesh.sortAlong(towards, order);
}

void Model::draw(Shader* shader, DrawOrder order) {
    if (!cullFaces) glDisable(GL_CULL_FACE);
    if (order == DrawOrder::Backwards)
        for (auto mesh = meshes.rbegin(); mesh != meshes.rend(); ++mesh) mesh->draw(shader, order);
    else
        for (const Mesh& mesh : meshes) mesh.draw(shader, order);
    if (!cullFaces) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
}

void Model::loadModel(const std::string& path) {
    ImportedModel imported = takeReadAheadModel(path, forceUpNormals);
    if (!imported.ok) {
        std::cout << "ERROR: Fehler beim Laden von ASSIMP Model : " << imported.error << std::endl;
        return;
    }
    directory = modelDirectory(path);
    meshes.reserve(imported.meshes.size());
    // Meshes of one model often share a material's files: each is loaded once.
    std::map<std::string, unsigned int> loaded;
    for (ImportedMesh& mesh : imported.meshes) {
        std::vector<Texture> textures;
        for (const ImportedTexture& file : mesh.textures) {
            Texture texture;
            auto found = loaded.find(file.file);
            if (found == loaded.end())
                found =
                    loaded.emplace(file.file, textureFromFile(file.file.c_str(), directory)).first;
            texture.id = found->second;
            texture.type = file.type;
            texture.path = file.file.substr(0, kMaxTexturePathLength);
            textures.push_back(texture);
        }
        const auto diffuse = std::find_if(textures.begin(), textures.end(), [](const Texture& t) {
            return t.type == "texture_diffuse";
        });
        const unsigned int alphaMap = diffuse == textures.end() ? 0 : alphaTextureOf(diffuse->id);
        meshes.emplace_back(std::move(mesh.vertices), std::move(mesh.indices), std::move(textures));
        meshes.back().alphaMap = alphaMap;
    }
}
