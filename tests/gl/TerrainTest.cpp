// The terrain built from a small height map in a scratch data tree: grid,
// heights, the height lookup, drawing state and the blend of its textures.
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <memory>

#include "core/Globals.h"
#include "effects/Terrain.h"
#include "gl/GlTestSupport.h"
#include "gl/RenderTestFiles.h"
#include "render/Shader.h"

namespace {

constexpr int kMapWidth = 5;
constexpr int kMapHeight = 4;  // one grid row more than image rows

// Red value of height-map pixel (column i, row j).
unsigned char heightMapRed(int i, int j) {
    const unsigned char reds[kMapHeight][kMapWidth] = {{0, 255, 128, 64, 200},
                                                       {10, 20, 30, 40, 50},
                                                       {255, 255, 255, 255, 255},
                                                       {100, 110, 120, 130, 140}};
    return reds[j][i];
}

bool writeSolidJpg(const std::filesystem::path& file, unsigned char r, unsigned char g,
                   unsigned char b) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 8 * 8; ++i) pixels.insert(pixels.end(), {r, g, b});
    return stbi_write_jpg(file.c_str(), 8, 8, 3, pixels.data(), 95) != 0;
}

// The scene's terrain files: the height map above, four one-colour ground
// textures, and a blend map red on its left half and blue on its right.
std::filesystem::path writeTerrainTree() {
    const auto root = freshTempFolder("terrainTree");
    const auto dir = root / "textures" / "terrain";
    std::filesystem::create_directories(dir);
    std::vector<unsigned char> map;
    for (int j = 0; j < kMapHeight; ++j)
        for (int i = 0; i < kMapWidth; ++i) {
            const unsigned char red = heightMapRed(i, j);
            map.insert(map.end(), {red, red, red});
        }
    writePng(dir / "heightmapmiddle.png", kMapWidth, kMapHeight, 3, map);
    writeSolidJpg(dir / "sand.jpg", 250, 230, 160);
    writeSolidJpg(dir / "path.jpg", 200, 40, 40);
    writeSolidJpg(dir / "dirt.jpg", 90, 60, 30);
    writeSolidJpg(dir / "grass.jpg", 40, 160, 40);
    std::vector<unsigned char> blend;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            blend.insert(blend.end(), {x < 4 ? (unsigned char)255 : (unsigned char)0, 0,
                                       x < 4 ? (unsigned char)0 : (unsigned char)255});
    writePng(dir / "blendmapmiddle.png", 8, 8, 3, blend);
    return root;
}

const std::string kShaderDir = std::string(MD_SOURCE_DIR) + "/shader/";

}  // namespace

