// A wooden jetty from the shore (x = -8) out to x = 38, 8 wide (z -4..4):
// weathered deck planks (top at y = 0.6) on three stringers and cross
// beams, carried by pairs of round posts that reach down to y = -6, with two
// taller mooring posts at the far end and a ladder down to the water.

#include <cmath>

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kStart = -8.0f, kEnd = 38.0f, kHalfWidth = 4.0f;
constexpr float kDeckTop = 0.6f, kPlank = 0.15f, kStringer = 0.15f, kBeam = 0.15f;
constexpr float kPostBottom = -6.0f;

Mesh deck(Rng& rng) {
    Mesh m;
    const float pitch = 0.61f, width = 0.55f;
    for (float x = kStart; x + width <= kEnd + 1e-3f; x += pitch) {
        const float sag = rng.uniform(-0.012f, 0.0f);
        const float shorter = rng.uniform(0.0f, 0.08f);
        Mesh plank =
            box({x, kDeckTop - kPlank + sag, -kHalfWidth + shorter},
                {x + width, kDeckTop + sag, kHalfWidth - rng.uniform(0.0f, 0.08f)}, 0.125f);
        // Grain along the plank (z): swap the planar mapping round.
        plank.projectUv({0, 0, 0.125f}, {0.125f, 0.3f, 0}, {rng.uniform(), rng.uniform()});
        m.append(plank);
    }
    return m;
}

Mesh frame(const std::vector<float>& postXs) {
    Mesh m;
    const float stringerTop = kDeckTop - kPlank;
    for (float z : {-3.5f, 0.0f, 3.5f}) {
        m.append(
            box({kStart, stringerTop - kStringer, z - 0.18f}, {kEnd, stringerTop, z + 0.18f}, 0.1f)
                .projectUv({0.1f, 0, 0}, {0, 0.4f, 0.4f}));
    }
    const float beamTop = stringerTop - kStringer;
    for (float x : postXs)
        m.append(
            box({x - 0.2f, beamTop - kBeam, -kHalfWidth}, {x + 0.2f, beamTop, kHalfWidth}, 0.1f)
                .projectUv({0, 0, 0.1f}, {0.4f, 0.4f, 0}));
    return m;
}

Mesh posts(const std::vector<float>& postXs, Rng& rng) {
    Mesh m;
    const float top = kDeckTop - kPlank - kStringer - kBeam;
    for (float x : postXs) {
        for (float z : {-3.75f, 3.75f}) {
            const bool mooring = x > kEnd - 1.0f;
            const float height = mooring ? 1.8f : top;
            Mesh post = lathe({{0.0f, kPostBottom},
                               {0.26f, kPostBottom},
                               {0.26f, height - 0.05f},
                               {0.2f, height},
                               {0.0f, height}},
                              10, 1.0f, 0.15f);
            post.translate({x + rng.uniform(-0.04f, 0.04f), 0.0f, z});
            m.append(post.scaleUv({1.0f, 1.0f}, {rng.uniform(), 0.0f}));
        }
    }
    return m;
}

Mesh ladder() {
    Mesh m;
    const float x = kEnd - 3.0f, z = kHalfWidth + 0.12f;
    for (float dx : {-0.5f, 0.5f})
        m.append(box({x + dx - 0.06f, -3.0f, z - 0.06f},
                     {x + dx + 0.06f, kDeckTop + 0.9f, z + 0.06f}, 0.3f));
    for (float y = -2.6f; y < kDeckTop; y += 0.6f)
        m.append(cylinder(0.05f, -0.5f, 0.5f, 6)
                     .transform(placeAt({x, y, z}, 0.0f) *
                                glm::mat4(glm::vec4(0, -1, 0, 0), glm::vec4(1, 0, 0, 0),
                                          glm::vec4(0, 0, 1, 0), glm::vec4(0, 0, 0, 1))));
    return m;
}

}  // namespace

ASSETGEN_FAMILY(jetty) {
    const auto folder = root / "models/jetty";
    WoodStyle boards;
    boards.light = {0.62f, 0.55f, 0.46f};
    boards.dark = {0.36f, 0.30f, 0.24f};
    boards.rings = 16;
    boards.weather = 0.7f;
    boards.seed = 1201u;
    const Image plankImage = woodTexture(512, boards);
    WoodStyle poles = boards;
    poles.light = {0.46f, 0.40f, 0.33f};
    poles.dark = {0.25f, 0.21f, 0.17f};
    poles.rings = 10;
    poles.weather = 0.5f;
    poles.seed = 1202u;
    const Image poleWood = woodTexture(256, poles);
    Image postImage(256, 256, 3);
    postImage.fill([&](int x, int y, float, float v) {
        // Grain up the post; dark and green where it stands in the water
        // (texture rows run from the post's top down to its foot).
        const float wet = std::clamp((v - 0.3f) * 5.0f, 0.0f, 1.0f);
        const glm::vec3 c(poleWood.get(y, x));
        return glm::mix(c, c * glm::vec3(0.45f, 0.6f, 0.4f), wet);
    });
    ObjModel model;
    model.addMaterial(saveMaterial(folder, "planks", plankImage,
                                   specularFrom(plankImage, 128, 0.0f, 0.3f), 0.2f));
    model.addMaterial(
        saveMaterial(folder, "posts", postImage, specularFrom(postImage, 64, 0.05f, 0.4f), 0.2f));

    std::vector<float> postXs;
    for (int i = 0; i <= 10; ++i)
        postXs.push_back(kStart + 1.0f + i * (kEnd - kStart - 1.4f) / 10.0f);
    Rng rng(1203u);
    model.add("deck", "planks", deck(rng));
    model.add("frame", "planks", frame(postXs));
    model.add("posts", "posts", posts(postXs, rng));
    model.add("ladder", "posts", ladder());
    writeObj(model, folder / "jetty.obj");
}
