#include "lib/Surfaces.h"

#include <algorithm>
#include <cmath>

#include "lib/Noise.h"

namespace assetgen {

namespace {

float fract(float x) {
    return x - std::floor(x);
}
float smooth(float e0, float e1, float x) {
    const float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}
float luma(glm::vec4 c) {
    return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
}

}  // namespace

float tileFbm(float u, float v, int cells, uint32_t seed, int octaves) {
    return fbm2(u * cells, v * cells, seed, octaves, cells, cells);
}

Image woodTexture(int size, const WoodStyle& s) {
    Image img(size, size, 3);
    const int fibresU = 6, fibresV = size / 4;
    img.fill([&](int, int, float u, float v) {
        const int board = s.boards > 0 ? int(v * s.boards) : 0;
        const uint32_t h = hash32(uint32_t(board) * 7919u + s.seed);
        const float boardShift = float(h & 1023u) / 1023.0f * 5.0f;
        const float boardTint = 0.86f + 0.22f * float((h >> 10) & 255u) / 255.0f;
        // Grain lines wander slowly along u and a little more across it.
        const float warp = 0.7f * noise2(u * 2, v * 5, s.seed, 2, 5) +
                           0.25f * noise2(u * 5, v * 13, s.seed + 3u, 5, 13);
        const float ringCoord = v * s.rings + warp + boardShift + 0.15f * std::sin(6.2831853f * u);
        const float f = fract(ringCoord);
        const float late = smooth(0.5f, 0.85f, f) * (1.0f - smooth(0.9f, 1.0f, f));
        const float fibre =
            0.5f + 0.5f * noise2(u * fibresU, v * fibresV, s.seed + 17u, fibresU, fibresV);
        const float mottle = tileFbm(u, v, 4, s.seed + 5u, 3);
        const float t = 0.55f * late + 0.3f * fibre + 0.15f * mottle;
        glm::vec3 c = glm::mix(s.light, s.dark, std::clamp(t, 0.0f, 1.0f)) * boardTint;
        if (s.weather > 0.0f) {
            const float grey = luma(glm::vec4(c, 1.0f));
            c = glm::mix(c, glm::vec3(grey * 1.05f, grey, grey * 0.95f) + 0.12f, s.weather * 0.7f);
            // Checks along the grain, only in some stretches of the board.
            const float crack = std::abs(noise2(u * 3, v * 40, s.seed + 29u, 3, 40));
            const float where = smooth(0.05f, 0.3f, tileFbm(u, v, 6, s.seed + 31u, 2));
            c *= 1.0f - s.weather * 0.6f * where * (1.0f - smooth(0.0f, 0.04f, crack));
        }
        if (s.boards > 0) {
            const float e = fract(v * s.boards);
            const float seam = std::min(e, 1.0f - e) * float(size) / s.boards;  // pixels
            c *= 0.25f + 0.75f * smooth(0.6f, 2.5f, seam);
        }
        return c;
    });
    return img;
}

Image metalTexture(int size, glm::vec3 base, float rust, uint32_t seed) {
    Image img(size, size, 3);
    img.fill([&](int, int, float u, float v) {
        const float mottle = tileFbm(u, v, 8, seed, 4);
        glm::vec3 c = base * (0.85f + 0.35f * mottle);
        const float r = tileFbm(u, v, 5, seed + 3u, 5) + 0.25f * tileFbm(u, v, 32, seed + 5u, 2);
        const float mask = smooth(0.55f - rust, 0.75f - rust, r) * rust * 2.0f;
        return glm::mix(c, glm::vec3(0.36f, 0.18f, 0.09f) * (0.8f + 0.4f * mottle),
                        std::clamp(mask, 0.0f, 0.85f));
    });
    return img;
}

Image glazeTexture(int size, glm::vec3 colour, float speckle, uint32_t seed) {
    Image img(size, size, 3);
    img.fill([&](int x, int y, float u, float v) {
        glm::vec3 c = colour * (0.96f + 0.05f * tileFbm(u, v, 4, seed, 3));
        const uint32_t h = hash32(uint32_t(y * size + x) ^ seed);
        if (float(h & 0xffffu) / 65536.0f < speckle) c *= 0.72f;
        return c;
    });
    return img;
}

Image clothTexture(int size, glm::vec3 warp, glm::vec3 weft, int threads, uint32_t seed) {
    Image img(size, size, 3);
    img.fill([&](int, int, float u, float v) {
        const int i = int(u * threads), j = int(v * threads);
        const float fu = fract(u * threads), fv = fract(v * threads);
        const bool warpOnTop = ((i + j) & 1) == 0;
        // Warp threads run along v; every other band of six is the stripe colour.
        const glm::vec3 warpColour = (i / 6) % 2 == 0 ? warp : glm::mix(warp, weft, 0.75f);
        const float across = warpOnTop ? fu : fv;
        const float shade = 0.62f + 0.38f * std::sin(3.14159265f * across);
        const float fuzz = 0.92f + 0.1f * tileFbm(u, v, 16, seed, 2);
        return (warpOnTop ? warpColour : weft) * shade * fuzz;
    });
    return img;
}

Image barkTexture(int size, uint32_t seed) {
    Image img(size, size, 3);
    img.fill([&](int, int, float u, float v) {
        // Long furrows along v between plates, broken by short cross cracks.
        const float w = 0.6f * noise2(u * 4, v * 4, seed + 1u, 4, 4);
        const float n = noise2(u * 12 + w, v * 2, seed, 12, 2);
        const float furrow = 1.0f - smooth(0.0f, 0.25f, std::abs(n));
        const float crack =
            1.0f - smooth(0.0f, 0.05f, std::abs(noise2(u * 5, v * 30, seed + 4u, 5, 30)));
        const float fine = tileFbm(u, v, 32, seed + 2u, 2);
        const float plate = (1.0f - furrow) * (0.8f + 0.3f * fine) * (1.0f - 0.6f * crack);
        const glm::vec3 deep(0.13f, 0.10f, 0.08f), crest(0.47f, 0.41f, 0.34f);
        const float moss =
            smooth(0.15f, 0.45f, tileFbm(u, v, 3, seed + 9u, 3)) * 0.3f * (1.0f - furrow);
        return glm::mix(glm::mix(deep, crest, std::clamp(plate, 0.0f, 1.0f)),
                        glm::vec3(0.26f, 0.33f, 0.12f), moss);
    });
    return img;
}

Image mottledTexture(int size, glm::vec3 colour, float amount, int cells, uint32_t seed) {
    Image img(size, size, 3);
    img.fill([&](int, int, float u, float v) {
        return colour * (1.0f + amount * tileFbm(u, v, cells, seed, 4));
    });
    return img;
}

Image specularFrom(const Image& diffuse, int size, float base, float gain) {
    Image img(size, size, 3);
    img.fill([&](int x, int y, float, float) {
        const glm::vec4 c = diffuse.get(x * diffuse.width / size, y * diffuse.height / size);
        return glm::vec3(base + gain * luma(c));
    });
    return img;
}

Image greyTexture(int size, float value) {
    Image img(size, size, 3);
    img.fill([&](int, int, float, float) { return glm::vec3(value); });
    return img;
}

Material saveMaterial(const std::filesystem::path& folder, const std::string& name,
                      const Image& diffuse, const Image& specular, float ks) {
    writePng(diffuse, folder / (name + ".png"));
    writePng(specular, folder / (name + "_spec.png"));
    Material m;
    m.name = name;
    m.diffuseMap = name + ".png";
    m.specularMap = name + "_spec.png";
    m.specular = ks;
    return m;
}

}  // namespace assetgen
