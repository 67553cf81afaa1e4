// The day and night skies: two cube maps painted from the direction of every
// texel, so the faces join without seams. No sun: the sun is an object.

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "lib/Cells.h"
#include "lib/CubeMap.h"
#include "lib/Family.h"
#include "lib/Noise.h"

using namespace assetgen;

namespace {

constexpr int kFaceSize = 512;
constexpr std::array<const char*, kCubeFaces> kDayFaces{"right",  "left", "top",
                                                        "bottom", "back", "front"};
constexpr std::array<const char*, kCubeFaces> kNightFaces{"nightRight",  "nightLeft", "nightTop",
                                                          "nightBottom", "nightBack", "nightFront"};

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// The distant land all around: low hills with a tree line on them, rising a
// little above the horizon. The terrain's far edge lies just below the
// horizon, so the band starts below it and the land runs on into it.
// Returns how much of the direction the band covers.
float horizonBand(glm::vec3 d) {
    const glm::vec2 around = glm::normalize(glm::vec2(d.x, d.z) + glm::vec2(1e-6f, 0.0f));
    const float hills = 0.012f + 0.016f * fbm2(around.x * 2.5f, around.y * 2.5f, 0x4111u, 3);
    const float crowns = 0.5f + 0.5f * fbm2(around.x * 45.0f, around.y * 45.0f, 0x7ee5u, 3);
    const float top = std::clamp(hills + 0.012f * crowns, 0.004f, 0.040f);
    // About one texel of soft edge, so the outline does not stair-step.
    return 1.0f - smoothstep(top - 0.003f, top + 0.003f, d.y);
}

// Below the band the ground: grass with patches of bare earth, seen as a
// plane under the viewer (the vase mirrors it; the main view never sees it).
glm::vec3 groundBelow(glm::vec3 d, glm::vec3 grass, glm::vec3 earth) {
    const glm::vec2 onGround = glm::vec2(d.x, d.z) / std::max(-d.y, 0.05f);
    const float patches = fbm2(onGround.x * 1.5f, onGround.y * 1.5f, 0x9a55u, 4);
    return glm::mix(grass, earth, smoothstep(0.05f, 0.45f, patches));
}

// Sky, distant land and ground below, in one palette of the time of day.
struct Landscape {
    glm::vec3 land;          // the band: hills and trees far away
    glm::vec3 grass, earth;  // the ground right below
};

glm::vec3 paintLand(glm::vec3 d, glm::vec3 sky, const Landscape& l) {
    const glm::vec3 ground = groundBelow(d, l.grass, l.earth);
    const glm::vec3 below = glm::mix(l.land, ground, smoothstep(-0.03f, -0.30f, d.y));
    return glm::mix(sky, below, horizonBand(d));
}

// Day: deep blue overhead, pale haze at the horizon, soft clouds on a flat
// cloud layer, a hazy tree line on the horizon and grass below it.
glm::vec3 daySky(glm::vec3 d) {
    const glm::vec3 zenith(0.10f, 0.27f, 0.64f), haze(0.76f, 0.83f, 0.90f);
    const float up = std::max(d.y, 0.0f);
    glm::vec3 sky = glm::mix(zenith, haze, std::pow(1.0f - up, 3.0f));

    if (d.y > 0.0f) {
        const glm::vec2 onLayer = glm::vec2(d.x, d.z) / (d.y + 0.15f) * 1.1f;
        const float n = fbm2(onLayer.x + 17.0f, onLayer.y - 5.0f, 0xc10d5u, 5);
        const float cover = smoothstep(0.0f, 0.45f, n) * smoothstep(0.03f, 0.35f, d.y);
        const glm::vec3 cloud =
            glm::mix(glm::vec3(0.98f, 0.98f, 0.99f), glm::vec3(0.70f, 0.73f, 0.80f),
                     smoothstep(0.30f, 0.75f, n));
        sky = glm::mix(sky, cloud, 0.9f * cover);
    }
    // Far trees take on the haze of the air in front of them.
    const glm::vec3 trees = glm::mix(glm::vec3(0.12f, 0.21f, 0.10f), haze, 0.35f);
    return paintLand(d, sky, {trees, {0.27f, 0.38f, 0.15f}, {0.42f, 0.33f, 0.21f}});
}

// Stars live in the cells of a 3D grid around the unit sphere: a cell may hold
// one star, placed within half a cell of the sphere so that every direction
// near it finds it among the neighbouring cells.
constexpr float kStarCells = 60.0f;

glm::vec3 starLight(glm::vec3 d, float band) {
    const glm::vec3 q = d * kStarCells;
    const glm::ivec3 base(glm::floor(q));
    glm::vec3 light(0.0f);
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            for (int k = -1; k <= 1; ++k) {
                const glm::ivec3 c = base + glm::ivec3(i, j, k);
                const uint32_t h = hash32(uint32_t(c.x) +
                                          hash32(uint32_t(c.y) + hash32(uint32_t(c.z) + 0x57a45u)));
                if (hashUnit(h) > 0.10f + 0.25f * band) continue;
                const glm::vec3 star =
                    glm::vec3(c) + glm::vec3(hashUnit(h ^ 1u), hashUnit(h ^ 2u), hashUnit(h ^ 3u));
                if (std::abs(glm::length(star) - kStarCells) > 0.5f) continue;
                // Faint enough to vanish under the day sky while it holds three
                // quarters of the blend, bright against the dark of the night.
                const float brightness = std::pow(hashUnit(h ^ 4u), 3.0f) * 0.10f + 0.04f;
                const float sigma = 0.0016f + 0.0012f * std::min(brightness, 1.0f);
                const float angle = std::acos(std::min(1.0f, glm::dot(d, glm::normalize(star))));
                if (angle > 3.0f * sigma) continue;
                const glm::vec3 tint = glm::mix(glm::vec3(1.0f, 0.86f, 0.72f),
                                                glm::vec3(0.78f, 0.86f, 1.0f), hashUnit(h ^ 5u));
                light += tint * brightness * std::exp(-0.5f * angle * angle / (sigma * sigma));
            }
        }
    }
    return light;
}

