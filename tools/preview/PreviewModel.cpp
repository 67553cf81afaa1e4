#include "PreviewModel.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <stb_image.h>

#include <assimp/Importer.hpp>
#include <cmath>
#include <map>

namespace preview {

glm::vec4 Picture::texel(int x, int y) const {
    const unsigned char* p = &pixels[(size_t(y) * width + x) * channels];
    return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, channels == 4 ? p[3] / 255.0f : 1.0f};
}

glm::vec4 Picture::sample(glm::vec2 uv) const {
    if (width == 0 || height == 0 || !std::isfinite(uv.x) || !std::isfinite(uv.y))
        return glm::vec4(1.0f, 0.0f, 1.0f, 1.0f);
    const float fu = uv.x - std::floor(uv.x), fv = uv.y - std::floor(uv.y);
    const int x = std::min(width - 1, int(fu * width));
    const int y = std::min(height - 1, int(fv * height));
    return texel(x, y);
}

void PreviewModel::append(const PreviewModel& other, glm::vec3 offset) {
    const int base = int(pictures.size());
    pictures.insert(pictures.end(), other.pictures.begin(), other.pictures.end());
    for (PreviewTriangle t : other.triangles) {
        if (t.picture >= 0) t.picture += base;
        for (glm::vec3& p : t.p) {
            p += offset;
            lo = glm::min(lo, p);
            hi = glm::max(hi, p);
        }
        triangles.push_back(t);
    }
}

std::optional<Picture> loadPicture(const std::filesystem::path& file) {
    int w = 0, h = 0, n = 0;
    if (!stbi_info(file.c_str(), &w, &h, &n)) return std::nullopt;
    const int want = n == 4 ? 4 : 3;
    unsigned char* data = stbi_load(file.c_str(), &w, &h, &n, want);
    if (!data) return std::nullopt;
    Picture p;
    p.width = w;
    p.height = h;
    p.channels = want;
    p.pixels.assign(data, data + size_t(w) * h * want);
    stbi_image_free(data);
    return p;
}

std::optional<PreviewModel> loadPreviewModel(const std::filesystem::path& file,
                                             std::string& error) {
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFile(file.string(), aiProcess_Triangulate | aiProcess_FlipUVs);
    if (!scene || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || !scene->mRootNode) {
        error = importer.GetErrorString();
        return std::nullopt;
    }
    PreviewModel model;
    std::map<std::string, int> loaded;
    std::vector<int> materialPicture(scene->mNumMaterials, -1);
    for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
        aiString name;
        if (scene->mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &name) != AI_SUCCESS)
            continue;
        const auto found = loaded.find(name.C_Str());
        if (found != loaded.end()) {
            materialPicture[m] = found->second;
            continue;
        }
        auto picture = loadPicture(file.parent_path() / name.C_Str());
        if (!picture) continue;  // drawn untextured
        model.pictures.push_back(std::move(*picture));
        materialPicture[m] = loaded[name.C_Str()] = int(model.pictures.size() - 1);
    }
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
        const aiMesh* mesh = scene->mMeshes[i];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3) continue;
            PreviewTriangle t;
            t.picture = materialPicture[mesh->mMaterialIndex];
            for (int k = 0; k < 3; ++k) {
                const unsigned v = face.mIndices[k];
                const aiVector3D& p = mesh->mVertices[v];
                t.p[k] = glm::vec3(p.x, p.y, p.z);
                t.uv[k] = mesh->HasTextureCoords(0) ? glm::vec2(mesh->mTextureCoords[0][v].x,
                                                                mesh->mTextureCoords[0][v].y)
                                                    : glm::vec2(0.0f);
                model.lo = glm::min(model.lo, t.p[k]);
                model.hi = glm::max(model.hi, t.p[k]);
            }
            model.triangles.push_back(t);
        }
    }
    return model;
}

}  // namespace preview
