#pragma once
// A model read for the contact sheet: the triangles of every mesh with their
// texture coordinates and diffuse map, read the way the program reads them
// (Assimp with triangulation and flipped texture coordinates only).

#include <filesystem>
#include <glm/glm.hpp>
#include <optional>
#include <string>
#include <vector>

namespace preview {

struct Picture {
    int width = 0;
    int height = 0;
    int channels = 0;  // 3 or 4 once loaded
    std::vector<unsigned char> pixels;

    // Nearest texel, repeating; v = 0 is the top row (texture coordinates
    // arrive already flipped). Alpha is 1 for three-channel pictures.
    glm::vec4 sample(glm::vec2 uv) const;
    glm::vec4 texel(int x, int y) const;
};

// Reads a PNG or JPEG keeping its own channel count (1 and 2 are widened to RGB).
std::optional<Picture> loadPicture(const std::filesystem::path& file);

struct PreviewTriangle {
    glm::vec3 p[3];
    glm::vec2 uv[3];
    int picture = -1;  // index into PreviewModel::pictures, -1 for none
};

struct PreviewModel {
    std::vector<PreviewTriangle> triangles;
    std::vector<Picture> pictures;
    glm::vec3 lo{1e30f};
    glm::vec3 hi{-1e30f};

    // Adds another model's triangles (and pictures), moved by offset.
    void append(const PreviewModel& other, glm::vec3 offset);
};

// Returns nothing and sets error when the file cannot be imported.
std::optional<PreviewModel> loadPreviewModel(const std::filesystem::path& file, std::string& error);

}  // namespace preview
