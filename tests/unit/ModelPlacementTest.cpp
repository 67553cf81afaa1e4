// Where the generated models put things, in model units: the numbers the
// scene's placements rely on (table top, bulbs, cups under the steam, glasses,
// boat waterline, jetty, vase and flower, tree and grass sizes).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "unit/ModelAssetImport.h"

using namespace modeltest;

namespace {

const glm::vec2 kTableCentre(-0.6f, 2.75f);
const glm::vec2 kCups[] = {{-1.0f, -0.8f}, {-2.3f, 6.3f}};
const glm::vec2 kGlasses[] = {{2.5f, 4.5f}, {-3.5f, 1.0f}};
const glm::vec2 kVaseOnTable(1.0f, 1.5f);
constexpr float kSteamY = 8.5f;

ImportedModel load(const char* path) {
    ImportedModel m = importModel(path);
    EXPECT_TRUE(m.ok) << path << ": " << m.error;
    return m;
}

// The points nearest (in x, z) to each of the centres.
std::vector<std::vector<glm::vec3>> clusters(const std::vector<glm::vec3>& points,
                                             const std::vector<glm::vec2>& centres) {
    std::vector<std::vector<glm::vec3>> out(centres.size());
    for (const glm::vec3& p : points) {
        size_t best = 0;
        for (size_t i = 1; i < centres.size(); ++i)
            if (flatDistance(p, centres[i]) < flatDistance(p, centres[best])) best = i;
        out[best].push_back(p);
    }
    return out;
}

glm::vec2 flatCentre(const std::vector<glm::vec3>& points) {
    const Bounds b = boundsOf(points);
    return 0.5f * glm::vec2(b.lo.x + b.hi.x, b.lo.z + b.hi.z);
}

float flatRadius(const std::vector<glm::vec3>& points, glm::vec2 centre) {
    float r = 0.0f;
    for (const glm::vec3& p : points) r = std::max(r, flatDistance(p, centre));
    return r;
}

TEST(ModelPlacement, TableTopIsAtEightWithRadiusSixAroundItsCentre) {
    const ImportedModel furniture = load("furniture/furniture.obj");
    const std::vector<glm::vec3> top = furniture.positions("tableTop");
    ASSERT_FALSE(top.empty());
    const Bounds b = boundsOf(top);
    EXPECT_NEAR(b.hi.y, 8.0f, 0.01f);
    EXPECT_NEAR(flatCentre(top).x, kTableCentre.x, 0.05f);
    EXPECT_NEAR(flatCentre(top).y, kTableCentre.y, 0.05f);
    EXPECT_NEAR(flatRadius(top, kTableCentre), 6.0f, 0.05f);
    // Nothing of the set pokes through the top, and it all stands on the ground.
    const Bounds all = boundsOf(furniture.positions());
    EXPECT_NEAR(all.lo.y, 0.0f, 0.01f);
    size_t through = 0;
    for (const ImportedMesh& m : furniture.meshes)
        for (const glm::vec3& p : m.positions)
            if (m.name != "tableTop" && flatDistance(p, kTableCentre) < 5.5f && p.y > 8.0f)
                ++through;
    EXPECT_EQ(through, 0u);
}

TEST(ModelPlacement, BulbsHangUnderTheLampsShades) {
    const ImportedModel bulbs = load("streetLamp/lightBulbs.obj");
    const std::vector<glm::vec3> centres = {
        {-2.5f, 16.5f, 0.0f}, {2.5f, 16.5f, 0.0f}, {-5.0f, 14.6f, 0.0f}};
    std::vector<std::vector<glm::vec3>> near(centres.size());
    for (const glm::vec3& p : bulbs.positions()) {
        size_t best = 0;
        for (size_t i = 1; i < centres.size(); ++i)
            if (glm::distance(p, centres[i]) < glm::distance(p, centres[best])) best = i;
        ASSERT_LT(glm::distance(p, centres[best]), 0.7f) << "a vertex belongs to no bulb";
        near[best].push_back(p);
    }
    for (size_t i = 0; i < 2; ++i) {  // the two bulbs of the cross-bar are required
        ASSERT_FALSE(near[i].empty());
        const Bounds b = boundsOf(near[i]);
        EXPECT_LT(glm::distance(0.5f * (b.lo + b.hi), centres[i]), 0.02f);
        EXPECT_NEAR(0.5f * (b.hi.x - b.lo.x), 0.45f, 0.05f);
    }

    const ImportedModel lamp = load("streetLamp/streetLamp.obj");
    const Bounds b = boundsOf(lamp.positions());
    EXPECT_NEAR(b.lo.y, 0.0f, 0.01f);
    EXPECT_NEAR(b.hi.y, 18.0f, 0.5f);
    EXPECT_NEAR(b.lo.x, -5.0f, 0.7f);
    bool capLeft = false, capRight = false, sideShade = false;
    size_t inBulb = 0, offPost = 0;
    for (const glm::vec3& p : lamp.positions()) {
        for (const glm::vec3& c : centres) inBulb += glm::distance(p, c) < 0.35f;
        offPost += p.y > 2.5f && p.y < 13.0f && flatDistance(p, {0.0f, 0.0f}) > 0.5f;
        const bool capHeight = p.y > 16.95f && p.y < 17.6f;
        capLeft = capLeft || (capHeight && flatDistance(p, {-2.5f, 0.0f}) > 0.5f && p.x < -2.5f);
        capRight = capRight || (capHeight && flatDistance(p, {2.5f, 0.0f}) > 0.5f && p.x > 2.5f);
        sideShade =
            sideShade || (std::abs(p.y - 15.0f) < 0.1f && flatDistance(p, {-5.0f, 0.0f}) > 0.45f);
    }
    EXPECT_EQ(inBulb, 0u) << "iron inside a bulb";
    EXPECT_EQ(offPost, 0u) << "the post stands on the axis";
    EXPECT_TRUE(capLeft);
    EXPECT_TRUE(capRight);
    EXPECT_TRUE(sideShade);
}

TEST(ModelPlacement, CoffeeSurfacesLieRightUnderTheSteam) {
    const ImportedModel coffee = load("breakfast/coffeeCup/coffee.obj");
    const auto liquid = clusters(coffee.positions("coffee"), {kCups[0], kCups[1]});
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_FALSE(liquid[i].empty());
        const Bounds b = boundsOf(liquid[i]);
        EXPECT_NEAR(flatCentre(liquid[i]).x, kCups[i].x, 0.02f);
        EXPECT_NEAR(flatCentre(liquid[i]).y, kCups[i].y, 0.02f);
        EXPECT_NEAR(b.hi.y, 8.4f, 0.02f);
        EXPECT_LT(b.hi.y, kSteamY);
    }
    const Bounds cups = boundsOf(coffee.positions("cups"));
    EXPECT_NEAR(cups.lo.y, 8.0f, 0.01f);
    EXPECT_GT(cups.hi.y, 8.4f);
}

