#pragma once
// The ground of the scene: a square grid mesh 1000 by 1000 world units, its
// heights from a grey height map, painted from four textures mixed by a blend
// map. One instance, built on first use from fixed paths under
// "../textures/terrain/"; a height map that cannot be read is fatal.

#include <GL/glew.h>

#include <glm/glm.hpp>
#include <vector>

#include "core/FrameChoices.h"
#include "effects/TerrainGrid.h"
#include "render/Mesh.h"
#include "render/ViewVolume.h"

class Terrain {
public:
    // The ground textures in the order of the shader's samplers: sand, path,
    // dirt, grass, then the blend map.
    static const std::vector<std::string>& textureFiles();

    int vertexCount = 0;
    std::vector<TerrainVertex> vertices;  // row by row: z outer, x inner
    std::vector<unsigned int> indices;    // two triangles per grid cell
    unsigned int VAO = 0;
    unsigned int VBO = 0;
    unsigned int EBO = 0;
    glm::mat4 model = glm::mat4(1.0f);
    glm::vec3 position = glm::vec3(-500.0f, 0.0f, -500.0f);  // world position of grid corner (0, 0)
    Texture backgroundTexture;
    Texture rTexture;
    Texture gTexture;
    Texture bTexture;
    Texture blendMap;
    int mapWidth = 0;
    int mapHeight = 0;
    unsigned char* mapPixels = nullptr;       // 3 bytes a pixel; released once the grid is built
    std::vector<std::vector<float>> heights;  // [x index][z index]
    std::vector<Box> blockBoxes;              // world boxes of the grid's blocks
    std::vector<Box> blockNormals;            // the boxes of their vertex normals
    std::vector<Box> squareBoxes;             // world boxes of squares of kSquareCells cells
    static constexpr int kSquareCells = 4;
    float steepness = 0.0f;                   // steepestGround of the grid

    // Builds the terrain on the first call; the same object afterwards (or a
    // new one if the application has deleted it).
    static Terrain* getInstance();

    // Draws with terrainShader; returns the number of triangles drawn. Leaves
    // texture units 0 to 4 empty, unit 4 active and no program current. The
    // grid's level is the frame's ground stride. With the frame's
    // terrain-blocks choice, the blocks that `view` (the terrain program's
    // view in this pass) cannot show are left out; without a view, none.
    int draw(const ViewVolume* view, const FrameChoices& choices);

    // Ground height at world (x, z) on the drawn surface; 0 outside the grid.
    float getHeightOfTerrain(float worldX, float worldZ) const;

    ~Terrain();
    Terrain(const Terrain&) = delete;
    Terrain& operator=(const Terrain&) = delete;

private:
    // A level of the grid: where its list lies in the element buffer.
    struct Level {
        int stride = 1;
        size_t first = 0;  // position of the level's first index in the buffer
        size_t count = 0;
    };

    Terrain();
    void setupBuffers();
    // Draws the cells of the blocks that the program's current view, lens
    // and water clip plane can show (every cell with the shortcuts off).
    // Where some lights cannot reach a block, it is drawn by a narrower
    // program (see LightVariants) with the same picture.
    void drawVisibleCells(const Level& level, const ViewVolume* view,
                          const FrameChoices& choices);
    // One draw of the cells of the flagged blocks, in grid order.
    void drawRuns(const Level& level, const std::vector<char>& blocks);
    // One draw of `runs`, their positions counted from index `base` of the
    // buffer.
    void drawIndexRuns(size_t base);
    // The same, the blocks among them that lie deep in the view (blockFar)
    // from the far level, with their skirts.
    void drawRunsAtDepth(const Level& level, const std::vector<char>& blocks);

    // The level that blocks deeper in a reduced frame's view than its
    // threshold are drawn from (cells about 31 units wide), and how much
    // lower than needed their skirts reach.
    static constexpr int kFarStride = 8;
    static constexpr float kSkirtMargin = 0.05f;
    TerrainSkirts skirts;    // the far level's
    size_t skirtsFirst = 0;  // position of their first index in the buffer
    std::vector<char> blockFar;
    std::vector<char> nearBlocks;
    std::vector<char> farBlocks;

    std::vector<Level> levels;
    std::vector<char> blockVisible;
    std::vector<unsigned> blockLights;  // LIGHT_MASK of each visible block
    std::vector<char> groupVisible;
    std::vector<IndexRun> runs;
    std::vector<GLsizei> runCounts;
    std::vector<const void*> runOffsets;
};