TEST(Terrain, BuildsTheGridAndHeightsFromTheHeightMap) {
    const auto root = writeTerrainTree();
    Terrain* terrain = nullptr;
    {
        WorkingDirectory inBin(root / "bin");
        terrain = Terrain::getInstance();
    }
    ASSERT_NE(terrain, nullptr);
    EXPECT_EQ(Terrain::getInstance(), terrain);
    EXPECT_EQ(terrain->mapWidth, kMapWidth);
    EXPECT_EQ(terrain->mapHeight, kMapHeight);
    EXPECT_EQ(terrain->mapPixels, nullptr);
    EXPECT_EQ(terrain->vertexCount, kMapWidth);
    EXPECT_EQ(terrain->vertices.size(), size_t(kMapWidth * kMapWidth));
    EXPECT_EQ(terrain->indices.size(), size_t(6 * (kMapWidth - 1) * (kMapWidth - 1)));
    EXPECT_EQ(terrain->backgroundTexture.path, "../textures/terrain/sand.jpg");
    EXPECT_EQ(terrain->blendMap.path, "../textures/terrain/blendmapmiddle.png");
    EXPECT_EQ(texLevel(terrain->bTexture.id, GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT),
              GL_RGBA8);

    // Black -5, white +5, grey 128 a little above 0; the grid row past the
    // image's last row is flat at 0.
    EXPECT_FLOAT_EQ(terrain->heights[0][0], -5.0f);
    EXPECT_FLOAT_EQ(terrain->heights[1][0], 5.0f);
    EXPECT_NEAR(terrain->heights[2][0], 0.0196f, 1e-4f);
    for (int i = 0; i < kMapWidth; ++i) EXPECT_FLOAT_EQ(terrain->heights[i][4], 0.0f);

    // The lookup stands on the vertices: world x = -500 + i * 250.
    for (int j = 0; j < kMapWidth - 1; ++j)
        for (int i = 0; i < kMapWidth - 1; ++i) {
            const float expected = (heightMapRed(i, j) / 255.0f - 0.5f) * 10.0f;
            EXPECT_NEAR(terrain->getHeightOfTerrain(-500.0f + 250.0f * i, -500.0f + 250.0f * j),
                        expected, 1e-3f)
                << i << "," << j;
            const TerrainVertex& v = terrain->vertices[size_t(j) * kMapWidth + i];
            EXPECT_NEAR(v.position.y, expected, 1e-5f);
            EXPECT_FLOAT_EQ(v.position.x, 250.0f * i);
        }
    EXPECT_FLOAT_EQ(terrain->getHeightOfTerrain(500.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(terrain->getHeightOfTerrain(0.0f, 900.0f), 0.0f);

    delete terrain;
    // After the application deletes it, the next request builds a new one.
    WorkingDirectory inBin(root / "bin");
    Terrain* rebuilt = Terrain::getInstance();
    EXPECT_EQ(rebuilt->vertexCount, kMapWidth);
    delete rebuilt;
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(Terrain, DrawsWithItsFiveTexturesAndLeavesNothingBound) {
    const auto root = writeTerrainTree();
    std::unique_ptr<Terrain> terrain;
    {
        WorkingDirectory inBin(root / "bin");
        terrain.reset(Terrain::getInstance());
    }
    Shader shader((kShaderDir + "terrainVert.txt").c_str(),
                  (kShaderDir + "terrainFrag.txt").c_str());
    Shader* const previousShader = terrainShader;
    terrainShader = &shader;

    // Straight down on the whole grid, lit by ambient light only, so each
    // pixel shows the ground texture the blend map picks.
    shader.use();
    shader.setMat4("view", glm::lookAt(glm::vec3(0, 100, 0), glm::vec3(0), glm::vec3(0, 0, -1)));
    shader.setMat4("projection", glm::ortho(-500.0f, 500.0f, -500.0f, 500.0f, 1.0f, 200.0f));
    shader.setVec3("viewPos", 0, 100, 0);
    shader.setVec3("directionalLights[0].direction", 0, -1, 0);
    shader.setVec3("directionalLights[0].ambient", 1, 1, 1);
    glUseProgram(0);
    glDisable(GL_CULL_FACE);

    OffscreenTarget target(8, 8);
    ASSERT_TRUE(target.complete());
    EXPECT_EQ(terrain->draw(nullptr, FrameChoices{}), 2 * (kMapWidth - 1) * (kMapWidth - 1));

    const GLuint p = shader.program;
    const char* samplers[] = {"backgroundTexture", "rTexture", "gTexture", "bTexture", "blendmap"};
    for (int unit = 0; unit < 5; ++unit) {
        EXPECT_EQ(uniformInt(p, samplers[unit]), unit) << samplers[unit];
        EXPECT_EQ(boundTexture2D(unit), 0) << unit;
    }
    GLint active = 0, current = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(active, GL_TEXTURE4);
    EXPECT_EQ(current, 0);
    GLfloat model[16] = {};
    glGetUniformfv(p, glGetUniformLocation(p, "model"), model);
    EXPECT_FLOAT_EQ(model[12], -500.0f);
    EXPECT_FLOAT_EQ(model[14], -500.0f);

    // Red on the west half: path; blue on the east half: grass.
    const auto west = target.pixel(1, 4);
    const auto east = target.pixel(6, 4);
    EXPECT_NEAR(west[0], 200, 6);
    EXPECT_NEAR(west[1], 40, 6);
    EXPECT_NEAR(east[0], 40, 6);
    EXPECT_NEAR(east[1], 160, 6);

    terrainShader = previousShader;
    EXPECT_EQ(takeGlError(), GLenum(GL_NO_ERROR));
}

TEST(TerrainDeathTest, AMissingOrTooWideHeightMapEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto root = freshTempFolder("terrainEmptyTree");
    WorkingDirectory inBin(root / "bin");
    EXPECT_EXIT(Terrain::getInstance(), testing::ExitedWithCode(1), "Texture failed to load\n");
    // The grid is as deep as the map is wide: 4096 x 2 would mean 16 million
    // vertices, and is refused like an unreadable map.
    ASSERT_TRUE(writePng(root / "textures/terrain/heightmapmiddle.png", 4096, 2, 1,
                         std::vector<unsigned char>(8192, 128)));
    EXPECT_EXIT(Terrain::getInstance(), testing::ExitedWithCode(1),
                "Texture failed to load\n  .*heightmapmiddle.png: declares 4096 x 2, above the "
                "limit of 2048");
}