// Night: dark blue at the horizon to black overhead, the stars, and a faint
// mottled band of the galaxy along a tilted great circle; the tree line and
// the ground are darker than the sky behind them.
glm::vec3 nightSky(glm::vec3 d) {
    const glm::vec3 top(0.002f, 0.003f, 0.010f), horizon(0.025f, 0.04f, 0.10f);
    const float up = std::max(d.y, 0.0f);
    glm::vec3 sky = glm::mix(top, horizon, std::exp(-4.0f * up));
    const Landscape dark{
        {0.008f, 0.011f, 0.016f}, {0.012f, 0.016f, 0.010f}, {0.016f, 0.013f, 0.010f}};
    if (d.y <= -0.06f) return paintLand(d, sky, dark);

    const glm::vec3 pole = glm::normalize(glm::vec3(0.35f, 0.55f, 0.76f));
    const float off = glm::dot(d, pole);
    const float band = std::exp(-off * off / (0.18f * 0.18f));
    float galaxy = 0.0f;
    if (band > 1e-3f) {
        const float mottle = 0.55f + 0.45f * fbm3(d.x * 5.0f, d.y * 5.0f, d.z * 5.0f, 0x9a1au, 5);
        const float lanes =
            smoothstep(0.1f, 0.5f, fbm3(d.x * 9.0f, d.y * 9.0f, d.z * 9.0f, 0x9a1bu, 4));
        const float core = std::exp(-off * off / (0.06f * 0.06f));
        galaxy = band * std::max(mottle, 0.0f) * (1.0f - 0.6f * lanes * core);
    }
    sky += galaxy * glm::vec3(0.045f, 0.05f, 0.06f) + starLight(d, band);
    // The land in front hides the stars and the galaxy.
    return paintLand(d, sky, dark);
}

void writeSky(const std::filesystem::path& dir, const std::array<const char*, kCubeFaces>& names,
              glm::vec3 (*colourOf)(glm::vec3)) {
    for (int face = 0; face < kCubeFaces; ++face)
        writePng(cubeFace(face, kFaceSize, colourOf), dir / (std::string(names[face]) + ".png"));
}

}  // namespace

ASSETGEN_FAMILY(sky) {
    const auto dir = root / "textures/skybox";
    // The night sky costs more than the day: it gets a thread of its own.
    std::exception_ptr nightFailure;
    std::thread night([&] {
        try {
            writeSky(dir, kNightFaces, nightSky);
        } catch (...) {
            nightFailure = std::current_exception();
        }
    });
    std::exception_ptr dayFailure;
    try {
        writeSky(dir, kDayFaces, daySky);
    } catch (...) {
        dayFailure = std::current_exception();
    }
    night.join();
    if (dayFailure) std::rethrow_exception(dayFailure);
    if (nightFailure) std::rethrow_exception(nightFailure);
}
