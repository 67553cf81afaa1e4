// Two tumblers (drawn see-through by the program) at (2.5, 4.5) and
// (-3.5, 1.0) on the table top, 1.2 high, and the orange juice inside them.

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kTableY = 8.0f;
constexpr int kSegments = 32;
const glm::vec2 kPlaces[] = {{2.5f, 4.5f}, {-3.5f, 1.0f}};

Mesh tumbler() {
    return lathe({{0.0f, 0.0f},
                  {0.4f, 0.0f},
                  {0.42f, 0.02f},
                  {0.45f, 0.6f},
                  {0.48f, 1.2f},
                  {0.455f, 1.2f},
                  {0.42f, 0.6f},
                  {0.39f, 0.13f},
                  {0.0f, 0.12f}},
                 kSegments);
}

Mesh juice() {
    return lathe({{0.0f, 0.128f}, {0.384f, 0.134f}, {0.414f, 0.6f}, {0.426f, 0.8f}, {0.0f, 0.8f}},
                 kSegments, 1.0f, 1.0f);
}

}  // namespace

ASSETGEN_FAMILY(glasses) {
    const auto folder = root / "models/breakfast/waterGlass";
    Image glass(128, 128, 3);
    glass.fill([](int, int, float u, float v) {
        const float streak = tileFbm(u * 0.25f, v, 8, 901u, 2);
        return glm::vec3(0.80f, 0.88f, 0.92f) * (0.95f + 0.08f * streak);
    });
    Image orange(128, 128, 3);
    orange.fill([](int x, int y, float u, float v) {
        const float pulp = tileFbm(u, v, 16, 902u, 3);
        const bool fleck = (hash32(uint32_t(y * 128 + x) ^ 903u) & 63u) == 0u;
        const glm::vec3 c = glm::vec3(1.0f, 0.55f, 0.08f) * (0.92f + 0.15f * pulp);
        return fleck ? glm::min(c * 1.25f, glm::vec3(1.0f)) : c;
    });
    ObjModel glasses, juices;
    glasses.addMaterial(saveMaterial(folder, "glass", glass, greyTexture(64, 0.95f), 1.0f));
    juices.addMaterial(saveMaterial(folder, "juice", orange, greyTexture(64, 0.5f), 0.5f));
    for (const glm::vec2& p : kPlaces) {
        glasses.add("glasses", "glass", tumbler().translate({p.x, kTableY, p.y}));
        juices.add("juice", "juice", juice().translate({p.x, kTableY, p.y}));
    }
    writeObj(glasses, folder / "glasses.obj");
    writeObj(juices, folder / "juice.obj");
}
