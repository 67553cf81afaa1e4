// The generated ground, water and smoke images, read back as the program reads
// them; heights go through the program's own terrain grid.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <queue>
#include <string>
#include <vector>

#include "LoadedImage.h"
#include "effects/TerrainGrid.h"
#include "scene/Placements.h"

namespace {

const std::string kTextures = MD_BUILD_DIR "/textures/";
const glm::vec3 kCorner(-500.0f, 0.0f, -500.0f);

// The lake: an ellipse around (135, 10) with half-axes 75 (x) and 110 (z).
// grow > 0 widens it by about that many units.
bool inLake(float x, float z, float grow = 0.0f) {
    const float u = (x - 135.0f) / (75.0f + grow), v = (z - 10.0f) / (110.0f + grow);
    return u * u + v * v < 1.0f;
}

class Ground : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        heightMap = new LoadedImage(loadImage(kTextures + "terrain/heightmapmiddle.png"));
        if (!heightMap->valid()) return;
        // The program asks the decoder for three channels.
        int w, h, c;
        unsigned char* rgb =
            stbi_load((kTextures + "terrain/heightmapmiddle.png").c_str(), &w, &h, &c, 3);
        grid = new TerrainGrid(buildTerrainGrid(rgb, w, h));
        stbi_image_free(rgb);
    }
    static void TearDownTestSuite() {
        delete heightMap;
        delete grid;
        heightMap = nullptr;
        grid = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(grid) << "no height map in " << kTextures; }

    static float heightAt(float x, float z) { return heightOfTerrainGrid(*grid, kCorner, x, z); }
    static float vertexX(int i) { return -500.0f + i * 1000.0f / (grid->vertexCount - 1); }

    static LoadedImage* heightMap;
    static TerrainGrid* grid;
};
LoadedImage* Ground::heightMap = nullptr;
TerrainGrid* Ground::grid = nullptr;

const auto& kTrees = kTreePositions;
const auto& kGrass = kGrassPositions;

}  // namespace

TEST_F(Ground, HeightMapIsA256SquareOfGreys) {
    EXPECT_EQ(heightMap->width, 256);
    EXPECT_EQ(heightMap->height, 256);
    ASSERT_EQ(heightMap->channels, 3);
    for (int y = 0; y < heightMap->height; ++y)
        for (int x = 0; x < heightMap->width; ++x) {
            const uint8_t* p = heightMap->at(x, y);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "pixel " << x << ", " << y;
        }
}

TEST_F(Ground, GardenIsAFlatPlateauAtGrey128) {
    EXPECT_NEAR(heightAt(0.0f, 0.0f), 0.0196f, 1e-4f);
    for (float x = -30.0f; x <= 30.0f; x += 1.0f)
        for (float z = -30.0f; z <= 30.0f; z += 1.0f)
            ASSERT_NEAR(heightAt(x, z), 0.0f, 0.3f) << "at " << x << ", " << z;
}

TEST_F(Ground, TreesGrassAndLampStandOnDryLand) {
    for (const glm::vec2 p : kTrees) EXPECT_GT(heightAt(p.x, p.y), -1.5f) << p.x << ", " << p.y;
    for (const glm::vec2 p : kGrass) EXPECT_GT(heightAt(p.x, p.y), -1.5f) << p.x << ", " << p.y;
    // Those in the garden stand on the plateau.
    for (const glm::vec2 p : {glm::vec2(-25, 10), glm::vec2(20, -27), glm::vec2(0, 20),
                              glm::vec2(10, -30), glm::vec2(0, -20)})
        EXPECT_NEAR(heightAt(p.x, p.y), 0.0f, 0.3f) << p.x << ", " << p.y;
}

TEST_F(Ground, BoatFloatsInDeepWaterAndJettyRunsFromShoreOverWater) {
    // The hull, 30 long along z around (105, 10), keel at about -3.5.
    for (float x = 101.0f; x <= 109.0f; x += 1.0f)
        for (float z = -5.0f; z <= 25.0f; z += 1.0f)
            ASSERT_LT(heightAt(x, z), -3.5f) << "at " << x << ", " << z;
    // The deck (0.3 to 0.6 high) starts on the beach at x = 52 ...
    for (float z = 6.0f; z <= 14.0f; z += 1.0f) {
        EXPECT_LT(heightAt(52.0f, z), 0.3f);
        EXPECT_GT(heightAt(52.0f, z), -1.5f);
    }
    // ... its foot (60, 10) is at the waterline ...
    EXPECT_NEAR(heightAt(60.0f, 10.0f), -2.0f, 0.5f);
    // ... and beyond the first few units it stands in water.
    for (float x = 64.0f; x <= 98.0f; x += 2.0f)
        for (float z = 6.0f; z <= 14.0f; z += 2.0f)
            EXPECT_LT(heightAt(x, z), -2.0f) << "at " << x << ", " << z;
}

