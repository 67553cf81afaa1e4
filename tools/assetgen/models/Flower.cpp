// A gerbera for the vase: a slender stem from y = 0.3 (the vase's floor) to
// 4.5, two long leaves above the vase's neck, and a blossom of two rings of
// orange-red petals round a dark centre.

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kStemBottom = 0.3f, kStemTop = 4.5f;

glm::vec3 stemAt(float t) {
    return {0.15f * t * t, kStemBottom + (kStemTop - kStemBottom) * t, 0.08f * t * t};
}

Mesh stem() {
    std::vector<glm::vec3> path;
    std::vector<float> radii;
    for (int i = 0; i <= 16; ++i) {
        const float t = float(i) / 16.0f;
        path.push_back(stemAt(t));
        radii.push_back(0.045f - 0.012f * t);
    }
    return tube(path, radii, 8, true, false, 1.0f, 0.5f);
}

// A leaf along +x that rises and droops, folded along its midrib; front up.
Mesh leaf(float length, float width) {
    return twoSided(surface(4, 10, [=](float u, float v) {
        const float w =
            width * std::pow(std::abs(std::sin(3.14159265f * v)), 0.7f) * (1.0f - 0.35f * v);
        const float across = (u - 0.5f) * w;
        return glm::vec3(length * v, length * (0.45f * v - 0.55f * v * v) + 0.6f * std::abs(across),
                         across);
    }));
}

// A petal along +x from the centre, slightly cupped, its tip curling down.
Mesh petal(float length, float width) {
    return twoSided(surface(3, 5, [=](float u, float v) {
        const float w = width * std::pow(std::sin(3.14159265f * (0.15f + 0.8f * v)), 0.6f);
        const float across = (u - 0.5f) * w;
        return glm::vec3(length * v,
                         0.25f * across * across / std::max(w, 1e-3f) - 0.08f * v * v * length,
                         across);
    }));
}

glm::mat4 tilt(float yawDegrees, float pitchDegrees) {
    glm::mat4 m = glm::rotate(glm::mat4(1.0f), glm::radians(yawDegrees), glm::vec3(0, 1, 0));
    return glm::rotate(m, glm::radians(pitchDegrees), glm::vec3(0, 0, 1));
}

}  // namespace

ASSETGEN_FAMILY(flower) {
    const auto folder = root / "models/flower";
    Image green(128, 128, 3);
    green.fill([](int, int, float u, float v) {
        return glm::vec3(0.22f, 0.45f, 0.14f) * (0.9f + 0.2f * tileFbm(u * 0.2f, v, 16, 1101u, 2));
    });
    Image leafImage(256, 256, 3);
    leafImage.fill([](int, int, float u, float v) {
        // Midrib down the middle, side veins slanting out to the edges.
        const float d = std::abs(u - 0.5f);
        const float vein = std::max(
            std::exp(-d * d * 3000.0f),
            0.6f * std::pow(std::abs(std::sin(3.14159265f * (v * 7.0f - d * 3.0f))), 30.0f));
        const glm::vec3 base =
            glm::vec3(0.20f, 0.42f, 0.12f) * (0.9f + 0.15f * tileFbm(u, v, 8, 1102u, 3));
        return glm::mix(base, glm::vec3(0.45f, 0.62f, 0.30f), vein * 0.7f);
    });
    Image petalImage(256, 256, 3);
    petalImage.fill([](int, int, float u, float v) {
        // Texture rows run from the petal's tip (top) to its base (bottom).
        const float along = 1.0f - v;
        const float streak = std::abs(noise2(u * 24.0f, along * 2.0f, 1103u, 24, 0));
        glm::vec3 c = glm::mix(glm::vec3(0.95f, 0.72f, 0.15f), glm::vec3(0.92f, 0.25f, 0.08f),
                               std::min(1.0f, along * 4.0f));
        return c * (0.88f + 0.25f * streak);
    });
    Image centreImage(128, 128, 3);
    centreImage.fill([](int x, int y, float u, float v) {
        const float r = 2.0f * glm::length(glm::vec2(u, v) - 0.5f);
        const bool pollen =
            r > 0.55f && r < 0.95f && (hash32(uint32_t(y * 128 + x) ^ 1104u) & 7u) == 0u;
        const glm::vec3 c =
            glm::mix(glm::vec3(0.12f, 0.07f, 0.03f), glm::vec3(0.35f, 0.22f, 0.05f), r);
        return pollen ? glm::vec3(0.95f, 0.78f, 0.2f) : c;
    });

    ObjModel model;
    model.addMaterial(saveMaterial(folder, "stem", green, greyTexture(64, 0.2f), 0.2f));
    model.addMaterial(
        saveMaterial(folder, "leaf", leafImage, specularFrom(leafImage, 64, 0.1f, 0.4f), 0.3f));
    model.addMaterial(saveMaterial(folder, "petal", petalImage, greyTexture(64, 0.25f), 0.25f));
    model.addMaterial(saveMaterial(folder, "centre", centreImage, greyTexture(64, 0.1f), 0.1f));

    model.add("stem", "stem", stem());
    model.add("leaves", "leaf",
              leaf(1.1f, 0.32f)
                  .transform(glm::translate(glm::mat4(1.0f), stemAt(0.55f)) * tilt(30.0f, 10.0f)));
    model.add("leaves", "leaf",
              leaf(0.95f, 0.28f)
                  .transform(glm::translate(glm::mat4(1.0f), stemAt(0.68f)) * tilt(215.0f, 5.0f)));

    // The blossom faces up and a little towards +x.
    const glm::mat4 head =
        glm::translate(glm::mat4(1.0f), stemAt(1.0f) + glm::vec3(0.0f, 0.04f, 0.0f)) *
        glm::rotate(glm::mat4(1.0f), glm::radians(-15.0f), glm::vec3(0, 0, 1));
    model.add(
        "sepals", "stem",
        lathe({{0.0f, -0.18f}, {0.12f, -0.08f}, {0.26f, 0.0f}, {0.0f, 0.02f}}, 16).transform(head));
    Mesh disc = superellipsoid({0.24f, 0.08f, 0.24f}, 0.7f, 16, 8);
    disc.projectUv({1.0f / 0.5f, 0, 0}, {0, 0, 1.0f / 0.5f}, glm::vec2(0.5f));
    model.add("centre", "centre", disc.translate({0.0f, 0.03f, 0.0f}).transform(head));
    for (int i = 0; i < 14; ++i)
        model.add("petals", "petal",
                  petal(0.8f, 0.2f)
                      .transform(head * tilt(360.0f / 14.0f * i, 12.0f) *
                                 glm::translate(glm::mat4(1.0f), {0.14f, 0.0f, 0.0f})));
    for (int i = 0; i < 10; ++i)
        model.add("petals", "petal",
                  petal(0.5f, 0.16f)
                      .transform(head * tilt(360.0f / 10.0f * i + 18.0f, 35.0f) *
                                 glm::translate(glm::mat4(1.0f), {0.12f, 0.02f, 0.0f})));
    writeObj(model, folder / "flower.obj");
}
