// The breakfast on the table top (y = 8): two place settings (plate with an
// egg in its cup, knife and fork) facing the chairs at -30 and 160 degrees, a
// wicker basket with croissants and rolls, a jar of jam and a butter dish,
// all kept clear of the cups, the glasses and the vase.

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kTableY = 8.0f;
const glm::vec2 kTableCentre(-0.6f, 2.75f);
const glm::vec2 kBasket(-1.5f, 2.6f), kJam(0.6f, 4.9f), kButter(0.9f, -1.5f);

glm::vec3 onTable(glm::vec2 p, float y = 0.0f) {
    return {p.x, kTableY + y, p.y};
}

Mesh plate() {
    return lathe({{0.0f, 0.0f},
                  {0.6f, 0.0f},
                  {0.63f, 0.025f},
                  {1.2f, 0.13f},
                  {1.2f, 0.16f},
                  {1.14f, 0.16f},
                  {0.66f, 0.065f},
                  {0.0f, 0.06f}},
                 32);
}

Mesh eggCup() {
    return lathe({{0.0f, 0.0f},
                  {0.26f, 0.0f},
                  {0.27f, 0.04f},
                  {0.13f, 0.12f},
                  {0.12f, 0.2f},
                  {0.25f, 0.32f},
                  {0.3f, 0.48f},
                  {0.27f, 0.49f},
                  {0.22f, 0.36f},
                  {0.0f, 0.3f}},
                 20);
}

Mesh egg() {
    std::vector<glm::vec2> profile;
    for (int i = 0; i <= 12; ++i) {
        const float t = float(i) / 12.0f, a = 3.14159265f * t;
        // Fuller at the bottom, pointed at the top.
        const float r = (i == 0 || i == 12) ? 0.0f : 0.21f * std::sin(a) * (1.0f - 0.18f * t);
        profile.emplace_back(r, 0.28f - 0.28f * std::cos(a));
    }
    return lathe(profile, 16);
}

// A polygon laid flat on the table: its x along `along`, its y across, thick upwards.
Mesh flatPiece(const std::vector<glm::vec2>& outline, glm::vec2 at, glm::vec2 along,
               float thickness) {
    Mesh m = extrude(outline, 0.0f, thickness, 1.0f);
    const float yaw = glm::degrees(std::atan2(-along.y, along.x));
    const glm::mat4 lay = glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), glm::vec3(1, 0, 0));
    return m.transform(placeAt(onTable(at, 0.0f), yaw) * lay);
}

std::vector<glm::vec2> knifeOutline() {
    return {{-0.9f, -0.05f}, {-0.02f, -0.055f}, {0.05f, -0.04f},  {0.78f, -0.04f}, {0.9f, 0.0f},
            {0.86f, 0.05f},  {0.05f, 0.05f},    {-0.02f, 0.055f}, {-0.9f, 0.05f},  {-0.95f, 0.0f}};
}

std::vector<glm::vec2> forkOutline() {
    std::vector<glm::vec2> o = {{-0.95f, 0.0f}, {-0.9f, -0.045f}, {0.15f, -0.03f}, {0.35f, -0.1f}};
    const float tines[4][2] = {{-0.1f, -0.07f}, {-0.045f, -0.015f}, {0.01f, 0.04f}, {0.065f, 0.1f}};
    for (int k = 0; k < 4; ++k) {
        o.emplace_back(0.88f, tines[k][0]);
        o.emplace_back(0.88f, tines[k][1]);
        if (k < 3) {
            o.emplace_back(0.5f, tines[k][1]);
            o.emplace_back(0.5f, tines[k + 1][0]);
        }
    }
    o.insert(o.end(), {{0.35f, 0.1f}, {0.15f, 0.03f}, {-0.9f, 0.045f}});
    return o;
}

Mesh basket() {
    return lathe({{0.0f, 0.0f},
                  {0.8f, 0.0f},
                  {1.1f, 0.45f},
                  {1.15f, 0.55f},
                  {1.05f, 0.56f},
                  {0.98f, 0.46f},
                  {0.72f, 0.09f},
                  {0.0f, 0.08f}},
                 28, 6.0f, 2.0f);
}

Mesh croissant() {
    std::vector<glm::vec3> path;
    std::vector<float> radii;
    for (int i = 0; i <= 22; ++i) {
        const float t = float(i) / 22.0f, a = glm::radians(-70.0f + 140.0f * t);
        path.emplace_back(0.55f * std::sin(a), 0.0f, -0.55f * std::cos(a) + 0.3f);
        const float bulge = std::pow(std::abs(std::sin(3.14159265f * t)), 0.8f);
        const float rolls = 1.0f + 0.13f * std::abs(std::sin(3.14159265f * 5.0f * t));
        radii.push_back(0.05f + 0.2f * bulge * rolls);
    }
    Mesh m = tube(path, radii, 10, true, true, 1.0f, 1.0f);
    return m.transform(glm::scale(glm::mat4(1.0f), {1.0f, 0.75f, 1.0f}));
}

}  // namespace

