// A leafy broadleaf tree, 2.2 high (placed at scale 18): a flared trunk that
// splits into five limbs with twigs, and a rounded crown of cut-out leaf
// cards (RGBA texture, drawn from both sides by the program). Each card
// faces away from the crown's centre and its normals lean outwards, so the
// crown is lit like one round mass.
//
// Two lighter forms for reduced frames come from the same random stream.
// The far form (treeFar.obj), for a tree seen from afar: the same trunk and
// limbs with fewer sides and no twigs (they end inside the crown), and every
// fourth card at twice the size. The thin form (treeThin.obj), for a tree
// seen near in a small picture: the same wood, and every fourth card at 1.3
// times the size, so a pixel of the crown lies behind fewer cards (about two
// fifths as many; the crown still hides the sky behind it). Each larger card
// is moved in, so that the crown keeps its outline and cover. The distant
// form (treeDistant.obj), for a tree a long way off: the far form's wood and,
// for the crown, three upright sheets crossed at 60 degrees, each showing a
// picture of the whole tree's leaf cards seen from the side (crown.png). A
// sheet's normals lean out from the crown's middle and up, so that it is lit
// like a round mass too.

#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "lib/Family.h"
#include "lib/Noise.h"
#include "lib/ObjWriter.h"
#include "lib/Shapes.h"
#include "lib/Surfaces.h"

using namespace assetgen;

