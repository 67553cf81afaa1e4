// The generated camera flight, read from its file and flown as the camera
// path flies it: 12.5 seconds a segment, looking along the curve.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "LoadedImage.h"
#include "effects/TerrainGrid.h"
#include "scene/Placements.h"

namespace {

const std::string kTextures = MD_BUILD_DIR "/textures/";
const glm::vec3 kCorner(-500.0f, 0.0f, -500.0f);
constexpr float kSegmentSeconds = 12.5f;
constexpr int kSamples = 2000;  // per segment

std::vector<glm::vec3> readPoints() {
    std::ifstream in(kTextures + "controlpoints.txt");
    std::vector<glm::vec3> points;
    glm::vec3 p;
    while (in >> p.x >> p.y >> p.z) points.push_back(p);
    return points;
}

glm::vec3 bezier(const glm::vec3* p, float t) {
    const float u = 1 - t;
    return u * u * u * p[0] + 3 * t * u * u * p[1] + 3 * t * t * u * p[2] + t * t * t * p[3];
}

glm::vec3 tangent(const glm::vec3* p, float t) {
    const float u = 1 - t;
    return 3 * u * u * (p[1] - p[0]) + 6 * t * u * (p[2] - p[1]) + 3 * t * t * (p[3] - p[2]);
}

// What the scene holds, at the sizes it is built to (no margins): the camera
// must stay out of all of it. Upright cylinders and boxes.
struct Solid {
    const char* name;
    glm::vec3 min, max;  // a box; for a cylinder, its bounding box
    bool round;
};

float distanceToSolid(const Solid& s, glm::vec3 p) {
    if (!s.round) return glm::length(glm::max(glm::max(s.min - p, p - s.max), glm::vec3(0.0f)));
    const glm::vec3 centre = (s.min + s.max) * 0.5f;
    const float radius = (s.max.x - s.min.x) * 0.5f;
    const float across =
        std::max(glm::length(glm::vec2(p.x - centre.x, p.z - centre.z)) - radius, 0.0f);
    const float along = std::max({s.min.y - p.y, p.y - s.max.y, 0.0f});
    return glm::length(glm::vec2(across, along));
}

Solid cylinder(const char* name, glm::vec2 centre, float radius, float bottom, float top) {
    return {name,
            {centre.x - radius, bottom, centre.y - radius},
            {centre.x + radius, top, centre.y + radius},
            true};
}

std::vector<Solid> sceneSolids(const TerrainGrid& grid) {
    auto ground = [&](glm::vec2 p) { return heightOfTerrainGrid(grid, kCorner, p.x, p.y); };
    std::vector<Solid> solids{
        cylinder("table and chairs", {-0.6f, 2.75f}, 9.0f, -1.0f, 10.5f),
        cylinder("vase and flower", {1.0f, 1.5f}, 1.0f, 8.0f, 12.6f),
        cylinder("coffee steam", {-1.0f, -0.8f}, 0.6f, 8.0f, 9.5f),
        cylinder("coffee steam", {-2.3f, 6.3f}, 0.6f, 8.0f, 9.5f),
        {"street lamp", {-5.6f, -1.0f, -21.0f}, {3.1f, 18.5f, -19.0f}, false},
        {"jetty", {52.0f, -6.0f, 6.0f}, {98.0f, 0.7f, 14.0f}, false},
        {"boat", {100.7f, -3.5f, -5.0f}, {109.3f, 0.5f, 25.0f}, false},
    };
    const auto& trees = kTreePositions;
    // Trees: about 40 high, crowns up to some 12 from the trunk.
    for (const glm::vec2 t : trees)
        solids.push_back(cylinder("tree", t, 12.0f, ground(t) - 1, ground(t) + 41));
    return solids;
}

class Flight : public ::testing::Test {
protected:
    void SetUp() override {
        points = readPoints();
        ASSERT_EQ(points.size(), 37u) << "12 segments of 4 points sharing their ends";
        int w, h, c;
        unsigned char* rgb =
            stbi_load((kTextures + "terrain/heightmapmiddle.png").c_str(), &w, &h, &c, 3);
        ASSERT_TRUE(rgb);
        grid = buildTerrainGrid(rgb, w, h);
        stbi_image_free(rgb);
    }
    int segments() const { return int(points.size() - 1) / 3; }
    const glm::vec3* segment(int k) const { return &points[3 * size_t(k)]; }

