// The generated sky faces, read back as the program reads them. The two cube
// maps must join without seams wherever two faces share an edge, with the
// faces in the order +X, -X, +Y, -Y, +Z, -Z and OpenGL's face orientation.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <glm/glm.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "LoadedImage.h"

namespace {

const std::string kSkybox = MD_BUILD_DIR "/textures/skybox/";
const std::array<const char*, 6> kDay{"right", "left", "top", "bottom", "back", "front"};
const std::array<const char*, 6> kNight{"nightRight",  "nightLeft", "nightTop",
                                        "nightBottom", "nightBack", "nightFront"};

struct FacePoint {
    int face;
    float s, t;  // in [0, 1]; t = 0 is the image's first row
};

// Which face, and where on it, a direction hits (the OpenGL selection rule).
FacePoint lookUp(glm::vec3 d) {
    const glm::vec3 a = glm::abs(d);
    float sc, tc, ma;
    int face;
    if (a.x >= a.y && a.x >= a.z) {
        ma = a.x;
        face = d.x > 0 ? 0 : 1;
        sc = d.x > 0 ? -d.z : d.z;
        tc = -d.y;
    } else if (a.y >= a.z) {
        ma = a.y;
        face = d.y > 0 ? 2 : 3;
        sc = d.x;
        tc = d.y > 0 ? d.z : -d.z;
    } else {
        ma = a.z;
        face = d.z > 0 ? 4 : 5;
        sc = d.z > 0 ? d.x : -d.x;
        tc = -d.y;
    }
    return {face, (sc / ma + 1.0f) / 2.0f, (tc / ma + 1.0f) / 2.0f};
}

// The direction through a point of a face: the inverse of the selection rule
// above.
glm::vec3 directionOf(int face, float s, float t) {
    const float sc = 2 * s - 1, tc = 2 * t - 1;
    const std::array<glm::vec3, 6> candidates{glm::vec3(1, -tc, -sc), glm::vec3(-1, -tc, sc),
                                              glm::vec3(sc, 1, tc),   glm::vec3(sc, -1, -tc),
                                              glm::vec3(sc, -tc, 1),  glm::vec3(-sc, -tc, -1)};
    return candidates[face];
}

struct Cube {
    std::array<LoadedImage, 6> faces;
    bool load(const std::array<const char*, 6>& names) {
        for (int f = 0; f < 6; ++f) faces[f] = loadImage(kSkybox + names[f] + ".png");
        return std::all_of(faces.begin(), faces.end(),
                           [](const LoadedImage& i) { return i.valid(); });
    }
    const uint8_t* texel(FacePoint p) const {
        const LoadedImage& image = faces[p.face];
        const int x = std::clamp(int(p.s * image.width), 0, image.width - 1);
        const int y = std::clamp(int(p.t * image.height), 0, image.height - 1);
        return image.at(x, y);
    }
};

// Compares every border texel with the texel just across the edge on the
// neighbouring face, and with its neighbour on its own face one texel in.
// Both lie one texel away, so on a seamless cube the two kinds of
// differences (summed over the channels) are alike.
struct SeamStats {
    double acrossMean = 0.0, insideMean = 0.0;
    int acrossP99 = 0, insideP99 = 0;
};

SeamStats seamDifferences(const Cube& cube) {
    std::vector<int> across, inside;
    auto difference = [](const uint8_t* a, const uint8_t* b) {
        return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
    };
    for (int face = 0; face < 6; ++face) {
        const int n = cube.faces[face].width;
        const float half = 0.5f / n, one = 1.0f / n;
        for (int k = 0; k < n; ++k) {
            const float along = (k + 0.5f) / n;
            // Border texel centre, the point half a texel beyond the edge, and
            // the step to the next texel in.
            struct Border {
                glm::vec2 centre, beyond, in;
            };
            const std::array<Border, 4> borders{{
                {{half, along}, {-half, along}, {one, 0}},
                {{1 - half, along}, {1 + half, along}, {-one, 0}},
                {{along, half}, {along, -half}, {0, one}},
                {{along, 1 - half}, {along, 1 + half}, {0, -one}},
            }};
            for (const Border& b : borders) {
                const FacePoint other = lookUp(directionOf(face, b.beyond.x, b.beyond.y));
                EXPECT_NE(other.face, face);
                const uint8_t* edge = cube.texel({face, b.centre.x, b.centre.y});
                const glm::vec2 next = b.centre + b.in;
                across.push_back(difference(edge, cube.texel(other)));
                inside.push_back(difference(edge, cube.texel({face, next.x, next.y})));
            }
        }
    }
    SeamStats stats;
    for (auto [list, mean, p99] : {std::tuple{&across, &stats.acrossMean, &stats.acrossP99},
                                   std::tuple{&inside, &stats.insideMean, &stats.insideP99}}) {
        double sum = 0.0;
        for (int d : *list) sum += d;
        *mean = sum / list->size();
        std::sort(list->begin(), list->end());
        *p99 = (*list)[list->size() * 99 / 100];
    }
    return stats;
}

double meanBrightness(const LoadedImage& image, int y0, int y1) {
    double sum = 0.0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.at(x, y);
            sum += p[0] + p[1] + p[2];
        }
    return sum / (3.0 * image.width * (y1 - y0));
}

}  // namespace

