// A painted wooden rowing boat with lapped planks, 460 long (stern transom at x = -230,
// stem at x = 230), 130 in the beam, keel at y = -15 and gunwale at y = 45
// amidships, floating with its waterline at y = 7.7 (antifouling below, a
// white boot stripe on it). Inside: ribs, floorboards, three thwarts and a
// stern seat; two oars rest in their rowlocks, trailing aft.

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

constexpr float kHalfLength = 230.0f, kHalfBeam = 65.0f;
constexpr float kKeel = -15.0f, kGunwale = 45.0f, kWaterline = 7.7f, kShell = 2.0f;
constexpr float kPaintBottom = kKeel, kPaintRange = 71.0f;  // v = (y - bottom) / range
constexpr int kStations = 40, kGirth = 11;

// The hull's shape at s in [0, 1] from the transom to the stem.
struct Station {
    float x, halfBeam, keel, sheer, vee;
};

Station station(float s) {
    Station st;
    st.x = -kHalfLength + 2.0f * kHalfLength * s;
    const float mid = 0.45f;
    if (s < mid) {
        st.halfBeam = kHalfBeam * (0.65f + 0.35f * std::sin(1.5707963f * s / mid));
        st.sheer = kGunwale + 4.0f * std::pow((mid - s) / mid, 2.0f);
    } else {
        const float f = (s - mid) / (1.0f - mid);
        st.halfBeam = kHalfBeam * std::pow(std::max(0.0f, std::cos(1.5707963f * f)), 0.8f);
        st.sheer = kGunwale + 11.0f * f * f;
    }
    st.keel = kKeel;
    if (s > 0.7f)
        st.keel += (st.sheer - kKeel) * std::pow((s - 0.7f) / 0.3f, 2.2f);  // the forefoot
    if (s < 0.15f) st.keel += 12.0f * std::pow((0.15f - s) / 0.15f, 2.0f);  // the run aft
    st.vee = std::clamp((s - 0.55f) / 0.45f, 0.0f, 1.0f);
    return st;
}

// Starboard outer section point (z, y); phi 0 at the keel, 1 at the gunwale.
glm::vec2 outerPoint(const Station& st, float phi) {
    const float a = 1.5707963f * phi;
    const float z = st.halfBeam * std::pow(std::sin(a), glm::mix(0.7f, 1.0f, st.vee));
    return {z, st.keel + (st.sheer - st.keel) * (1.0f - std::cos(a))};
}

// The same point moved a shell's thickness into the boat.
glm::vec2 innerPoint(const Station& st, float phi, float depth = kShell) {
    const float h = 1e-3f;
    const glm::vec2 t =
        outerPoint(st, std::min(phi + h, 1.0f)) - outerPoint(st, std::max(phi - h, 0.0f));
    glm::vec2 n(-t.y, t.x);
    n = glm::length(n) > 0.0f ? glm::normalize(n) : glm::vec2(0.0f, 1.0f);
    glm::vec2 p = outerPoint(st, phi) + depth * n;
    p.x = std::max(p.x, 0.0f);
    p.y = std::min(p.y, st.sheer);
    return p;
}

float innerHalfWidthAt(const Station& st, float y) {
    float best = 0.0f;
    for (int k = 0; k <= 200; ++k) {
        const glm::vec2 p = innerPoint(st, k / 200.0f);
        if (p.y <= y) best = p.x;
    }
    return best;
}

enum class Strip { Outer, Inner, Caps };

// One band of the hull's cross-section lofted from stern to stem. All bands
// walk the section the same way round (down the starboard side, up the port
// side, down inside port, up inside starboard), so their faces point outwards.
Mesh hullStrip(Strip which) {
    std::vector<std::vector<glm::vec3>> rings;
    std::vector<float> vs;
    for (int i = 0; i <= kStations; ++i) {
        const Station st = station(float(i) / kStations);
        std::vector<glm::vec2> section;
        auto at = [&](glm::vec2 p, float side) { section.emplace_back(side * p.x, p.y); };
        if (which == Strip::Outer) {
            for (int k = kGirth; k >= 0; --k) at(outerPoint(st, float(k) / kGirth), 1.0f);
            for (int k = 1; k <= kGirth; ++k) at(outerPoint(st, float(k) / kGirth), -1.0f);
        } else if (which == Strip::Inner) {
            for (int k = kGirth; k >= 0; --k) at(innerPoint(st, float(k) / kGirth), -1.0f);
            for (int k = 1; k <= kGirth; ++k) at(innerPoint(st, float(k) / kGirth), 1.0f);
        } else {
            // The port gunwale's top, outer edge to inner; mirrored to starboard below.
            at(outerPoint(st, 1.0f), -1.0f);
            at(innerPoint(st, 1.0f), -1.0f);
        }
        std::vector<glm::vec3> ring;
        for (glm::vec2 p : section) ring.emplace_back(st.x, p.y, p.x);
        rings.push_back(ring);
        vs.push_back(0.0f);
    }
    std::vector<float> us(rings[0].size(), 0.0f);
    Mesh m = loft(rings, us, vs);
    if (which == Strip::Caps) {
        // Mirror the port cap to starboard; the mirror keeps faces outwards.
        Mesh starboard = m;
        m.append(starboard.transform(glm::scale(glm::mat4(1.0f), {1.0f, 1.0f, -1.0f})));
    }
    m.projectUv({3.0f / (2.0f * kHalfLength), 0, 0}, {0, 1.0f / kPaintRange, 0},
                {1.5f, -kPaintBottom / kPaintRange});
    return m.smoothNormals(50.0f);
}