namespace {

const glm::vec3 kCrownCentre(0.0f, 1.42f, 0.0f);
const glm::vec3 kCrownRadii(0.82f, 0.62f, 0.82f);
constexpr int kCards = 1100;
constexpr int kFarCardEvery = 4;
constexpr float kFarCardGrowth = 2.0f;
constexpr int kThinCardEvery = 4;
constexpr float kThinCardGrowth = 1.3f;

// The sides of the trunk's, the limbs' and the twigs' tubes (0: left out).
struct WoodSides {
    int trunk, limbs, twigs;
};
constexpr WoodSides kNearWood{9, 7, 5};
constexpr WoodSides kFarWood{6, 4, 0};
constexpr float kTwoPi = 6.28318531f;

glm::vec3 randomDirection(Rng& rng) {
    const float z = rng.uniform(-1.0f, 1.0f), a = rng.uniform(0.0f, kTwoPi);
    const float r = std::sqrt(1.0f - z * z);
    return {r * std::cos(a), z, r * std::sin(a)};
}

// A branch from `from` to `to` that bows upwards, tapering between two radii.
Mesh limb(glm::vec3 from, glm::vec3 to, float r0, float r1, int segments, Rng& rng) {
    std::vector<glm::vec3> path;
    std::vector<float> radii;
    const int steps = 6;
    for (int i = 0; i <= steps; ++i) {
        const float t = float(i) / steps;
        glm::vec3 p = glm::mix(from, to, t);
        p.y += 0.08f * glm::length(to - from) * std::sin(3.14159265f * t);
        if (i > 0 && i < steps) p += 0.02f * randomDirection(rng);
        path.push_back(p);
        radii.push_back(glm::mix(r0, r1, t));
    }
    return tube(path, radii, segments, false, true, 1.0f, 3.0f);
}

Mesh trunkAndBranches(Rng& rng, std::vector<glm::vec3>& twigEnds, WoodSides sides) {
    std::vector<glm::vec3> path;
    std::vector<float> radii;
    for (int i = 0; i <= 8; ++i) {
        const float t = float(i) / 8.0f;
        path.emplace_back(0.015f * std::sin(5.0f * t), -0.05f + 0.9f * t,
                          0.01f * std::cos(4.0f * t));
        radii.push_back(0.055f + 0.05f * std::exp(-t * 14.0f) - 0.015f * t);  // flared foot
    }
    Mesh m = tube(path, radii, sides.trunk, true, true, 1.0f, 3.0f);
    const glm::vec3 fork = path.back();
    for (int i = 0; i < 5; ++i) {
        const float azimuth = kTwoPi * (i + rng.uniform(-0.2f, 0.2f)) / 5.0f;
        const float spread = rng.uniform(0.55f, 0.8f);
        const glm::vec3 dir(std::cos(azimuth) * spread, 1.0f, std::sin(azimuth) * spread);
        const glm::vec3 from = fork - glm::vec3(0.0f, rng.uniform(0.0f, 0.15f), 0.0f);
        const glm::vec3 end = kCrownCentre +
                              glm::normalize(dir) * kCrownRadii * rng.uniform(0.45f, 0.6f) -
                              glm::vec3(0.0f, 0.25f, 0.0f);
        m.append(limb(from, end, 0.035f, 0.018f, sides.limbs, rng));
        for (int k = 0; k < 3; ++k) {
            const glm::vec3 start = glm::mix(from, end, rng.uniform(0.5f, 1.0f));
            glm::vec3 out = glm::normalize(end - from) + 0.9f * randomDirection(rng);
            out.y = std::abs(out.y) + 0.2f;
            const glm::vec3 tip = start + glm::normalize(out) * rng.uniform(0.3f, 0.5f);
            const Mesh twig = limb(start, tip, 0.014f, 0.006f, std::max(sides.twigs, 3), rng);
            if (sides.twigs > 0) m.append(twig);
            twigEnds.push_back(tip);
        }
    }
    return m;
}

// The crown's cards; with `every` above 1, only every so many of them, each
// `grow` times as wide and high and moved in by its growth.
Mesh leafCards(Rng& rng, const std::vector<glm::vec3>& twigEnds, int every, float grow) {
    Mesh m;
    for (int i = 0; i < kCards; ++i) {
        // Two cards in three sit round the twig ends, the rest fill the crown's shell.
        glm::vec3 at;
        if (i % 3 != 0) {
            at = twigEnds[size_t(rng.range(0, int(twigEnds.size()) - 1))] +
                 0.22f * randomDirection(rng);
        } else {
            at = kCrownCentre +
                 randomDirection(rng) * kCrownRadii * std::cbrt(rng.uniform(0.3f, 1.0f));
        }
        glm::vec3 radial = at - kCrownCentre;
        radial = glm::length(radial) > 1e-4f ? glm::normalize(radial) : glm::vec3(0, 1, 0);
        const glm::vec3 facing = glm::normalize(radial + 0.8f * randomDirection(rng));
        const glm::vec3 n = glm::dot(facing, radial) > 0.05f ? facing : radial;
        glm::vec3 side = glm::cross(n, randomDirection(rng));
        if (glm::length(side) < 1e-3f) side = glm::cross(n, glm::vec3(1, 0, 0));
        side = glm::normalize(side);
        const glm::vec3 up = glm::cross(n, side);  // side x up = n
        const float drawnSize = rng.uniform(0.26f, 0.36f);
        const float size = drawnSize * grow;
        const int cell = rng.range(0, 3);
        if (i % every != 0) continue;
        // A larger card sits further in, so that the crown keeps its outline.
        at -= radial * (0.5f * (size - drawnSize));
        const glm::vec2 uv0(0.5f * (cell % 2), 0.5f * (cell / 2));
        Mesh card = quad(at - 0.5f * size * (side + up), size * side, size * up, uv0, uv0 + 0.5f);
        card.setNormals(glm::normalize(n + 1.5f * radial));
        m.append(card);
    }
    return m;
}

// Four sprigs in a 2 x 2 atlas, each a few leaves round a twig; alpha 0
// between them, coloured like the leaves so filtering leaves no fringe.
Image leafAtlas(int size, uint32_t seed) {
    Image img(size, size, 4);
    const glm::vec3 fringe(0.16f, 0.28f, 0.08f);
    img.fill([&](int, int, float, float) { return glm::vec4(fringe, 0.0f); });
    Rng rng(seed);
    const int cell = size / 2;
    for (int c = 0; c < 4; ++c) {
        const glm::vec2 origin(float(cell * (c % 2)), float(cell * (c / 2)));
        const int leaves = rng.range(6, 8);
        for (int l = 0; l < leaves; ++l) {
            const float angle = kTwoPi * (l + rng.uniform(-0.25f, 0.25f)) / leaves;
            const glm::vec2 dir(std::cos(angle), std::sin(angle));
            const glm::vec2 base = origin + glm::vec2(0.5f * cell) + dir * (0.05f * cell);
            const float length = rng.uniform(0.34f, 0.44f) * cell,
                        width = length * rng.uniform(0.38f, 0.48f);
            const glm::vec3 tint =
                glm::mix(glm::vec3(0.20f, 0.40f, 0.10f), glm::vec3(0.42f, 0.52f, 0.14f),
                         rng.uniform(0.0f, 0.6f));
            for (int y = int(origin.y); y < int(origin.y) + cell; ++y) {
                for (int x = int(origin.x); x < int(origin.x) + cell; ++x) {
                    const glm::vec2 d = glm::vec2(x + 0.5f, y + 0.5f) - base;
                    const float s = glm::dot(d, dir) / length,
                                t = (d.x * -dir.y + d.y * dir.x) / width;
                    if (s <= 0.0f || s >= 1.0f) continue;
                    const float half =
                        0.5f * std::pow(std::sin(3.14159265f * std::pow(s, 0.8f)), 0.9f);
                    if (std::abs(t) > half) continue;
                    const float rib = std::exp(-t * t * 900.0f) * 0.35f;
                    const float light = 0.85f + 0.3f * (0.5f - std::abs(t)) +
                                        0.1f * noise2(x * 0.08f, y * 0.08f, seed + uint32_t(c));
                    img.set(x, y,
                            glm::vec4(glm::mix(tint * light, glm::vec3(0.55f, 0.65f, 0.3f), rib),
                                      1.0f));
                }
            }
        }
    }
    return img;
}

// The picture's part of a sheet: x across the crown, y from its foot to its top.
constexpr float kSheetHalfWidth = 1.08f;
constexpr float kSheetFoot = 0.55f, kSheetTop = 2.3f;

// The crown's cards seen from the side (along -z, orthographic): for each
// pixel the nearest card texel the atlas keeps, darker the further inside the
// crown its card lies, and alpha 0 with the leaves' fringe colour elsewhere.
// Row 0 is the top, as texture coordinate v 0 reads it.
Image crownPicture(const Mesh& cards, const Image& atlas, int width, int height) {
    Image img(width, height, 4);
    const glm::vec3 fringe(0.16f, 0.28f, 0.08f);
    img.fill([&](int, int, float, float) { return glm::vec4(fringe, 0.0f); });
    std::vector<float> nearest(size_t(width) * size_t(height), -1e9f);
    const auto toPixel = [&](glm::vec3 p) {
        return glm::vec2((p.x + kSheetHalfWidth) / (2.0f * kSheetHalfWidth) * float(width),
                         (kSheetTop - p.y) / (kSheetTop - kSheetFoot) * float(height));
    };
    for (const glm::uvec3& t : cards.triangles) {
        const glm::vec2 a = toPixel(cards.positions[t.x]), b = toPixel(cards.positions[t.y]),
                        c = toPixel(cards.positions[t.z]);
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::abs(area) < 1e-6f) continue;  // edge-on
        const int x0 = std::max(0, int(std::floor(std::min({a.x, b.x, c.x})))),
                  x1 = std::min(width - 1, int(std::ceil(std::max({a.x, b.x, c.x})))),
                  y0 = std::max(0, int(std::floor(std::min({a.y, b.y, c.y})))),
                  y1 = std::min(height - 1, int(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const glm::vec2 p(float(x) + 0.5f, float(y) + 0.5f);
                const float wb = ((p.x - a.x) * (c.y - a.y) - (p.y - a.y) * (c.x - a.x)) / area;
                const float wc = ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / area;
                const float wa = 1.0f - wb - wc;
                if (wa < 0.0f || wb < 0.0f || wc < 0.0f) continue;
                const glm::vec3 at = wa * cards.positions[t.x] + wb * cards.positions[t.y] +
                                     wc * cards.positions[t.z];
                float& depth = nearest[size_t(y) * size_t(width) + size_t(x)];
                if (at.z <= depth) continue;
                const glm::vec2 uv =
                    wa * cards.uvs[t.x] + wb * cards.uvs[t.y] + wc * cards.uvs[t.z];
                const glm::vec4 texel =
                    atlas.get(std::clamp(int(uv.x * float(atlas.width)), 0, atlas.width - 1),
                              std::clamp(int(uv.y * float(atlas.height)), 0, atlas.height - 1));
                if (texel.a < 0.5f) continue;
                depth = at.z;
                const float inside = glm::length((at - kCrownCentre) / kCrownRadii);
                const float shade = glm::mix(0.6f, 1.0f, std::clamp(inside, 0.0f, 1.0f));
                img.set(x, y, glm::vec4(glm::vec3(texel) * shade, 1.0f));
            }
        }
    }
    return img;
}