    // The camera a number of seconds into the flight.
    glm::vec3 positionAt(float seconds) const {
        const int k = std::min(int(seconds / kSegmentSeconds), segments() - 1);
        return bezier(segment(k), seconds / kSegmentSeconds - k);
    }
    glm::vec3 lookAt(float seconds) const {
        const int k = std::min(int(seconds / kSegmentSeconds), segments() - 1);
        return glm::normalize(tangent(segment(k), seconds / kSegmentSeconds - k));
    }
    float groundAt(glm::vec3 p) const { return heightOfTerrainGrid(grid, kCorner, p.x, p.z); }
    // The angle between where the camera looks and a point: the projection
    // shows about 25 degrees above and below the middle of the picture.
    float degreesTo(float seconds, glm::vec3 target) const;
    // Whether a point is inside the picture of the screen lens (half-angle
    // tangent 0.4738 vertically, a 3:2 window).
    bool inView(float seconds, glm::vec3 target) const;
    // The middle of a tree's crown, about 20 above the ground at its trunk.
    glm::vec3 crownOf(float x, float z) const {
        return {x, heightOfTerrainGrid(grid, kCorner, x, z) + 20.0f, z};
    }

    std::vector<glm::vec3> points;
    TerrainGrid grid;
};

float degreesBetween(glm::vec3 a, glm::vec3 b) {
    const float c = glm::dot(glm::normalize(a), glm::normalize(b));
    return std::acos(std::clamp(c, -1.0f, 1.0f)) * 57.29578f;
}

// Where the sun stands a number of seconds into the flight. The day clock
// starts at 4950 and runs 110 a second; the sun rises in the east from 5000,
// reaches 200 high at 8000, goes round the south and sinks in the north-west
// from 17000, below the horizon before 20000.
glm::vec3 sunAt(float seconds) {
    const float t = 4950.0f + 110.0f * seconds;
    float y = 200.0f;
    if (t < 5000.0f)
        y = -70.0f;
    else if (t < 8000.0f)
        y = -70.0f + 270.0f * (t - 5000.0f) / 3000.0f;
    else if (t >= 17000.0f)
        y = std::max(-70.0f, 200.0f - 270.0f * (t - 17000.0f) / 3800.0f);
    if (t < 5000.0f || t >= 21500.0f) return {500.0f, y, 0.0f};
    if (t < 10500.0f) {
        const float u = (t - 5000.0f) / 5500.0f;
        return {500.0f * (1 - u), y, -500.0f * u};
    }
    if (t < 16000.0f) {
        const float u = (t - 10500.0f) / 5500.0f;
        return {-500.0f * u, y, -500.0f * (1 - u)};
    }
    const float u = (t - 16000.0f) / 5500.0f;
    return {-500.0f * (1 - u), y, 500.0f * u};
}

// What the flight shows, as points in the world.
const glm::vec3 kTableTop(-0.6f, 8.0f, 2.75f);
const glm::vec3 kSteam[2] = {{-1.0f, 8.5f, -0.8f}, {-2.3f, 8.5f, 6.3f}};
const glm::vec3 kFlower(1.0f, 11.0f, 1.5f);
const glm::vec3 kLampBulbs(0.0f, 16.5f, -20.0f);
const glm::vec3 kJettyMiddle(75.0f, 0.6f, 10.0f);
const glm::vec3 kBoat(105.0f, 0.0f, 10.0f);

float Flight::degreesTo(float seconds, glm::vec3 target) const {
    return degreesBetween(lookAt(seconds), target - positionAt(seconds));
}

bool Flight::inView(float seconds, glm::vec3 target) const {
    const glm::vec3 front = lookAt(seconds), d = target - positionAt(seconds);
    const glm::vec3 right = glm::normalize(glm::cross(front, glm::vec3(0, 1, 0)));
    const glm::vec3 up = glm::cross(right, front);
    const float ahead = glm::dot(d, front), halfTangent = 0.4738147f;
    return ahead > 0.0f && std::abs(glm::dot(d, up)) < ahead * halfTangent &&
           std::abs(glm::dot(d, right)) < ahead * halfTangent * 1.5f;
}

}  // namespace