TEST_F(Ground, LakeIsTheOnlyWaterAndTheValleyRisesToItsEdges) {
    float deepest = 0.0f, rim = 0.0f;
    int rimCount = 0;
    for (int i = 0; i < grid->vertexCount; ++i) {
        for (int j = 0; j < grid->vertexCount; ++j) {
            const float x = vertexX(i), z = vertexX(j), h = grid->heights[i][j];
            ASSERT_GE(h, -5.0f);
            ASSERT_LE(h, 5.0f);
            if (!inLake(x, z, 3.0f)) {
                ASSERT_GT(h, -1.5f) << "puddle at " << x << ", " << z;
            }
            if (inLake(x, z, -3.0f)) {
                ASSERT_LT(h, -2.0f) << "dry lake bed at " << x << ", " << z;
            }
            deepest = std::min(deepest, h);
            if (i == 0 || j == 0 || i == grid->vertexCount - 1 || j == grid->vertexCount - 1) {
                rim += h;
                ++rimCount;
            }
        }
    }
    EXPECT_LT(deepest, -4.8f);
    EXPECT_GT(rim / rimCount, 3.5f);
    // A sandy beach rises to about 0 within some 10 units of the shore.
    EXPECT_NEAR(heightAt(48.0f, 10.0f), 0.0f, 0.5f);
    EXPECT_NEAR(heightAt(135.0f, 130.0f), 0.0f, 0.5f);
}

TEST(GroundCover, BlendMapPaintsSandGrassDirtAndAPathToTheJetty) {
    const LoadedImage blend = loadImage(kTextures + "terrain/blendmapmiddle.png");
    ASSERT_TRUE(blend.valid());
    ASSERT_EQ(blend.channels, 3);
    ASSERT_EQ(blend.width, blend.height);
    ASSERT_TRUE(blend.width == 256 || blend.width == 512);
    const int n = blend.width;
    auto texel = [&](float x, float z) {
        const int i = std::clamp(int((x + 500.0f) / 1000.0f * n), 0, n - 1);
        const int j = std::clamp(int((z + 500.0f) / 1000.0f * n), 0, n - 1);
        return blend.at(i, j);
    };
    auto worldOf = [&](int k) { return -500.0f + (k + 0.5f) * 1000.0f / n; };

    // The channels share one texel: together never more than full.
    long grassy = 0, land = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const uint8_t* p = blend.at(i, j);
            ASSERT_LE(p[0] + p[1] + p[2], 257) << "texel " << i << ", " << j;
            if (!inLake(worldOf(i), worldOf(j), 25.0f)) {
                ++land;
                grassy += p[2] > 128;
            }
        }
    EXPECT_GT(double(grassy) / land, 0.8) << "grass covers most land";

    // Sand: black on the lake bed and the beach.
    for (const glm::vec2 p : {glm::vec2(135, 10), glm::vec2(62, 10), glm::vec2(135, 115)}) {
        const uint8_t* t = texel(p.x, p.y);
        EXPECT_LT(t[0] + t[1] + t[2], 20) << p.x << ", " << p.y;
    }
    // Dirt (green) under the table and the trees.
    for (const glm::vec2 p : {glm::vec2(-0.6f, 2.75f), kTrees[0], kTrees[3], kTrees[7]})
        EXPECT_GT(texel(p.x, p.y)[1], 200) << p.x << ", " << p.y;

    // A path (red) runs unbroken from the garden to the beach at the jetty's foot.
    std::vector<char> seen(size_t(n) * n, 0);
    std::queue<std::pair<int, int>> open;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            if (blend.at(i, j)[0] > 128 && std::hypot(worldOf(i), worldOf(j)) < 15.0f) {
                seen[size_t(j) * n + i] = 1;
                open.push({i, j});
            }
    ASSERT_FALSE(open.empty()) << "no path near the table";
    bool reachedJetty = false;
    while (!open.empty() && !reachedJetty) {
        const auto [i, j] = open.front();
        open.pop();
        reachedJetty = std::hypot(worldOf(i) - 60.0f, worldOf(j) - 10.0f) < 10.0f;
        for (const auto& [di, dj] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int a = i + di, b = j + dj;
            if (a < 0 || b < 0 || a >= n || b >= n || seen[size_t(b) * n + a]) continue;
            seen[size_t(b) * n + a] = 1;
            // The path may run out into the beach's sand.
            const uint8_t* t = blend.at(a, b);
            if (t[0] > 128 || (t[0] + t[1] + t[2] < 60 && !inLake(worldOf(a), worldOf(b))))
                open.push({a, b});
        }
    }
    EXPECT_TRUE(reachedJetty);
}

