// The garden set: a round slatted table (top at y = 8, radius 6, centred at
// x = -0.6, z = 2.75) on an iron pedestal with four curved feet, and four
// iron-framed chairs with wooden slats and striped cushions, facing the table.

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "lib/Family.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

const glm::vec3 kTableCentre(-0.6f, 0.0f, 2.75f);
constexpr float kTopY = 8.0f, kTopRadius = 6.0f;
constexpr float kSeatY = 4.6f;

Mesh rod(std::vector<glm::vec3> points, float radius, int segments = 8) {
    const std::vector<glm::vec3> path = points.size() > 2 ? smoothCurve(points, 3) : points;
    return tube(path, std::vector<float>(path.size(), radius), segments, true, true, 1.0f, 0.5f);
}

Mesh tableTop() {
    Mesh top = lathe({{0.0f, kTopY - 0.3f},
                      {kTopRadius - 0.12f, kTopY - 0.3f},
                      {kTopRadius, kTopY - 0.22f},
                      {kTopRadius, kTopY - 0.08f},
                      {kTopRadius - 0.08f, kTopY},
                      {0.0f, kTopY}},
                     48);
    // Map the boards straight across the top rather than around it.
    top.projectUv({1.0f / 12.5f, 0, 0}, {0, 0, 1.0f / 12.5f}, glm::vec2(0.5f));
    return top.translate(kTableCentre);
}

Mesh tableFrame() {
    Mesh m = lathe({{0.0f, 0.3f},
                    {0.3f, 0.3f},
                    {0.3f, 0.5f},
                    {0.2f, 0.7f},
                    {0.16f, 6.9f},
                    {0.22f, 7.1f},
                    {0.22f, 7.3f},
                    {0.9f, 7.62f},
                    {0.9f, kTopY - 0.3f},
                    {0.0f, kTopY - 0.3f}},
                   16, 2.0f, 0.5f);
    for (int k = 0; k < 4; ++k) {
        const float a = glm::radians(45.0f + 90.0f * k);
        const glm::vec3 d(std::cos(a), 0.0f, std::sin(a));
        auto at = [&](float r, float y) { return d * r + glm::vec3(0, y, 0); };
        m.append(rod({at(0.1f, 1.5f), at(1.2f, 0.85f), at(2.4f, 0.3f), at(3.3f, 0.14f)}, 0.12f));
        m.append(superellipsoid({0.22f, 0.08f, 0.22f}, 0.5f, 10, 6).translate(at(3.35f, 0.08f)));
        m.append(rod({at(0.1f, 6.6f), at(1.5f, 7.3f), at(3.5f, 7.62f), at(4.6f, 7.66f)}, 0.08f));
    }
    return m.translate(kTableCentre);
}

// A chair in its own frame: seat centred on the y axis, front towards +z.
struct Chair {
    Mesh slats, frame, cushion;
};

