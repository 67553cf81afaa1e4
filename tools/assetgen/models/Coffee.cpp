// Two cups of coffee on saucers, centred at (-1, -0.8) and (-2.3, 6.3) on the
// table top (y = 8); the coffee's surface is at y = 8.4, right under the two
// points the steam rises from.

#include <cmath>

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kTableY = 8.0f;
constexpr float kCoffeeY = 0.4f;  // above the table
constexpr int kSegments = 24;

Mesh saucer() {
    return lathe({{0.0f, 0.0f},
                  {0.42f, 0.0f},
                  {0.46f, 0.03f},
                  {0.84f, 0.1f},
                  {0.88f, 0.13f},
                  {0.84f, 0.145f},
                  {0.5f, 0.075f},
                  {0.0f, 0.065f}},
                 kSegments);
}

Mesh cup() {
    Mesh m = lathe({{0.0f, 0.065f},
                    {0.22f, 0.065f},
                    {0.26f, 0.1f},
                    {0.31f, 0.16f},
                    {0.38f, 0.3f},
                    {0.42f, 0.46f},
                    {0.44f, 0.62f},
                    {0.41f, 0.625f},
                    {0.39f, 0.46f},
                    {0.355f, 0.3f},
                    {0.28f, 0.175f},
                    {0.0f, 0.13f}},
                   kSegments, 1.0f, 0.8f);
    const std::vector<glm::vec3> path = smoothCurve({{0.4f, 0.52f, 0.0f},
                                                     {0.58f, 0.54f, 0.0f},
                                                     {0.67f, 0.42f, 0.0f},
                                                     {0.6f, 0.28f, 0.0f},
                                                     {0.36f, 0.22f, 0.0f}},
                                                    3);
    m.append(tube(path, std::vector<float>(path.size(), 0.045f), 6, true, true));
    return m;
}

// The coffee fills the cup up to kCoffeeY, just inside its inner wall.
Mesh coffee() {
    Mesh m =
        lathe({{0.0f, 0.135f}, {0.27f, 0.18f}, {0.345f, 0.3f}, {0.37f, kCoffeeY}, {0.0f, kCoffeeY}},
              kSegments);
    return m.projectUv({1.0f / 0.76f, 0, 0}, {0, 0, 1.0f / 0.76f}, glm::vec2(0.5f));
}

}  // namespace

ASSETGEN_FAMILY(coffee) {
    const auto folder = root / "models/breakfast/coffeeCup";
    const Image porcelain = glazeTexture(128, glm::vec3(0.95f, 0.94f, 0.91f), 0.0005f, 801u);
    Image crema(256, 256, 3);
    crema.fill([](int, int, float u, float v) {
        const float r = 2.0f * glm::length(glm::vec2(u, v) - 0.5f);
        const float swirl = tileFbm(u + 0.1f * std::sin(9.0f * r), v, 6, 802u, 4);
        const float foam = std::clamp(0.45f + 0.9f * swirl + 0.5f * r * r, 0.0f, 1.0f);
        return glm::mix(glm::vec3(0.20f, 0.10f, 0.05f), glm::vec3(0.62f, 0.42f, 0.25f), foam);
    });
    ObjModel model;
    model.addMaterial(saveMaterial(folder, "porcelain", porcelain, greyTexture(64, 0.85f), 0.9f));
    model.addMaterial(
        saveMaterial(folder, "coffee", crema, specularFrom(crema, 64, 0.2f, 0.5f), 0.4f));
    const glm::vec2 places[] = {{-1.0f, -0.8f}, {-2.3f, 6.3f}};
    const float handleYaw[] = {-40.0f, 150.0f};
    for (int i = 0; i < 2; ++i) {
        const glm::mat4 at = placeAt({places[i].x, kTableY, places[i].y}, handleYaw[i]);
        model.add("cups", "porcelain", Mesh(saucer()).append(cup()).transform(at));
        model.add("coffee", "coffee", coffee().transform(at));
    }
    writeObj(model, folder / "coffee.obj");
}