TEST(GroundCover, GroundTexturesAre512TilesWithoutSeams) {
    for (const char* name : {"sand.jpg", "path.jpg", "dirt.jpg", "grass.jpg"}) {
        const LoadedImage image = loadImage(kTextures + "terrain/" + name);
        ASSERT_TRUE(image.valid()) << name;
        EXPECT_EQ(image.width, 512) << name;
        EXPECT_EQ(image.height, 512) << name;
        EXPECT_EQ(image.channels, 3) << name;
        EXPECT_LT(wrapSeamRatio(image), 1.3) << name;
    }
}

TEST(WaterMaps, DistortionAndNormalMapsTileAndCentreOnRest) {
    const LoadedImage dudv = loadImage(kTextures + "water/DUDVMap.png");
    const LoadedImage normals = loadImage(kTextures + "water/normalMap.png");
    ASSERT_TRUE(dudv.valid());
    ASSERT_TRUE(normals.valid());
    for (const LoadedImage* image : {&dudv, &normals}) {
        EXPECT_EQ(image->channels, 3);
        EXPECT_EQ(image->width, image->height);
        EXPECT_LT(wrapSeamRatio(*image), 1.3);
    }
    double red = 0.0, green = 0.0;
    long blueDominant = 0;
    for (int y = 0; y < dudv.height; ++y)
        for (int x = 0; x < dudv.width; ++x) {
            red += dudv.at(x, y)[0];
            green += dudv.at(x, y)[1];
        }
    const double count = double(dudv.width) * dudv.height;
    EXPECT_NEAR(red / count, 127.5, 12.0);
    EXPECT_NEAR(green / count, 127.5, 12.0);
    for (int y = 0; y < normals.height; ++y)
        for (int x = 0; x < normals.width; ++x) {
            const uint8_t* p = normals.at(x, y);
            blueDominant += p[2] > p[0] && p[2] > p[1];
        }
    EXPECT_GT(blueDominant / (double(normals.width) * normals.height), 0.99);
}

TEST(SmokeTexture, SoftWhitePuffOnBlack) {
    const LoadedImage smoke = loadImage(kTextures + "smoke/smoke.png");
    ASSERT_TRUE(smoke.valid());
    ASSERT_EQ(smoke.channels, 3);
    const int w = smoke.width, h = smoke.height;
    for (int k = 0; k < w; ++k) {
        EXPECT_LE(smoke.at(k, 0)[0], 2);
        EXPECT_LE(smoke.at(k, h - 1)[0], 2);
        EXPECT_LE(smoke.at(0, k * h / w)[0], 2);
        EXPECT_LE(smoke.at(w - 1, k * h / w)[0], 2);
    }
    const uint8_t* centre = smoke.at(w / 2, h / 2);
    EXPECT_GT(centre[0], 150);
    EXPECT_EQ(centre[0], centre[1]);
    EXPECT_EQ(centre[1], centre[2]);
    // Soft: brightness falls off gradually from the middle to the rim.
    int steps = 0;
    for (int x = w / 2; x + 1 < w; ++x) steps += smoke.at(x, h / 2)[0] != smoke.at(x + 1, h / 2)[0];
    EXPECT_GT(steps, w / 8);
}

TEST(SceneTextures, GeneratorWritesTheSameBytesAgain) {
    namespace fs = std::filesystem;
    const fs::path out =
        fs::temp_directory_path() / ("morrowdock_textures_" + std::to_string(getpid()));
    fs::remove_all(out);
    const std::string command =
        std::string("\"") + MD_ASSETGEN + "\" \"" + out.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::vector<std::string> files{"terrain/heightmapmiddle.png",
                                   "terrain/blendmapmiddle.png",
                                   "terrain/sand.jpg",
                                   "terrain/path.jpg",
                                   "terrain/dirt.jpg",
                                   "terrain/grass.jpg",
                                   "water/DUDVMap.png",
                                   "water/normalMap.png",
                                   "smoke/smoke.png",
                                   "controlpoints.txt"};
    for (const char* face : {"right", "left", "top", "bottom", "back", "front"}) {
        files.push_back(std::string("skybox/") + face + ".png");
        std::string night = face;
        night[0] = char(std::toupper(night[0]));
        files.push_back("skybox/night" + night + ".png");
    }
    auto bytes = [](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const std::string& file : files) {
        const std::string again = bytes(out / "textures" / file);
        EXPECT_FALSE(again.empty()) << file;
        EXPECT_TRUE(again == bytes(kTextures + file)) << file << " differs";
    }
    fs::remove_all(out);
}