TEST_F(Flight, JoinsAreSmoothAndSegmentsAPleasantLength) {
    for (int k = 0; k < segments(); ++k) {
        const glm::vec3* p = segment(k);
        EXPECT_GT(glm::length(p[1] - p[0]), 0.1f) << "segment " << k;
        EXPECT_GT(glm::length(p[3] - p[2]), 0.1f) << "segment " << k;
        if (k > 0) {
            // The handles on both sides of a join point the same way.
            EXPECT_LT(degreesBetween(p[0] - p[-1], p[1] - p[0]), 0.05f) << "join " << k;
        }
        float length = 0.0f;
        for (int i = 1; i <= kSamples; ++i)
            length +=
                glm::length(bezier(p, float(i) / kSamples) - bezier(p, float(i - 1) / kSamples));
        EXPECT_GE(length, 20.0f) << "segment " << k;
        EXPECT_LE(length, 150.0f) << "segment " << k;
    }
}

TEST_F(Flight, StaysAboveGroundAndWaterAndOutOfEveryObject) {
    const std::vector<Solid> solids = sceneSolids(grid);
    for (int k = 0; k < segments(); ++k) {
        for (int i = 0; i <= kSamples; ++i) {
            const float t = float(i) / kSamples;
            const glm::vec3 p = bezier(segment(k), t);
            ASSERT_GE(p.y, groundAt(p) + 1.0f) << "segment " << k << " t " << t;
            ASSERT_GE(p.y, -2.0f + 0.5f) << "segment " << k << " t " << t;
            ASSERT_LT(std::max(std::abs(p.x), std::abs(p.z)), 490.0f);
            for (const Solid& s : solids)
                ASSERT_GT(distanceToSolid(s, p), 0.5f) << s.name << ", segment " << k << " t " << t;
        }
    }
}

TEST_F(Flight, TurnsAndMovesSmoothly) {
    // No whip pans and no lurches: the view turns at most 30 degrees a second,
    // the camera keeps moving at a walking pace or a little more, and at every
    // join it leaves at much the speed it arrived with.
    const float step = 0.05f;
    float fastestTurn = 0.0f, slowest = 1e9f, fastest = 0.0f;
    for (float s = step; s < 150.0f - step; s += step) {
        fastestTurn = std::max(fastestTurn, degreesBetween(lookAt(s - step), lookAt(s)) / step);
        const float speed = glm::length(positionAt(s) - positionAt(s - step)) / step;
        slowest = std::min(slowest, speed);
        fastest = std::max(fastest, speed);
    }
    EXPECT_LT(fastestTurn, 30.0f);
    EXPECT_GT(slowest, 1.0f);
    EXPECT_LT(fastest, 10.0f);
    for (int k = 1; k < segments(); ++k) {
        const glm::vec3* p = segment(k);
        const float ratio = glm::length(p[1] - p[0]) / glm::length(p[0] - p[-1]);
        EXPECT_GT(ratio, 0.7f) << "join " << k;
        EXPECT_LT(ratio, 1.4f) << "join " << k;
    }
}

TEST_F(Flight, DawnOverTheBreakfastThenTheSunrise) {
    // Gliding down towards the table: the table, both cups of steam and the
    // flower are in the middle of the view for the first seconds.
    for (float s = 0.0f; s <= 2.0f; s += 0.5f) {
        EXPECT_LT(degreesTo(s, kTableTop), 15.0f) << s;
        EXPECT_LT(degreesTo(s, kSteam[1]), 15.0f) << s;
        EXPECT_LT(degreesTo(s, kFlower), 20.0f) << s;
        EXPECT_LT(lookAt(s).y, -0.25f) << s;  // looking down, not along the grass
    }
    EXPECT_LT(degreesTo(3.5f, kTableTop), 20.0f);
    EXPECT_LT(positionAt(4.0f).y, positionAt(0.0f).y - 4.0f);
    // Then east across the garden into the sunrise over the lake.
    for (float s = 8.0f; s <= 13.0f; s += 0.5f) EXPECT_TRUE(inView(s, sunAt(s))) << s;
}

