// A patch of long grass about 20 x 20: tufts of two crossed cut-out cards
// (RGBA), up to 1.5 high, thinning out and getting shorter towards the rim so
// the patch blends into the lawn. The program ignores the normals (all up).
// The patch's thin form (grassThin.obj), for small reduced frames, keeps
// every second tuft, 1.2 times as wide.

#include <cmath>

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kHalfSize = 10.0f, kMaxHeight = 1.5f;
constexpr int kTufts = 960;
constexpr int kThinTuftEvery = 2;
constexpr float kThinTuftWidening = 1.2f;

// Two tuft pictures side by side (each 256 x 512): blades growing from the
// bottom row, dark at the root and light at the tip.
Image bladeAtlas(uint32_t seed) {
    Image img(512, 512, 4);
    const glm::vec3 fringe(0.14f, 0.26f, 0.07f);
    img.fill([&](int, int, float, float) { return glm::vec4(fringe, 0.0f); });
    Rng rng(seed);
    for (int cell = 0; cell < 2; ++cell) {
        for (int b = 0; b < 34; ++b) {
            const float x0 = 256.0f * cell + rng.uniform(30.0f, 226.0f);
            const float height = rng.uniform(0.45f, 0.98f) * 512.0f;
            const float lean = rng.uniform(-70.0f, 70.0f), width = rng.uniform(7.0f, 13.0f);
            const glm::vec3 tip = glm::mix(glm::vec3(0.50f, 0.62f, 0.22f),
                                           glm::vec3(0.62f, 0.60f, 0.30f), rng.uniform(0.0f, 0.5f));
            const glm::vec3 root(0.10f, 0.22f, 0.05f);
            for (int y = 511; y >= 512 - int(height); --y) {
                const float t = (511.0f - y) / height;  // 0 at the root, 1 at the tip
                const float centre = x0 + lean * t * t;
                const float half = 0.5f * width * std::pow(1.0f - t, 0.7f);
                for (int x = int(centre - half); x <= int(centre + half) + 1; ++x) {
                    if (x < 256 * cell || x >= 256 * (cell + 1)) continue;
                    if (std::abs(x + 0.5f - centre) > half) continue;
                    const float edge =
                        1.0f - 0.3f * std::abs(x + 0.5f - centre) / std::max(half, 0.5f);
                    img.set(x, y, glm::vec4(glm::mix(root, tip, std::pow(t, 0.7f)) * edge, 1.0f));
                }
            }
        }
    }
    return img;
}

// The patch's tufts: with `every` above 1, only every so many of them, each
// `widen` times as wide.
Mesh grassTufts(int every, float widen) {
    Rng rng(1401u);
    Mesh tufts;
    for (int placed = 0; placed < kTufts;) {
        const glm::vec2 p(rng.uniform(-kHalfSize, kHalfSize), rng.uniform(-kHalfSize, kHalfSize));
        // A rounded square: full density inside, thinning towards the edge.
        const float edge =
            std::pow(std::pow(std::abs(p.x), 4.0f) + std::pow(std::abs(p.y), 4.0f), 0.25f) /
            kHalfSize;
        if (edge > 1.0f || rng.uniform() < (edge - 0.6f) * 2.5f) continue;
        ++placed;
        const float height = kMaxHeight * rng.uniform(0.55f, 1.0f) *
                             (1.0f - 0.45f * std::max(0.0f, edge - 0.5f) * 2.0f);
        const float width = widen * height * rng.uniform(0.55f, 0.75f);
        const float turn = rng.uniform(0.0f, 3.14159265f);
        const float u0 = rng.range(0, 1) * 0.5f;
        if ((placed - 1) % every != 0) continue;
        for (int k = 0; k < 2; ++k) {
            const float a = turn + k * 3.14159265f / 2.0f;
            const glm::vec3 across(std::cos(a) * width, 0.0f, std::sin(a) * width);
            tufts.append(quad(glm::vec3(p.x, 0.0f, p.y) - 0.5f * across, across,
                              {0.0f, height, 0.0f}, {u0, 0.0f}, {u0 + 0.5f, 1.0f}));
        }
    }
    tufts.setNormals({0.0f, 1.0f, 0.0f});
    return tufts;
}

}  // namespace

ASSETGEN_FAMILY(grassModel) {
    const auto folder = root / "models/grass";
    const Image blades = bladeAtlas(1402u);
    const Material material =
        saveMaterial(folder, "grass", blades, specularFrom(blades, 64, 0.0f, 0.3f), 0.2f);
    const auto write = [&](int every, float widen, const char* file) {
        ObjModel model;
        model.addMaterial(material);
        model.add("grass", "grass", grassTufts(every, widen));
        writeObj(model, folder / file);
    };
    write(1, 1.0f, "grassModel.obj");
    write(kThinTuftEvery, kThinTuftWidening, "grassThin.obj");
}