ASSETGEN_FAMILY(breakfast) {
    const auto folder = root / "models/breakfast/breakfast";
    const Image porcelain = glazeTexture(128, glm::vec3(0.96f, 0.95f, 0.92f), 0.0005f, 1001u);
    const Image shell = mottledTexture(128, glm::vec3(0.93f, 0.80f, 0.64f), 0.08f, 8, 1002u);
    Image wicker(256, 256, 3);
    const Image weave = clothTexture(256, {0.72f, 0.55f, 0.32f}, {0.60f, 0.44f, 0.24f}, 12, 1003u);
    wicker.fill([&](int x, int y, float, float) { return glm::vec3(weave.get(x, y)) * 1.1f; });
    Image crust(256, 256, 3);
    crust.fill([](int, int, float u, float v) {
        const float n = tileFbm(u, v, 8, 1004u, 4);
        return glm::mix(glm::vec3(0.78f, 0.50f, 0.20f), glm::vec3(0.52f, 0.28f, 0.09f),
                        std::clamp(0.5f + n, 0.0f, 1.0f));
    });
    const Image jam = mottledTexture(128, glm::vec3(0.62f, 0.06f, 0.10f), 0.3f, 6, 1005u);
    const Image gingham = clothTexture(128, {0.85f, 0.1f, 0.1f}, {0.95f, 0.93f, 0.9f}, 24, 1006u);
    const Image butter = mottledTexture(64, glm::vec3(0.98f, 0.90f, 0.55f), 0.05f, 4, 1007u);
    const Image steel = metalTexture(128, glm::vec3(0.72f, 0.73f, 0.75f), 0.0f, 1008u);

    ObjModel model;
    model.addMaterial(saveMaterial(folder, "porcelain", porcelain, greyTexture(64, 0.85f), 0.9f));
    model.addMaterial(saveMaterial(folder, "eggshell", shell, greyTexture(64, 0.2f), 0.2f));
    model.addMaterial(
        saveMaterial(folder, "wicker", wicker, specularFrom(wicker, 64, 0.0f, 0.3f), 0.2f));
    model.addMaterial(
        saveMaterial(folder, "bread", crust, specularFrom(crust, 64, 0.0f, 0.4f), 0.2f));
    model.addMaterial(saveMaterial(folder, "jam", jam, greyTexture(64, 0.9f), 0.9f));
    model.addMaterial(saveMaterial(folder, "lid", gingham, greyTexture(64, 0.1f), 0.1f));
    model.addMaterial(saveMaterial(folder, "butter", butter, greyTexture(64, 0.4f), 0.4f));
    model.addMaterial(saveMaterial(folder, "steel", steel, greyTexture(64, 0.9f), 0.9f));

    // Place settings: plate, egg cup with egg, fork on the left, knife on the right.
    for (float angle : {-30.0f, 160.0f}) {
        const float a = glm::radians(angle);
        const glm::vec2 out(std::cos(a), std::sin(a));
        const glm::vec2 at = kTableCentre + 4.0f * out;
        const glm::vec2 side(-out.y, out.x);  // along the table's edge
        model.add("plates", "porcelain", plate().translate(onTable(at)));
        model.add("eggCups", "porcelain", eggCup().translate(onTable(at, 0.06f)));
        model.add("eggs", "eggshell", egg().translate(onTable(at, 0.06f + 0.23f)));
        model.add("cutlery", "steel", flatPiece(forkOutline(), at + 1.55f * side, -out, 0.025f));
        model.add("cutlery", "steel", flatPiece(knifeOutline(), at - 1.55f * side, -out, 0.025f));
    }

    model.add("basket", "wicker", basket().translate(onTable(kBasket)));
    model.add(
        "bread", "bread",
        croissant().transform(placeAt(onTable(kBasket + glm::vec2(0.15f, -0.35f), 0.26f), 20.0f)));
    model.add(
        "bread", "bread",
        croissant().transform(placeAt(onTable(kBasket + glm::vec2(-0.3f, 0.25f), 0.3f), 170.0f)));
    for (int i = 0; i < 2; ++i) {
        const glm::vec2 off = i == 0 ? glm::vec2(0.45f, 0.35f) : glm::vec2(-0.4f, -0.4f);
        Mesh roll = superellipsoid({0.33f, 0.22f, 0.28f}, 0.85f, 16, 10);
        roll.projectUv({1.5f, 0, 0}, {0, 0.8f, 1.2f}, glm::vec2(0.3f * i));
        model.add("bread", "bread",
                  roll.transform(placeAt(onTable(kBasket + off, 0.3f), 35.0f + 70.0f * i)));
    }

    model.add("jamJar", "jam",
              lathe({{0.0f, 0.0f},
                     {0.3f, 0.0f},
                     {0.34f, 0.05f},
                     {0.34f, 0.52f},
                     {0.29f, 0.58f},
                     {0.29f, 0.62f},
                     {0.0f, 0.62f}},
                    24)
                  .translate(onTable(kJam)));
    model.add(
        "jamLid", "lid",
        lathe({{0.0f, 0.57f}, {0.33f, 0.57f}, {0.34f, 0.7f}, {0.31f, 0.73f}, {0.0f, 0.73f}}, 24)
            .projectUv({1.4f, 0, 0}, {0, 0, 1.4f})
            .translate(onTable(kJam)));

    Mesh dish =
        superellipsoid({0.7f, 0.05f, 0.45f}, 0.3f, 20, 8).translate(onTable(kButter, 0.05f));
    model.add("butterDish", "porcelain", dish.projectUv({1, 0, 0}, {0, 0, 1}));
    Mesh block =
        superellipsoid({0.45f, 0.15f, 0.28f}, 0.15f, 16, 8).translate(onTable(kButter, 0.24f));
    model.add("butter", "butter", block.projectUv({1, 0, 0}, {0, 1, 1}));
    writeObj(model, folder / "breakfast.obj");
}
