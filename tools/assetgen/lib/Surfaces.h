#pragma once
// Procedural surface textures for the models: wood, iron, glaze, cloth, bark.
// All of them tile in both directions, and all are made from fixed seeds.

#include <filesystem>
#include <string>

#include "lib/Image.h"
#include "lib/ObjWriter.h"

namespace assetgen {

struct WoodStyle {
    glm::vec3 light{0.62f, 0.44f, 0.27f};
    glm::vec3 dark{0.38f, 0.24f, 0.13f};
    int rings = 6;         // growth rings across the texture (grain runs along u)
    int boards = 0;        // planks across v with dark seams between them; 0 = none
    float weather = 0.0f;  // 0 fresh .. 1 grey and cracked
    uint32_t seed = 1;
};

Image woodTexture(int size, const WoodStyle& style);
// Dark wrought iron or steel: mottled, with a share of rust (0..1).
Image metalTexture(int size, glm::vec3 base, float rust, uint32_t seed);
// A glaze with faint speckles.
Image glazeTexture(int size, glm::vec3 colour, float speckle, uint32_t seed);
// Woven cloth of two thread colours; every other band of six warp threads
// leans to the weft colour, which gives soft stripes.
Image clothTexture(int size, glm::vec3 warp, glm::vec3 weft, int threads, uint32_t seed);
// Furrowed bark; the furrows run along v.
Image barkTexture(int size, uint32_t seed);
// A colour with gentle tileable variation.
Image mottledTexture(int size, glm::vec3 colour, float amount, int cells, uint32_t seed);

// A grey specular map (RGB) from an image's brightness: base + gain * luma.
Image specularFrom(const Image& diffuse, int size, float base, float gain);
Image greyTexture(int size, float value);

// Writes <name>.png and <name>_spec.png into folder and returns the material.
Material saveMaterial(const std::filesystem::path& folder, const std::string& name,
                      const Image& diffuse, const Image& specular, float ks = 0.5f);

// Tileable fbm over the unit square with `cells` lattice cells across.
float tileFbm(float u, float v, int cells, uint32_t seed, int octaves);

}  // namespace assetgen
