#include "effects/Terrain.h"

#include <GL/glew.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <glm/gtc/matrix_transform.hpp>
#include <iostream>
#include <limits>
#include <utility>

#include "core/Console.h"
#include "core/Globals.h"
#include "core/FrameChoices.h"
#include "lighting/LightReach.h"
#include "render/ImageDecode.h"
#include "render/LightVariants.h"
#include "render/Shader.h"
#include "render/TextureLoader.h"
#include "render/ViewVolume.h"
#include "scene/SceneLights.h"

namespace {

Terrain* instance = nullptr;

// The nearest depth in the view (clip w) of the box's corners; 0 when a
// corner lies at or behind the eye.
float nearestDepth(const glm::mat4& clipFromWorld, const Box& box) {
    glm::vec4 corners[8];
    boxCorners(box, corners);
    float nearest = std::numeric_limits<float>::max();
    for (const glm::vec4& corner : corners) nearest = std::min(nearest, (clipFromWorld * corner).w);
    return std::max(nearest, 0.0f);
}

const char* const kHeightMapPath = "../textures/terrain/heightmapmiddle.png";

Texture textureRecord(const char* path) {
    Texture texture;
    texture.path = path;
    return texture;
}

}  // namespace

Terrain* Terrain::getInstance() {
    if (!instance) instance = new Terrain();
    return instance;
}

const std::vector<std::string>& Terrain::textureFiles() {
    static const std::vector<std::string> files = {
        "../textures/terrain/sand.jpg", "../textures/terrain/path.jpg",
        "../textures/terrain/dirt.jpg", "../textures/terrain/grass.jpg",
        "../textures/terrain/blendmapmiddle.png"};
    return files;
}

Terrain::Terrain()
    : backgroundTexture(textureRecord(textureFiles()[0].c_str())),
      rTexture(textureRecord(textureFiles()[1].c_str())),
      gTexture(textureRecord(textureFiles()[2].c_str())),
      bTexture(textureRecord(textureFiles()[3].c_str())),
      blendMap(textureRecord(textureFiles()[4].c_str())) {
    // The grid is as deep as the map is wide, so the width is bounded far
    // below what other images may declare.
    DecodedImage map = decodeImageFile(kHeightMapPath, 3, kMaxTerrainSide);
    if (!map) {
        std::cerr << "Texture failed to load" << std::endl;
        std::cerr << "  " << kHeightMapPath << ": " << map.problem << std::endl;
        consolePause();
        std::exit(1);
    }
    mapWidth = map.width;
    mapHeight = map.height;
    mapPixels = map.pixels.release();

    for (Texture* texture : {&backgroundTexture, &rTexture, &gTexture, &bTexture, &blendMap})
        texture->id = loadTexture(texture->path.c_str());

    TerrainGrid grid = buildTerrainGrid(mapPixels, mapWidth, mapHeight);
    vertexCount = grid.vertexCount;
    vertices = std::move(grid.vertices);
    indices = std::move(grid.indices);
    heights = std::move(grid.heights);

    blockBoxes = terrainBlockBoxes(vertices, vertexCount, position);
    blockNormals = terrainBlockNormals(vertices, vertexCount);
    squareBoxes = terrainSquareBoxes(vertices, vertexCount, position, kSquareCells);
    steepness = steepestGround(heights, vertexCount);
    setupBuffers();
    stbi_image_free(mapPixels);
    mapPixels = nullptr;
}

Terrain::~Terrain() {
    glDeleteVertexArrays(1, &VAO);
    glDeleteBuffers(1, &VBO);
    glDeleteBuffers(1, &EBO);
    heights.clear();
    stbi_image_free(mapPixels);
    if (instance == this) instance = nullptr;
}