// Three upright sheets through the crown's axis, 60 degrees apart, each a
// grid of cells carrying the whole picture.
Mesh crownSheets() {
    constexpr int kCells = 4;
    Mesh m;
    for (int s = 0; s < 3; ++s) {
        const float angle = kTwoPi * float(s) / 6.0f;
        const glm::vec3 across(std::cos(angle), 0.0f, std::sin(angle));
        Mesh sheet;
        for (int j = 0; j <= kCells; ++j) {
            for (int i = 0; i <= kCells; ++i) {
                const float u = float(i) / kCells, v = float(j) / kCells;
                const float x = (2.0f * u - 1.0f) * kSheetHalfWidth;
                const float y = glm::mix(kSheetTop, kSheetFoot, v);
                // Out from the crown's middle, and up.
                const float up = 0.3f + (y - kCrownCentre.y) / kCrownRadii.y;
                const glm::vec3 n =
                    glm::normalize(across * (x / kCrownRadii.x) + glm::vec3(0.0f, up, 0.0f));
                sheet.addVertex(across * x + glm::vec3(0.0f, y, 0.0f), {u, v}, n);
            }
        }
        for (int j = 0; j < kCells; ++j)
            for (int i = 0; i < kCells; ++i) {
                const uint32_t a = uint32_t(j * (kCells + 1) + i);
                sheet.addQuad(a + uint32_t(kCells + 1), a + uint32_t(kCells + 2), a + 1, a);
            }
        m.append(sheet);
    }
    return m;
}

}  // namespace