Mesh transom() {
    const Station st = station(0.0f);
    std::vector<glm::vec2> outline;
    for (int k = kGirth; k >= 0; --k) {
        const glm::vec2 p = outerPoint(st, float(k) / kGirth);
        outline.emplace_back(p.x, p.y);
    }
    for (int k = 1; k <= kGirth; ++k) {
        const glm::vec2 p = outerPoint(st, float(k) / kGirth);
        outline.emplace_back(-p.x, p.y);
    }
    // Polygon (z, y) extruded along x from the stern inwards.
    const glm::mat4 axes(glm::vec4(0, 0, 1, 0), glm::vec4(0, 1, 0, 0), glm::vec4(1, 0, 0, 0),
                         glm::vec4(-kHalfLength - 0.5f, 0, 0, 1));
    Mesh m = extrude(outline, 0.0f, 3.5f, 1.0f).transform(axes);
    return m.projectUv({0, 0, 0.01f}, {0, 1.0f / kPaintRange, 0}, {0.5f, 0.2f});
}

Mesh pathTube(const std::vector<glm::vec3>& path, float radius, int segments) {
    return tube(path, std::vector<float>(path.size(), radius), segments, true, true, 1.0f, 0.01f);
}

Mesh keelAndRails() {
    std::vector<glm::vec3> keel, railPort, railStarboard;
    for (int i = 0; i <= 32; ++i) {
        const float s = std::min(0.995f, 0.01f + float(i) / 32.0f);
        const Station st = station(s);
        keel.emplace_back(st.x, st.keel + 0.5f, 0.0f);
        const glm::vec2 top = outerPoint(st, 1.0f);
        railStarboard.emplace_back(st.x, top.y - 1.8f, top.x + 0.6f);
        railPort.emplace_back(st.x, top.y - 1.8f, -top.x - 0.6f);
    }
    Mesh m = pathTube(keel, 2.5f, 6);
    m.append(pathTube(railStarboard, 2.2f, 5));
    m.append(pathTube(railPort, 2.2f, 5));
    return m;
}

Mesh ribsAndBoards() {
    Mesh m;
    for (float s : {0.16f, 0.3f, 0.44f, 0.58f, 0.72f}) {
        const Station st = station(s);
        std::vector<glm::vec3> path;
        for (int k = kGirth; k >= 0; --k) {
            const glm::vec2 p = innerPoint(st, float(k) / kGirth, kShell + 1.3f);
            path.emplace_back(st.x, std::min(p.y, st.sheer - 2.0f), -p.x);
        }
        for (int k = 1; k <= kGirth; ++k) {
            const glm::vec2 p = innerPoint(st, float(k) / kGirth, kShell + 1.3f);
            path.emplace_back(st.x, std::min(p.y, st.sheer - 2.0f), p.x);
        }
        m.append(pathTube(path, 1.6f, 5));
    }
    const float floorY = kKeel + kShell + 3.2f;
    for (float z : {-13.0f, 0.0f, 13.0f})
        m.append(box({-150.0f, floorY, z - 5.5f}, {120.0f, floorY + 1.5f, z + 5.5f}, 0.01f));
    // Thwarts and the stern seat rest on the ribs' line, fitted to the hull.
    for (float s : {0.25f, 0.52f, 0.76f}) {
        const Station st = station(s);
        const float top = 29.0f, half = innerHalfWidthAt(st, top - 3.0f) + 0.5f;
        m.append(box({st.x - 12.0f, top - 3.0f, -half}, {st.x + 12.0f, top, half}, 0.01f));
    }
    const Station aft = station(0.05f);
    const float half = innerHalfWidthAt(aft, 25.0f) + 0.5f;
    m.append(box({-kHalfLength + 2.0f, 25.0f, -half}, {aft.x + 20.0f, 28.0f, half}, 0.01f));
    return m.projectUv({0.006f, 0, 0.002f}, {0.002f, 0.02f, 0.006f});
}