TEST(ModelPlacement, GlassesStandOnTheTableWithTheJuiceInside) {
    const ImportedModel glasses = load("breakfast/waterGlass/glasses.obj");
    const ImportedModel juice = load("breakfast/waterGlass/juice.obj");
    const auto glass = clusters(glasses.positions(), {kGlasses[0], kGlasses[1]});
    const auto fill = clusters(juice.positions(), {kGlasses[0], kGlasses[1]});
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_FALSE(glass[i].empty());
        ASSERT_FALSE(fill[i].empty());
        const Bounds g = boundsOf(glass[i]), j = boundsOf(fill[i]);
        EXPECT_NEAR(flatCentre(glass[i]).x, kGlasses[i].x, 0.02f);
        EXPECT_NEAR(flatCentre(glass[i]).y, kGlasses[i].y, 0.02f);
        EXPECT_NEAR(g.lo.y, 8.0f, 0.01f);
        EXPECT_NEAR(g.hi.y - g.lo.y, 1.2f, 0.15f);
        EXPECT_GT(j.lo.y, g.lo.y + 0.05f);
        EXPECT_LT(j.hi.y, g.hi.y - 0.1f);
        EXPECT_LT(flatRadius(fill[i], kGlasses[i]), flatRadius(glass[i], kGlasses[i]) - 0.03f);
    }
}

