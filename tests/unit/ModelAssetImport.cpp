#include "unit/ModelAssetImport.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cmath>
#include <map>
#include <tuple>

namespace modeltest {

size_t ImportedModel::triangleCount() const {
    size_t n = 0;
    for (const ImportedMesh& m : meshes) n += m.indices.size() / 3;
    return n;
}

std::vector<glm::vec3> ImportedModel::positions(const std::string& onlyMesh) const {
    std::vector<glm::vec3> out;
    for (const ImportedMesh& m : meshes)
        if (onlyMesh.empty() || m.name == onlyMesh)
            out.insert(out.end(), m.positions.begin(), m.positions.end());
    return out;
}

const ImportedMesh* ImportedModel::mesh(const std::string& name) const {
    for (const ImportedMesh& m : meshes)
        if (m.name == name) return &m;
    return nullptr;
}

namespace {

std::vector<std::string> textureNames(const aiMaterial* material, aiTextureType type) {
    std::vector<std::string> names;
    for (unsigned i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString name;
        aiGetMaterialTexture(material, type, i, &name, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr);
        names.emplace_back(name.C_Str());
    }
    return names;
}

void collect(const aiNode* node, const aiScene* scene, ImportedModel& model) {
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        const aiMesh* src = scene->mMeshes[node->mMeshes[i]];
        ImportedMesh m;
        m.name = node->mName.C_Str();
        for (unsigned v = 0; v < src->mNumVertices; ++v) {
            m.positions.emplace_back(src->mVertices[v].x, src->mVertices[v].y, src->mVertices[v].z);
            if (src->mNormals)
                m.normals.emplace_back(src->mNormals[v].x, src->mNormals[v].y, src->mNormals[v].z);
            if (src->HasTextureCoords(0))
                m.uvs.emplace_back(src->mTextureCoords[0][v].x, src->mTextureCoords[0][v].y);
        }
        for (unsigned f = 0; f < src->mNumFaces; ++f) {
            const aiFace& face = src->mFaces[f];
            if (face.mNumIndices != 3) {
                ++m.nonTriangles;
                continue;
            }
            m.indices.insert(m.indices.end(), face.mIndices, face.mIndices + 3);
        }
        const aiMaterial* material = scene->mMaterials[src->mMaterialIndex];
        m.diffuseMaps = textureNames(material, aiTextureType_DIFFUSE);
        m.specularMaps = textureNames(material, aiTextureType_SPECULAR);
        model.meshes.push_back(std::move(m));
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) collect(node->mChildren[c], scene, model);
}

using Key = std::tuple<long long, long long, long long>;

Key weld(glm::vec3 p) {
    const float step = 1e-3f;
    return {std::llround(p.x / step), std::llround(p.y / step), std::llround(p.z / step)};
}

}  // namespace

ImportedModel importModel(const std::string& path) {
    ImportedModel model;
    const std::string file = std::string(MD_BUILD_DIR) + "/models/" + path;
    model.directory = file.substr(0, file.find_last_of('/'));
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file, aiProcess_Triangulate | aiProcess_FlipUVs);
    if (!scene || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || !scene->mRootNode) {
        model.error = importer.GetErrorString();
        return model;
    }
    collect(scene->mRootNode, scene, model);
    model.ok = true;
    return model;
}

Bounds boundsOf(const std::vector<glm::vec3>& points) {
    Bounds b;
    for (const glm::vec3& p : points) {
        b.lo = glm::min(b.lo, p);
        b.hi = glm::max(b.hi, p);
    }
    return b;
}

float flatDistance(glm::vec3 a, glm::vec2 b) {
    return glm::length(glm::vec2(a.x, a.z) - b);
}

bool isClosed(const ImportedMesh& mesh) {
    std::map<Key, int> ids;
    auto id = [&](unsigned v) {
        return ids.emplace(weld(mesh.positions[v]), int(ids.size())).first->second;
    };
    std::map<std::pair<int, int>, int> directed;
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const int c[3] = {id(mesh.indices[t]), id(mesh.indices[t + 1]), id(mesh.indices[t + 2])};
        if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2]) continue;  // collapsed, no edges
        for (int k = 0; k < 3; ++k) ++directed[{c[k], c[(k + 1) % 3]}];
    }
    if (directed.empty()) return false;
    for (const auto& [edge, count] : directed) {
        const auto back = directed.find({edge.second, edge.first});
        if (count != 1 || back == directed.end() || back->second != 1) return false;
    }
    return true;
}

double signedVolume(const ImportedMesh& mesh) {
    double v = 0.0;
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const glm::dvec3 a = mesh.positions[mesh.indices[t]],
                         b = mesh.positions[mesh.indices[t + 1]],
                         c = mesh.positions[mesh.indices[t + 2]];
        v += glm::dot(a, glm::cross(b, c));
    }
    return v / 6.0;
}

}  // namespace modeltest