// An oar along +x from its handle (x = 0) to its blade tip (x = 290), blade flat.
Mesh oar() {
    Mesh m = pathTube({{0, 0, 0}, {22, 0, 0}}, 2.0f, 8);
    m.append(tube({{22, 0, 0}, {120, 0, 0}, {215, 0, 0}}, {2.7f, 2.6f, 2.1f}, 8, true, true, 1.0f,
                  0.01f));
    const std::vector<glm::vec2> blade = {{200, -1.6f}, {230, -6.0f}, {270, -8.0f},
                                          {288, -6.5f}, {291, 0.0f},  {288, 6.5f},
                                          {270, 8.0f},  {230, 6.0f},  {200, 1.6f}};
    const glm::mat4 flat = glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), glm::vec3(1, 0, 0));
    m.append(extrude(blade, -0.7f, 0.7f, 0.01f).transform(flat));
    return m.projectUv({0.004f, 0, 0}, {0, 0.05f, 0.05f});
}

// Rowlock at the gunwale and the oar resting in it, for side +1 (starboard) or -1.
void oarAndRowlock(float side, Mesh& oars, Mesh& iron) {
    const Station st = station(0.56f);
    const glm::vec2 top = outerPoint(st, 1.0f);
    const glm::vec3 pivot(st.x, top.y + 3.0f, side * (top.x - 1.5f));
    iron.append(cylinder(1.2f, top.y - 5.0f, top.y + 2.0f, 8).translate({pivot.x, 0.0f, pivot.z}));
    std::vector<glm::vec3> horn;
    for (int k = 0; k <= 8; ++k) {
        const float a = 3.14159265f * k / 8.0f;
        horn.push_back(pivot +
                       glm::vec3(4.0f * std::cos(a), 1.0f + 4.0f * std::sin(a) - 2.0f, 0.0f));
    }
    iron.append(pathTube(horn, 0.9f, 6));

    const glm::vec3 along = glm::normalize(glm::vec3(-0.72f, -0.15f, side * 0.67f));
    const glm::vec3 up = glm::normalize(glm::vec3(0, 1, 0) - along * along.y);
    const glm::vec3 across = glm::cross(along, up);
    const glm::mat4 orient(glm::vec4(along, 0), glm::vec4(up, 0), glm::vec4(across, 0),
                           glm::vec4(pivot - 85.0f * along, 1));
    oars.append(oar().transform(orient));
}

Image paintTexture(uint32_t seed) {
    Image img(512, 512, 3);
    const glm::vec3 antifouling(0.40f, 0.11f, 0.08f), boot(0.92f, 0.91f, 0.86f);
    const glm::vec3 topside(0.10f, 0.30f, 0.40f), bare(0.55f, 0.40f, 0.25f);
    img.fill([&](int, int, float u, float vImage) {
        const float y = (1.0f - vImage) * kPaintRange + kPaintBottom;
        const float grime = tileFbm(u, vImage, 8, seed, 4);
        if (y < kWaterline - 0.6f) return antifouling * (0.85f + 0.25f * grime);
        if (y < kWaterline + 2.4f) return boot * (0.93f + 0.07f * grime);
        // Overlapping planks: each one a little darker along its lower edge.
        const float plank = std::fmod(y - kWaterline - 2.4f, 8.5f) / 8.5f;
        glm::vec3 c = topside * (0.78f + 0.25f * std::sqrt(plank) + 0.1f * grime);
        const float wear = tileFbm(u, vImage, 12, seed + 1u, 4) + 0.3f * (y - 30.0f) / 40.0f;
        if (wear > 0.42f) c = bare * (0.8f + 0.2f * grime);
        return c;
    });
    return img;
}

}  // namespace

ASSETGEN_FAMILY(boat) {
    const auto folder = root / "models/boat2";
    const Image paint = paintTexture(1501u);
    WoodStyle varnish;
    varnish.light = {0.74f, 0.52f, 0.30f};
    varnish.dark = {0.47f, 0.28f, 0.14f};
    varnish.boards = 4;
    varnish.rings = 18;
    varnish.seed = 1502u;
    const Image wood = woodTexture(512, varnish);
    const Image iron = metalTexture(64, glm::vec3(0.25f, 0.24f, 0.22f), 0.3f, 1503u);

    ObjModel model;
    model.addMaterial(
        saveMaterial(folder, "paint", paint, specularFrom(paint, 128, 0.15f, 0.4f), 0.4f));
    model.addMaterial(
        saveMaterial(folder, "wood", wood, specularFrom(wood, 128, 0.2f, 0.5f), 0.5f));
    model.addMaterial(saveMaterial(folder, "iron", iron, specularFrom(iron, 64, 0.4f, 0.0f), 0.4f));
    model.add("hull", "paint", hullStrip(Strip::Outer));
    model.add("hull", "paint", transom());
    model.add("inside", "wood", hullStrip(Strip::Inner));
    model.add("inside", "wood", hullStrip(Strip::Caps));
    model.add("inside", "wood", keelAndRails());
    model.add("inside", "wood", ribsAndBoards());
    Mesh oars, rowlocks;
    oarAndRowlock(1.0f, oars, rowlocks);
    oarAndRowlock(-1.0f, oars, rowlocks);
    model.add("oars", "wood", oars);
    model.add("rowlocks", "iron", rowlocks);
    writeObj(model, folder / "boat.obj");
}