TEST(ModelPlacement, BreakfastStaysOnTheTableClearOfCupsGlassesAndVase) {
    const ImportedModel breakfast = load("breakfast/breakfast/breakfast.obj");
    const ImportedModel coffee = load("breakfast/coffeeCup/coffee.obj");
    const ImportedModel glasses = load("breakfast/waterGlass/glasses.obj");
    const ImportedModel vase = load("vase/vase.obj");
    std::vector<std::pair<glm::vec2, float>>
        keepOut;  // centre and radius of what else stands there
    const auto cups = clusters(coffee.positions(), {kCups[0], kCups[1]});
    const auto tumblers = clusters(glasses.positions(), {kGlasses[0], kGlasses[1]});
    for (size_t i = 0; i < 2; ++i) {
        keepOut.emplace_back(kCups[i], flatRadius(cups[i], kCups[i]));
        keepOut.emplace_back(kGlasses[i], flatRadius(tumblers[i], kGlasses[i]));
    }
    keepOut.emplace_back(kVaseOnTable, flatRadius(vase.positions(), {0.0f, 0.0f}));

    const std::vector<glm::vec3> food = breakfast.positions();
    ASSERT_FALSE(food.empty());
    EXPECT_NEAR(boundsOf(food).lo.y, 8.0f, 0.01f);
    size_t outside = 0, crowded = 0;
    for (const glm::vec3& p : food) {
        if (flatDistance(p, kTableCentre) > 5.9f) ++outside;
        for (const auto& [centre, radius] : keepOut)
            if (flatDistance(p, centre) < radius + 0.05f) ++crowded;
    }
    EXPECT_EQ(outside, 0u);
    EXPECT_EQ(crowded, 0u);
}

TEST(ModelPlacement, BoatFloatsWithItsWaterlineAtSevenPointSeven) {
    const ImportedModel boat = load("boat2/boat.obj");
    const std::vector<glm::vec3> hull = boat.positions("hull");
    ASSERT_FALSE(hull.empty());
    const Bounds b = boundsOf(hull);
    EXPECT_NEAR(b.hi.x - b.lo.x, 460.0f, 5.0f);
    EXPECT_NEAR(b.lo.x + b.hi.x, 0.0f, 5.0f);
    EXPECT_NEAR(b.hi.z - b.lo.z, 130.0f, 5.0f);
    EXPECT_NEAR(b.lo.y, -15.0f, 1.0f);
    std::vector<glm::vec3> rest;  // everything but the oars, which reach out over the water
    for (const ImportedMesh& m : boat.meshes)
        if (m.name != "oars") rest.insert(rest.end(), m.positions.begin(), m.positions.end());
    EXPECT_NEAR(boundsOf(rest).lo.y, -15.0f, 3.0f);
    EXPECT_NEAR(boundsOf(rest).hi.z - boundsOf(rest).lo.z, 130.0f, 8.0f);

    // Amidships: the gunwale about 45 and the hull wide at the waterline.
    float gunwale = -1e9f, waterlineHalfBeam = 0.0f;
    for (const glm::vec3& p : hull) {
        if (std::abs(p.x) > 25.0f) continue;
        gunwale = std::max(gunwale, p.y);
        if (std::abs(p.y - 7.7f) < 3.0f)
            waterlineHalfBeam = std::max(waterlineHalfBeam, std::abs(p.z));
    }
    EXPECT_NEAR(gunwale, 45.0f, 2.5f);
    EXPECT_GT(waterlineHalfBeam, 40.0f);
    EXPECT_LT(waterlineHalfBeam, 65.0f);
}