ASSETGEN_FAMILY(tree) {
    const auto folder = root / "models/tree2";
    const Image bark = barkTexture(256, 1302u);
    const Image leaves = leafAtlas(512, 1303u);
    const Material barkMaterial =
        saveMaterial(folder, "bark", bark, specularFrom(bark, 64, 0.0f, 0.25f), 0.1f);
    const Material leafMaterial =
        saveMaterial(folder, "leaves", leaves, specularFrom(leaves, 128, 0.05f, 0.4f), 0.3f);
    // The wood and the cards of the tree and its lighter forms, each from the
    // same random stream.
    const auto parts = [](WoodSides sides, int cardEvery, float cardGrowth) {
        Rng rng(1301u);
        std::vector<glm::vec3> twigEnds;
        std::pair<Mesh, Mesh> woodAndCards;
        woodAndCards.first = trunkAndBranches(rng, twigEnds, sides);
        woodAndCards.second = leafCards(rng, twigEnds, cardEvery, cardGrowth);
        return woodAndCards;
    };
    const auto write = [&](const Mesh& wood, const Material& crownMaterial, const Mesh& crown,
                           const char* file) {
        ObjModel model;
        model.addMaterial(barkMaterial);
        model.addMaterial(crownMaterial);
        model.add("trunk", "bark", wood);
        model.add("leaves", crownMaterial.name, crown);
        writeObj(model, folder / file);
    };
    const auto [nearWood, cards] = parts(kNearWood, 1, 1.0f);
    write(nearWood, leafMaterial, cards, "tree.obj");
    const auto [farWood, farCards] = parts(kFarWood, kFarCardEvery, kFarCardGrowth);
    write(farWood, leafMaterial, farCards, "treeFar.obj");
    const auto [thinWood, thinCards] = parts(kNearWood, kThinCardEvery, kThinCardGrowth);
    write(thinWood, leafMaterial, thinCards, "treeThin.obj");
    // The distant form: the far form's wood, and the whole crown's picture
    // on crossed sheets.
    const Image crown = crownPicture(cards, leaves, 256, 224);
    const Material crownMaterial =
        saveMaterial(folder, "crown", crown, specularFrom(crown, 128, 0.05f, 0.4f), 0.3f);
    write(farWood, crownMaterial, crownSheets(), "treeDistant.obj");
}