TEST_F(Flight, LooksAtTheLampAsItFails) {
    EXPECT_LT(degreesTo(20.5f, kLampBulbs), 12.0f);
    EXPECT_LT(glm::length(positionAt(20.5f) - kLampBulbs), 40.0f);
}

TEST_F(Flight, MorningThroughTheGardenAndDownThePath) {
    // Straight at the south-west tree, round to the north-west one, east
    // along the table, then down the path.
    for (float s = 24.0f; s <= 31.0f; s += 1.0f)
        EXPECT_LT(degreesTo(s, crownOf(-50.0f, -40.0f)), 25.0f) << s;
    for (float s = 37.5f; s <= 39.0f; s += 0.5f)
        EXPECT_TRUE(inView(s, crownOf(-25.0f, 10.0f))) << s;
    for (float s = 39.5f; s <= 43.0f; s += 0.5f) EXPECT_TRUE(inView(s, kTableTop)) << s;
    for (float s = 52.0f; s <= 60.0f; s += 2.0f) EXPECT_LT(degreesTo(s, kJettyMiddle), 15.0f) << s;
}

TEST_F(Flight, DayAlongTheJettyOverTheWaterAndBackAcrossTheLake) {
    bool overJetty = false;
    float lowest = 1e9f;
    for (float s = 60.0f; s < 90.0f; s += 0.1f) {
        const glm::vec3 p = positionAt(s);
        overJetty |= p.x > 60 && p.x < 98 && p.z > 5 && p.z < 15 && p.y < 8;
        if (groundAt(p) < -3.0f) lowest = std::min(lowest, p.y);
    }
    EXPECT_TRUE(overJetty);
    EXPECT_LT(lowest, 2.5f);  // low over the water
    for (float s = 64.0f; s <= 72.0f; s += 2.0f) EXPECT_LT(degreesTo(s, kBoat), 15.0f) << s;
    for (float s = 78.0f; s <= 85.0f; s += 1.0f)
        EXPECT_LT(degreesTo(s, crownOf(217.56f, -4.91f)), 25.0f) << s;
    // A left turn over the lake, which stays ahead, then back across it to
    // the garden, the jetty and the boat.
    for (float s = 88.0f; s <= 96.0f; s += 1.0f) {
        const glm::vec3 ahead = positionAt(s) + 20.0f * lookAt(s);
        EXPECT_LT(groundAt(ahead), -2.0f) << s;
        EXPECT_LT(lookAt(s).y, 0.15f) << s;  // not up into the sky
    }
    for (float s = 100.0f; s <= 103.0f; s += 1.0f) {
        EXPECT_TRUE(inView(s, kJettyMiddle)) << s;
        EXPECT_TRUE(inView(s, kBoat)) << s;
    }
}

TEST_F(Flight, DuskFacingTheSunsetOverTheWater) {
    // From the middle of the lake the sun stays in view until it touches the
    // horizon (about 133 s).
    for (float s = 112.0f; s <= 132.5f; s += 0.5f) {
        EXPECT_TRUE(inView(s, sunAt(s))) << s;
        EXPECT_LT(groundAt(positionAt(s)), -2.0f) << s;
    }
    // Then a left turn over the water brings the lamp into view for its
    // return at 137 s.
    for (float s = 133.0f; s <= 137.0f; s += 1.0f) EXPECT_LT(groundAt(positionAt(s)), -2.0f) << s;
    EXPECT_TRUE(inView(137.0f, kLampBulbs));
}
TEST_F(Flight, HomeToTheLampAsItsBulbsGlow) {
    for (float s = 142.0f; s <= 150.0f; s += 1.0f) EXPECT_LT(degreesTo(s, kLampBulbs), 10.0f) << s;
    EXPECT_LT(glm::length(positionAt(150.0f) - kLampBulbs), 50.0f);
}