TEST(SkyFaces, TwelveSquareRgbFaces) {
    for (const auto* names : {&kDay, &kNight})
        for (const char* name : *names) {
            const LoadedImage face = loadImage(kSkybox + name + ".png");
            ASSERT_TRUE(face.valid()) << name;
            EXPECT_EQ(face.channels, 3) << name;
            EXPECT_EQ(face.width, face.height) << name;
            EXPECT_GE(face.width, 512) << name;
        }
}

TEST(SkyFaces, DayAndNightCubesJoinWithoutSeams) {
    for (const auto* names : {&kDay, &kNight}) {
        Cube cube;
        ASSERT_TRUE(cube.load(*names));
        const SeamStats s = seamDifferences(cube);
        EXPECT_LT(s.acrossMean, 1.5 * s.insideMean + 1.0) << (*names)[0];
        EXPECT_LE(s.acrossP99, 1.5 * s.insideP99 + 3.0) << (*names)[0];
        std::printf("%s: across the edges mean %.2f, 99%% %d; one texel in mean %.2f, 99%% %d\n",
                    (*names)[0], s.acrossMean, s.acrossP99, s.insideMean, s.insideP99);
    }
}

TEST(SkyFaces, DayIsBlueAboveAndPaleAtTheHorizonNightIsDark) {
    Cube day, night;
    ASSERT_TRUE(day.load(kDay));
    ASSERT_TRUE(night.load(kNight));
    const uint8_t* zenith = day.texel({2, 0.5f, 0.5f});
    const uint8_t* horizon = day.texel({4, 0.5f, 0.47f});  // just above, looking along +z
    EXPECT_GT(zenith[2], zenith[0] + 60) << "deep blue overhead";
    EXPECT_GT(horizon[0] + horizon[1] + horizon[2], zenith[0] + zenith[1] + zenith[2] + 100);
    EXPECT_LT(horizon[2] - horizon[0], 60) << "pale haze";

    // Side faces: the sky half is brighter than the ground half by day;
    // the night is far darker than the day everywhere.
    for (int face : {0, 1, 4, 5}) {
        const LoadedImage& d = day.faces[face];
        const LoadedImage& n = night.faces[face];
        EXPECT_GT(meanBrightness(d, 0, d.height / 2), meanBrightness(d, d.height / 2, d.height));
        EXPECT_LT(meanBrightness(n, 0, n.height), meanBrightness(d, 0, d.height) / 4);
    }
}

// The land does not end at a knife edge: all around, a band of distant land
// just above the horizon is darker than the sky over it, by day and by night.
// Below, the ground: the vase mirrors the bottom faces as grass and earth.
TEST(SkyFaces, BothSkiesCarryAHorizonBandAndGroundBelow) {
    Cube day, night;
    ASSERT_TRUE(day.load(kDay));
    ASSERT_TRUE(night.load(kNight));
    for (const Cube* cube : {&day, &night}) {
        int darker = 0, directions = 0;
        for (int step = 0; step < 72; ++step, ++directions) {
            const float a = step * 6.2831853f / 72.0f;
            const glm::vec3 across(std::cos(a), 0.0f, std::sin(a));
            const uint8_t* band = cube->texel(lookUp(across));
            const uint8_t* above = cube->texel(lookUp(across + glm::vec3(0, 0.06f, 0)));
            darker += band[0] + band[1] + band[2] < above[0] + above[1] + above[2];
        }
        EXPECT_EQ(darker, directions) << (cube == &day ? "day" : "night");
    }
    const LoadedImage& dayGround = day.faces[3];
    double r = 0, g = 0, b = 0;
    for (int y = 0; y < dayGround.height; ++y)
        for (int x = 0; x < dayGround.width; ++x) {
            r += dayGround.at(x, y)[0];
            g += dayGround.at(x, y)[1];
            b += dayGround.at(x, y)[2];
        }
    EXPECT_GT(g, 1.2 * b) << "grass and earth, not grey";
    EXPECT_GT(r, 1.2 * b);
    const LoadedImage& nightGround = night.faces[3];
    EXPECT_LT(meanBrightness(nightGround, 0, nightGround.height),
              meanBrightness(dayGround, 0, dayGround.height) / 8);
}

// Stars stand out of the night in many brightnesses, yet each adds at most a
// few levels to the day sky when the night holds a quarter of the blend.
TEST(SkyFaces, NightHasStarsOfVariedBrightnessThatVanishByDay) {
    Cube night;
    ASSERT_TRUE(night.load(kNight));
    const LoadedImage& top = night.faces[2];
    int stars = 0, faint = 0, bright = 0, brightest = 0;
    for (int y = 1; y + 1 < top.height; ++y)
        for (int x = 1; x + 1 < top.width; ++x) {
            const uint8_t* p = top.at(x, y);
            brightest = std::max({brightest, int(p[0]), int(p[1]), int(p[2])});
            const int v = p[0] + p[1] + p[2];
            bool peak = v > 20;
            for (int dy = -1; dy <= 1 && peak; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const uint8_t* q = top.at(x + dx, y + dy);
                    if ((dx || dy) && q[0] + q[1] + q[2] > v) peak = false;
                }
            if (!peak) continue;
            ++stars;
            faint += v < 40;
            bright += v > 70;
        }
    EXPECT_GT(stars, 100);
    EXPECT_GT(faint, stars / 4);
    EXPECT_GT(bright, 5);
    EXPECT_LE(brightest / 4, 12);
}