Chair makeChair() {
    Chair c;
    const float half = 1.85f, tilt = 0.11f;  // back leans 0.11 in z per unit of height
    for (int i = 0; i < 5; ++i) {
        const float z0 = -1.95f + i * 0.8f;
        c.slats.append(box({-2.0f, kSeatY - 0.2f, z0}, {2.0f, kSeatY, z0 + 0.68f}, 0.25f)
                           .scaleUv({1.0f, 1.0f}, {0.0f, 0.13f * i}));
    }
    for (int i = 0; i < 3; ++i) {
        const float y = 6.1f + i * 1.15f;
        const glm::mat4 place =
            glm::rotate(glm::translate(glm::mat4(1.0f), {0.0f, y, -1.95f - tilt * (y - kSeatY)}),
                        -tilt, glm::vec3(1, 0, 0));
        c.slats.append(box({-2.0f, -0.4f, -0.08f}, {2.0f, 0.4f, 0.08f}, 0.25f)
                           .scaleUv({1.0f, 1.0f}, {0.3f, 0.2f * i})
                           .transform(place));
    }
    for (float s : {-1.0f, 1.0f}) {
        const float x = s * half;
        c.frame.append(rod({{x, 0.0f, 1.9f}, {x, kSeatY - 0.2f, 1.75f}}, 0.12f));
        c.frame.append(rod({{x, 0.0f, -2.1f},
                            {x, kSeatY - 0.2f, -1.85f},
                            {x, 7.0f, -1.85f - tilt * 2.4f},
                            {x, 9.4f, -1.85f - tilt * 4.8f}},
                           0.12f));
        c.frame.append(rod({{x, kSeatY - 0.3f, 1.8f}, {x, kSeatY - 0.3f, -1.85f}}, 0.09f));
        c.frame.append(rod({{x, 1.4f, 1.85f}, {x, 1.4f, -2.0f}}, 0.06f));
        c.frame.append(uvSphere(0.17f, 8, 5).translate({x, 9.45f, -1.85f - tilt * 4.9f}));
    }
    c.frame.append(rod({{-half, kSeatY - 0.3f, 1.75f}, {half, kSeatY - 0.3f, 1.75f}}, 0.08f));
    c.frame.append(rod({{-half, kSeatY - 0.3f, -1.85f}, {half, kSeatY - 0.3f, -1.85f}}, 0.08f));
    c.frame.append(
        rod({{-half, 9.2f, -1.85f - tilt * 4.6f}, {half, 9.2f, -1.85f - tilt * 4.6f}}, 0.08f));
    c.cushion = superellipsoid({1.75f, 0.2f, 1.75f}, 0.22f, 20, 10)
                    .translate({0.0f, kSeatY + 0.19f, 0.05f})
                    .smoothNormals(75.0f);
    c.cushion.projectUv({0.25f, 0, 0}, {0, 0, 0.25f});
    return c;
}

}  // namespace

ASSETGEN_FAMILY(furniture) {
    const auto folder = root / "models/furniture";
    WoodStyle teak;
    teak.light = {0.66f, 0.47f, 0.30f};
    teak.dark = {0.42f, 0.27f, 0.15f};
    teak.boards = 8;
    teak.rings = 20;
    teak.weather = 0.15f;
    teak.seed = 701u;
    const Image wood = woodTexture(512, teak);
    const Image iron = metalTexture(256, glm::vec3(0.11f, 0.115f, 0.12f), 0.08f, 702u);
    const Image cloth = clothTexture(256, {0.86f, 0.82f, 0.70f}, {0.28f, 0.45f, 0.33f}, 32, 703u);

    ObjModel model;
    model.addMaterial(
        saveMaterial(folder, "wood", wood, specularFrom(wood, 128, 0.1f, 0.35f), 0.3f));
    model.addMaterial(
        saveMaterial(folder, "iron", iron, specularFrom(iron, 128, 0.5f, -0.6f), 0.6f));
    model.addMaterial(saveMaterial(folder, "cushion", cloth, greyTexture(64, 0.08f), 0.05f));
    model.add("tableTop", "wood", tableTop());
    model.add("tableFrame", "iron", tableFrame());

    const Chair chair = makeChair();
    const float angles[] = {-30.0f, 65.0f, 160.0f, 245.0f};  // around the table, in the xz plane
    for (float angle : angles) {
        const float a = glm::radians(angle);
        const glm::vec3 at = kTableCentre + 7.6f * glm::vec3(std::cos(a), 0.0f, std::sin(a));
        // Turn the chair's front (+z) towards the table's centre.
        const float yaw = glm::degrees(std::atan2(-std::cos(a), -std::sin(a)));
        const glm::mat4 place = placeAt(at, yaw);
        model.add("chairSlats", "wood", Mesh(chair.slats).transform(place));
        model.add("chairFrames", "iron", Mesh(chair.frame).transform(place));
        model.add("cushions", "cushion", Mesh(chair.cushion).transform(place));
    }
    writeObj(model, folder / "furniture.obj");
}
