#include "render/ModelImport.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cstdint>
#include <filesystem>

namespace {

// No normal generation, vertex joining or pre-transformation: the files
// carry their own normals and the entities do all the placing.
constexpr unsigned int kImportFlags = aiProcess_Triangulate | aiProcess_FlipUVs;

void addTextures(const aiMaterial* material, aiTextureType type, const char* typeName,
                 std::vector<ImportedTexture>& out) {
    const unsigned int count = aiGetMaterialTextureCount(material, type);
    for (unsigned int i = 0; i < count; ++i) {
        aiString name;
        if (aiGetMaterialTexture(material, type, i, &name, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr) != aiReturn_SUCCESS)
            continue;
        out.push_back({typeName, name.C_Str()});
    }
}

ImportedMesh convertMesh(const aiMesh* mesh, const aiScene* scene, bool forceUpNormals) {
    ImportedMesh out;
    out.vertices.reserve(mesh->mNumVertices);
    const aiVector3D* uvs = mesh->mTextureCoords[0];
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        Vertex vertex;
        const aiVector3D& p = mesh->mVertices[i];
        vertex.position = glm::vec3(p.x, p.y, p.z);
        if (forceUpNormals || !mesh->mNormals) {
            vertex.normal = glm::vec3(0.0f, 1.0f, 0.0f);
        } else {
            const aiVector3D& n = mesh->mNormals[i];
            vertex.normal = glm::vec3(n.x, n.y, n.z);
        }
        vertex.texCoords = uvs ? glm::vec2(uvs[i].x, uvs[i].y) : glm::vec2(0.0f);
        out.vertices.push_back(vertex);
    }

    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != 3 || !face.mIndices) continue;
        const unsigned int* index = face.mIndices;
        if (index[0] >= mesh->mNumVertices || index[1] >= mesh->mNumVertices ||
            index[2] >= mesh->mNumVertices)
            continue;
        out.indices.insert(out.indices.end(), index, index + 3);
    }

    if (mesh->mMaterialIndex < scene->mNumMaterials && scene->mMaterials) {
        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        addTextures(material, aiTextureType_DIFFUSE, "texture_diffuse", out.textures);
        addTextures(material, aiTextureType_SPECULAR, "texture_specular", out.textures);
    }
    return out;
}

void convertNode(const aiNode* node, const aiScene* scene, bool forceUpNormals,
                 std::vector<ImportedMesh>& meshes) {
    for (unsigned int i = 0; i < node->mNumMeshes; ++i) {
        const unsigned int meshIndex = node->mMeshes[i];
        if (meshIndex < scene->mNumMeshes)
            meshes.push_back(convertMesh(scene->mMeshes[meshIndex], scene, forceUpNormals));
    }
    for (unsigned int i = 0; i < node->mNumChildren; ++i)
        convertNode(node->mChildren[i], scene, forceUpNormals, meshes);
}

ImportedModel convertScene(const aiScene* scene, const Assimp::Importer& importer,
                           bool forceUpNormals) {
    ImportedModel model;
    if (!scene || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || !scene->mRootNode) {
        model.error = importer.GetErrorString();
        return model;
    }
    model.ok = true;
    convertNode(scene->mRootNode, scene, forceUpNormals, model.meshes);
    return model;
}

}  // namespace

ImportedModel importModel(const std::string& path, bool forceUpNormals) {
    // The scene's models are a few megabytes; Assimp would scan a file of
    // gigabytes for minutes before finding nothing to draw in it.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxModelFileBytes) {
        ImportedModel model;
        model.error = "File is larger than " + std::to_string(kMaxModelFileBytes >> 20) + " MiB.";
        return model;
    }
    Assimp::Importer importer;
    return convertScene(importer.ReadFile(path, kImportFlags), importer, forceUpNormals);
}
