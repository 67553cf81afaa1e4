// The dark iron garden lamp: an octagonal plinth, a turned post up to y = 18,
// a cross-bar with scroll brackets carrying two shades over x = -2.5 and 2.5,
// and a swan-neck side arm out to x = -5 ending in a downward shade at y = 15.
// The glass bulbs are a model of their own, hanging under the shades.

#include <cmath>

#include "lib/Family.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

const glm::vec3 kBulbs[] = {{-2.5f, 16.5f, 0.0f}, {2.5f, 16.5f, 0.0f}, {-5.0f, 14.6f, 0.0f}};
constexpr float kBulbRadius = 0.45f;

// A shade whose rim is at y = 0 with the given radius, rising to height h.
Mesh shade(float radius, float h) {
    return lathe({{0.0f, 0.3f * h},
                  {radius, 0.0f},
                  {radius + 0.04f, 0.0f},
                  {radius + 0.04f, 0.06f},
                  {0.12f, h * 0.92f},
                  {0.0f, h}},
                 20);
}

Mesh ironTube(std::vector<glm::vec3> points, float radius) {
    const std::vector<glm::vec3> path = smoothCurve(points, 4);
    return tube(path, std::vector<float>(path.size(), radius), 10, true, true, 1.0f, 0.5f);
}

Mesh lampPost() {
    Mesh m = lathe({{0.0f, 0.0f},
                    {0.85f, 0.0f},
                    {0.85f, 0.35f},
                    {0.7f, 0.5f},
                    {0.55f, 0.56f},
                    {0.5f, 1.6f},
                    {0.62f, 1.72f},
                    {0.62f, 1.85f},
                    {0.38f, 2.0f},
                    {0.0f, 2.0f}},
                   8, 2.0f, 0.5f);
    m.smoothNormals(30.0f);  // keep the plinth's eight faces flat
    m.append(
        lathe({{0.0f, 1.95f},   {0.32f, 1.95f},  {0.32f, 2.15f},  {0.26f, 2.3f},   {0.24f, 8.0f},
               {0.3f, 8.1f},    {0.3f, 8.3f},    {0.23f, 8.4f},   {0.2f, 15.5f},   {0.27f, 15.6f},
               {0.27f, 15.8f},  {0.2f, 15.9f},   {0.19f, 17.3f},  {0.28f, 17.4f},  {0.28f, 17.7f},
               {0.14f, 17.8f},  {0.12f, 17.82f}, {0.17f, 17.86f}, {0.19f, 17.96f}, {0.15f, 18.07f},
               {0.05f, 18.15f}, {0.0f, 18.3f}},
              16, 2.0f, 0.5f));
    return m;
}

Mesh crossBar() {
    Mesh m = ironTube({{-3.0f, 17.55f, 0.0f}, {3.0f, 17.55f, 0.0f}}, 0.09f);
    for (float s : {-1.0f, 1.0f}) {
        m.append(uvSphere(0.14f, 10, 6).translate({3.05f * s, 17.55f, 0.0f}));
        // Scroll bracket from the post up to the bar, curling at its inner end.
        m.append(ironTube({{0.55f * s, 16.55f, 0.0f},
                           {0.35f * s, 16.35f, 0.0f},
                           {0.15f * s, 16.2f, 0.0f},
                           {1.0f * s, 16.35f, 0.0f},
                           {1.8f * s, 16.85f, 0.0f},
                           {2.2f * s, 17.5f, 0.0f}},
                          0.06f));
        // Hanger, shade and socket over the bulb.
        const glm::vec3 bulb = kBulbs[s < 0 ? 0 : 1];
        m.append(cylinder(0.05f, 17.35f, 17.55f, 8).translate({bulb.x, 0.0f, 0.0f}));
        m.append(shade(0.6f, 0.42f).translate({bulb.x, 16.98f, 0.0f}));
        m.append(cylinder(0.17f, 16.88f, 17.15f, 12).translate({bulb.x, 0.0f, 0.0f}));
    }
    return m;
}

Mesh sideArm() {
    const glm::vec3 bulb = kBulbs[2];
    Mesh m = ironTube({{0.0f, 14.0f, 0.0f},
                       {-1.2f, 14.3f, 0.0f},
                       {-2.6f, 15.0f, 0.0f},
                       {-3.8f, 15.7f, 0.0f},
                       {-4.7f, 15.95f, 0.0f},
                       {-5.0f, 15.75f, 0.0f},
                       {-5.0f, 15.5f, 0.0f}},
                      0.08f);
    m.append(ironTube(
        {{0.0f, 13.0f, 0.0f}, {-1.4f, 13.7f, 0.0f}, {-2.4f, 14.6f, 0.0f}, {-2.8f, 15.2f, 0.0f}},
        0.05f));
    m.append(shade(0.55f, 0.6f).translate({bulb.x, 15.0f, 0.0f}));
    m.append(cylinder(0.15f, 14.98f, 15.3f, 12).translate({bulb.x, 0.0f, 0.0f}));
    return m;
}

}  // namespace

ASSETGEN_FAMILY(streetLamp) {
    const auto folder = root / "models/streetLamp";
    const Image iron = metalTexture(256, glm::vec3(0.085f, 0.085f, 0.095f), 0.12f, 601u);
    ObjModel lamp;
    lamp.addMaterial(
        saveMaterial(folder, "iron", iron, specularFrom(iron, 128, 0.45f, -0.8f), 0.6f));
    lamp.add("post", "iron", lampPost());
    lamp.add("crossBar", "iron", crossBar());
    lamp.add("sideArm", "iron", sideArm());
    writeObj(lamp, folder / "streetLamp.obj");

    Image glass(128, 128, 3);
    glass.fill([](int, int, float, float v) {
        // Brightest round the filament's height, a little amber towards the neck.
        const float band = std::exp(-40.0f * (v - 0.5f) * (v - 0.5f));
        return glm::vec3(1.0f, 0.9f + 0.08f * band, 0.7f + 0.2f * band);
    });
    ObjModel bulbs;
    bulbs.addMaterial(saveMaterial(folder, "bulb", glass, greyTexture(64, 0.9f), 0.9f));
    const char* names[] = {"bulbLeft", "bulbRight", "bulbSide"};
    for (int i = 0; i < 3; ++i)
        bulbs.add(names[i], "bulb", uvSphere(kBulbRadius, 24, 12).translate(kBulbs[i]));
    writeObj(bulbs, folder / "lightBulbs.obj");
}