void Terrain::setupBuffers() {
    glGenVertexArrays(1, &VAO);
    glGenBuffers(1, &VBO);
    glGenBuffers(1, &EBO);

    // The grid's vertices, then the same points lowered by the far level's
    // skirt depth (the skirts' lower edges).
    std::vector<TerrainVertex> allVertices = vertices;
    const float depth = terrainSkirtDepth(heights, vertexCount, kFarStride) + kSkirtMargin;
    for (TerrainVertex v : vertices) {
        v.position.y -= depth;
        allVertices.push_back(v);
    }
    glBindVertexArray(VAO);
    glBindBuffer(GL_ARRAY_BUFFER, VBO);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(allVertices.size() * sizeof(TerrainVertex)),
                 allVertices.empty() ? nullptr : allVertices.data(), GL_STATIC_DRAW);
    // The coarse and far levels follow the full grid's list in the same
    // buffer, then the far level's skirts.
    std::vector<unsigned int> all = indices;
    levels = {{1, 0, indices.size()}};
    for (int stride : {2, kFarStride}) {
        const std::vector<unsigned int> level = terrainGridIndices(vertexCount, stride);
        levels.push_back({stride, all.size(), level.size()});
        all.insert(all.end(), level.begin(), level.end());
    }
    skirts = terrainSkirts(vertexCount, kFarStride, static_cast<unsigned int>(vertices.size()));
    skirtsFirst = all.size();
    all.insert(all.end(), skirts.indices.begin(), skirts.indices.end());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, EBO);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(all.size() * sizeof(unsigned int)),
                 all.empty() ? nullptr : all.data(), GL_STATIC_DRAW);

    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(TerrainVertex),
                          reinterpret_cast<void*>(offsetof(TerrainVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(TerrainVertex),
                          reinterpret_cast<void*>(offsetof(TerrainVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(TerrainVertex),
                          reinterpret_cast<void*>(offsetof(TerrainVertex, texCoords)));
    glBindVertexArray(0);
}

int Terrain::draw(const ViewVolume* view, const FrameChoices& choices) {
    if (!terrainShader) return 0;
    terrainShader->use();
    model = glm::translate(glm::mat4(1.0f), position);
    terrainShader->setMat4("model", model);

    const Texture* units[] = {&backgroundTexture, &rTexture, &gTexture, &bTexture, &blendMap};
    const char* samplers[] = {"backgroundTexture", "rTexture", "gTexture", "bTexture", "blendmap"};
    for (int unit = 0; unit < 5; ++unit) {
        glActiveTexture(GL_TEXTURE0 + GLenum(unit));
        terrainShader->setInt(samplers[unit], unit);
        glBindTexture(GL_TEXTURE_2D, units[unit]->id);
    }

    const int stride = choices.groundStride;
    const Level* level = &levels.front();
    for (const Level& l : levels)
        if (l.stride == stride) level = &l;
    glBindVertexArray(VAO);
    drawVisibleCells(*level, view, choices);
    glBindVertexArray(0);

    for (int unit = 0; unit < 5; ++unit) {
        glActiveTexture(GL_TEXTURE0 + GLenum(unit));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glUseProgram(0);
    return int(level->count / 3);
}

void Terrain::drawVisibleCells(const Level& level, const ViewVolume* volume,
                               const FrameChoices& choices) {
    if (!choices.terrainBlocks || blockBoxes.empty() || !volume) {
        glDrawElements(GL_TRIANGLES, GLsizei(level.count), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(level.first * sizeof(unsigned int)));
        return;
    }
    blockVisible.resize(blockBoxes.size());
    for (size_t b = 0; b < blockBoxes.size(); ++b) blockVisible[b] = !volume->hides(blockBoxes[b]);
    // Blocks that lie wholly deeper in the view than the frame's threshold
    // are drawn from the far level, with their skirts.
    blockFar.assign(blockBoxes.size(), 0);
    if (choices.farGroundFrom > 0.0f)
        for (size_t b = 0; b < blockBoxes.size(); ++b)
            blockFar[b] = blockVisible[b] && nearestDepth(volume->clipFromWorld, blockBoxes[b]) >=
                                                 choices.farGroundFrom;
    if (!terrainLightVariants) {
        drawRunsAtDepth(level, blockVisible);
        return;
    }
    // Blocks that some lights cannot reach are drawn by a program without
    // them (with the light masks off, every block keeps every light), one
    // draw per set of lights, in the order of each set's first block; a
    // reduced frame draws with the lean builds. The grid is a height field
    // drawn with its back faces culled, so no two of its drawn triangles
    // meet at the same depth and the order between blocks leaves the
    // picture as it is.
    blockLights.assign(blockBoxes.size(), kEveryLight);
    if (choices.lightMasks)
        for (size_t b = 0; b < blockBoxes.size(); ++b)
            if (blockVisible[b])
                blockLights[b] = sceneLightsReaching(
                    blockBoxes[b], b < blockNormals.size() ? &blockNormals[b] : nullptr);
    for (size_t first = 0; first < blockBoxes.size(); ++first) {
        if (!blockVisible[first]) continue;
        const unsigned mask = blockLights[first];
        groupVisible.assign(blockBoxes.size(), 0);
        for (size_t b = first; b < blockBoxes.size(); ++b) {
            if (!blockVisible[b] || blockLights[b] != mask) continue;
            groupVisible[b] = 1;
            blockVisible[b] = 0;
        }
        terrainLightVariants->current(mask, false, choices.leanPrograms);
        drawRunsAtDepth(level, groupVisible);
    }
    terrainShader->use();
}

void Terrain::drawRunsAtDepth(const Level& level, const std::vector<char>& blocks) {
    const Level* far = nullptr;
    for (const Level& l : levels)
        if (l.stride == kFarStride) far = &l;
    bool anyFar = false;
    for (size_t b = 0; b < blocks.size() && b < blockFar.size() && !anyFar; ++b)
        anyFar = blocks[b] && blockFar[b];
    if (!far || !anyFar) {
        drawRuns(level, blocks);
        return;
    }
    nearBlocks = blocks;
    farBlocks.assign(blocks.size(), 0);
    for (size_t b = 0; b < blocks.size() && b < blockFar.size(); ++b)
        if (blocks[b] && blockFar[b]) {
            nearBlocks[b] = 0;
            farBlocks[b] = 1;
        }
    drawRuns(level, nearBlocks);
    drawRuns(*far, farBlocks);
    // Their skirts, in block order, merged where they meet.
    runs.clear();
    for (size_t b = 0; b < farBlocks.size() && b + 1 < skirts.blockFirst.size(); ++b) {
        if (!farBlocks[b]) continue;
        const size_t first = skirts.blockFirst[b];
        const size_t count = skirts.blockFirst[b + 1] - first;
        if (!runs.empty() && runs.back().first + runs.back().count == first)
            runs.back().count += count;
        else
            runs.push_back({first, count});
    }
    drawIndexRuns(skirtsFirst);
}

void Terrain::drawRuns(const Level& level, const std::vector<char>& blocks) {
    visibleCellRuns(vertexCount, blocks, runs, level.stride);
    drawIndexRuns(level.first);
}

void Terrain::drawIndexRuns(size_t base) {
    if (runs.empty()) return;
    runCounts.clear();
    runOffsets.clear();
    for (const IndexRun& run : runs) {
        runCounts.push_back(GLsizei(run.count));
        runOffsets.push_back(
            reinterpret_cast<const void*>((base + run.first) * sizeof(unsigned int)));
    }
    glMultiDrawElements(GL_TRIANGLES, runCounts.data(), GL_UNSIGNED_INT, runOffsets.data(),
                        GLsizei(runs.size()));
}

float Terrain::getHeightOfTerrain(float worldX, float worldZ) const {
    return heightOfTerrainGrid(heights, vertexCount, position, worldX, worldZ);
}
