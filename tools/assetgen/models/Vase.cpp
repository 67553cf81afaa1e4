// A turned vase, 2.2 high, widest 0.58 at the belly, open at the top with a
// wall 0.05 thick; the flower's stem stands on its inner floor at y = 0.25.

#include <cmath>

#include "lib/Family.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

ASSETGEN_FAMILY(vase) {
    const auto folder = root / "models/vase";
    const std::vector<glm::vec2> outer = smoothCurve({{0.40f, 0.05f},
                                                      {0.53f, 0.40f},
                                                      {0.58f, 0.75f},
                                                      {0.50f, 1.15f},
                                                      {0.34f, 1.55f},
                                                      {0.29f, 1.85f},
                                                      {0.33f, 2.07f},
                                                      {0.42f, 2.2f}},
                                                     2);
    const float wall = 0.05f, floorY = 0.25f;
    std::vector<glm::vec2> profile = {{0.0f, 0.0f}, {0.37f, 0.0f}, {0.40f, 0.02f}};
    profile.insert(profile.end(), outer.begin(), outer.end());
    for (size_t i = outer.size(); i-- > 0;) {
        if (outer[i].y < floorY + 0.1f) break;
        profile.emplace_back(outer[i].x - wall, outer[i].y);
    }
    profile.emplace_back(profile.back().x - 0.02f, floorY);
    profile.emplace_back(0.0f, floorY);

    Image glaze(256, 256, 3);
    const Image base = glazeTexture(256, glm::vec3(0.12f, 0.30f, 0.52f), 0.004f, 501u);
    glaze.fill([&](int x, int y, float, float v) {
        // Lighter rings where the glaze ran thin over the turned ridges.
        const float ring = 0.5f + 0.5f * std::sin(v * 6.2831853f * 9.0f);
        return glm::vec3(base.get(x, y)) * (0.9f + 0.25f * ring * ring * ring * ring);
    });
    ObjModel model;
    model.addMaterial(saveMaterial(folder, "vase", glaze, greyTexture(64, 0.8f), 0.9f));
    model.add("vase", "vase", lathe(profile, 32, 2.0f, 1.0f / 4.6f));
    writeObj(model, folder / "vase.obj");
}