TEST(ModelPlacement, JettyDeckRunsFromTheShoreOnPostsDownToMinusSix) {
    const ImportedModel jetty = load("jetty/jetty.obj");
    const Bounds deck = boundsOf(jetty.positions("deck"));
    EXPECT_NEAR(deck.lo.x, -8.0f, 0.3f);
    EXPECT_NEAR(deck.hi.x, 38.0f, 0.6f);
    EXPECT_NEAR(deck.lo.z, -4.0f, 0.3f);
    EXPECT_NEAR(deck.hi.z, 4.0f, 0.3f);
    EXPECT_GE(deck.lo.y, 0.3f);
    EXPECT_LE(deck.hi.y, 0.62f);
    EXPECT_GE(deck.hi.y, 0.5f);
    const Bounds all = boundsOf(jetty.positions());
    EXPECT_NEAR(all.lo.y, -6.0f, 0.05f);
    EXPECT_GE(all.lo.x, -8.3f);
    EXPECT_LE(all.hi.x, 38.3f);
}

TEST(ModelPlacement, VaseAndFlowerStandAtTheOriginAndTheStemStaysInTheNeck) {
    const ImportedModel vase = load("vase/vase.obj");
    const Bounds v = boundsOf(vase.positions());
    EXPECT_NEAR(v.lo.y, 0.0f, 0.01f);
    EXPECT_NEAR(v.hi.y, 2.2f, 0.1f);
    const float radius = flatRadius(vase.positions(), {0.0f, 0.0f});
    EXPECT_LE(radius, 0.6f);
    EXPECT_GT(radius, 0.45f);
    float neck = 1e9f;  // narrowest opening (inner wall) between the belly and the lip
    for (const glm::vec3& p : vase.positions())
        if (p.y > 1.2f && p.y < 2.2f) neck = std::min(neck, flatDistance(p, {0.0f, 0.0f}));

    const ImportedModel flower = load("flower/flower.obj");
    const Bounds stem = boundsOf(flower.positions("stem"));
    EXPECT_NEAR(stem.lo.y, 0.3f, 0.05f);
    EXPECT_NEAR(stem.hi.y, 4.5f, 0.1f);
    EXPECT_FALSE(flower.positions("leaves").empty());
    EXPECT_FALSE(flower.positions("petals").empty());
    const Bounds all = boundsOf(flower.positions());
    EXPECT_GT(all.hi.y, 4.5f);
    EXPECT_LT(all.hi.y, 5.5f);
    size_t throughWall = 0;
    for (const glm::vec3& p : flower.positions())
        throughWall += p.y < v.hi.y && flatDistance(p, {0.0f, 0.0f}) > neck - 0.02f;
    EXPECT_EQ(throughWall, 0u) << "inside the neck of radius " << neck;
}

TEST(ModelPlacement, TreeAndGrassHaveTheirSizes) {
    const ImportedModel tree = load("tree2/tree.obj");
    const Bounds t = boundsOf(tree.positions());
    EXPECT_LE(t.lo.y, 0.0f);
    EXPECT_GE(t.lo.y, -0.1f);
    EXPECT_NEAR(t.hi.y, 2.2f, 0.2f);
    size_t offTrunk = 0;
    for (const glm::vec3& p : tree.positions("trunk"))
        offTrunk += p.y < 0.5f && flatDistance(p, {0.0f, 0.0f}) > 0.15f;
    EXPECT_EQ(offTrunk, 0u);

    const ImportedModel grass = load("grass/grassModel.obj");
    const Bounds g = boundsOf(grass.positions());
    EXPECT_NEAR(g.lo.y, 0.0f, 0.01f);
    EXPECT_LE(g.hi.y, 1.5f + 1e-3f);
    EXPECT_GE(g.hi.y, 1.2f);
    for (float extent : {g.hi.x - g.lo.x, g.hi.z - g.lo.z}) {
        EXPECT_GE(extent, 17.0f);
        EXPECT_LE(extent, 21.0f);
    }
    EXPECT_GE(g.lo.x, -10.5f);
    EXPECT_LE(g.hi.x, 10.5f);
}

TEST(ModelPlacement, SunIsASphereOfRadiusEight) {
    const ImportedModel sun = load("sun/sun2.obj");
    const std::vector<glm::vec3> points = sun.positions();
    ASSERT_FALSE(points.empty());
    float worst = 0.0f;
    for (const glm::vec3& p : points) worst = std::max(worst, std::abs(glm::length(p) - 8.0f));
    EXPECT_LT(worst, 0.01f);
}

}  // namespace
