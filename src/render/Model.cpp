#include "render/Model.h"

#include <GL/glew.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <iostream>

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
    std::unique_ptr<Assimp::Importer> importer = takePrefetchedModel(path);
    const aiScene* scene = importer ? importer->GetScene() : nullptr;
    if (!importer) {
        importer = std::make_unique<Assimp::Importer>();
        scene = importer->ReadFile(path, modelImportFlags());
    }
    if (!scene || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || !scene->mRootNode) {
        std::cout << "ERROR: Fehler beim Laden von ASSIMP Model : " << importer->GetErrorString()
                  << std::endl;
        return;
    }
    directory = modelDirectory(path);
    processNode(scene->mRootNode, scene);
}

void Model::processNode(const aiNode* node, const aiScene* scene) {
    for (unsigned int i = 0; i < node->mNumMeshes; ++i) {
        const unsigned int meshIndex = node->mMeshes[i];
        if (meshIndex < scene->mNumMeshes)
            meshes.push_back(processMesh(scene->mMeshes[meshIndex], scene));
    }
    for (unsigned int i = 0; i < node->mNumChildren; ++i) processNode(node->mChildren[i], scene);
}

Mesh Model::processMesh(const aiMesh* mesh, const aiScene* scene) {
    std::vector<Vertex> vertices;
    vertices.reserve(mesh->mNumVertices);
    const aiVector3D* uvs = mesh->mTextureCoords[0];
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        Vertex vertex;
        const aiVector3D& p = mesh->mVertices[i];
        vertex.position = glm::vec3(p.x, p.y, p.z);
        // A mesh without normals gets the same upward normal as vegetation.
        if (forceUpNormals || !mesh->mNormals) {
            vertex.normal = glm::vec3(0.0f, 1.0f, 0.0f);
        } else {
            const aiVector3D& n = mesh->mNormals[i];
            vertex.normal = glm::vec3(n.x, n.y, n.z);
        }
        vertex.texCoords = uvs ? glm::vec2(uvs[i].x, uvs[i].y) : glm::vec2(0.0f);
        vertices.push_back(vertex);
    }

    std::vector<unsigned int> indices;
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }

    std::vector<Texture> textures;
    if (mesh->mMaterialIndex < scene->mNumMaterials) {
        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        textures = loadMaterialTextures(material, aiTextureType_DIFFUSE, "texture_diffuse");
        std::vector<Texture> specular =
            loadMaterialTextures(material, aiTextureType_SPECULAR, "texture_specular");
        textures.insert(textures.end(), specular.begin(), specular.end());
    }
    return Mesh(std::move(vertices), std::move(indices), std::move(textures));
}

std::vector<Texture> Model::loadMaterialTextures(const aiMaterial* material, aiTextureType type,
                                                 const std::string& typeName) {
    std::vector<Texture> textures;
    const unsigned int count = aiGetMaterialTextureCount(material, type);
    for (unsigned int i = 0; i < count; ++i) {
        aiString name;
        aiGetMaterialTexture(material, type, i, &name, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr);
        Texture texture;
        texture.id = textureFromFile(name.C_Str(), directory);
        texture.type = typeName;
        texture.path = std::string(name.C_Str()).substr(0, kMaxTexturePathLength);
        textures.push_back(texture);
    }
    return textures;
}
