#pragma once
// The terrain's arithmetic, apart from any GL: the grid built from a
// height map, and the ground height at a world point on the drawn surface.

#include <glm/glm.hpp>
#include <vector>

#include "render/ScreenRect.h"

struct TerrainVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 texCoords;
};
static_assert(sizeof(TerrainVertex) == 32, "terrain vertices are 32 bytes");

constexpr float kTerrainSize = 1000.0f;       // world units on each side
constexpr float kTerrainHeightRange = 10.0f;  // heights from -5 to +5
// Widest height map accepted: the grid has width x width vertices, about 60
// bytes each with its indices, so 2048 already means a quarter of a gigabyte
// (the scene's map is 256).
constexpr int kMaxTerrainSide = 2048;

struct TerrainGrid {
    int vertexCount = 0;                      // vertices per side (the height map's width)
    std::vector<TerrainVertex> vertices;      // row by row: z outer, x inner
    std::vector<unsigned int> indices;        // two triangles per cell (stride 1)
    std::vector<std::vector<float>> heights;  // [x index][z index]
};

// (red / 255 - 0.5) * 10
float heightFromRed(unsigned char red);

// Builds the square grid from a height map of 3 bytes a pixel, rows top to
// bottom. The width sets both directions; grid rows beyond the image's height
// get height 0. A width below 2 or above kMaxTerrainSide gives an empty grid.
TerrainGrid buildTerrainGrid(const unsigned char* rgbPixels, int mapWidth, int mapHeight);

// Ground height at a world point, interpolated on the same triangles as the
// mesh; 0 outside the grid. position is the world position of the grid's
// corner (0, 0).
float heightOfTerrainGrid(const TerrainGrid& grid, glm::vec3 position, float worldX, float worldZ);

// The same lookup on a heights table of vertexCount x vertexCount entries,
// [x index][z index], for owners that keep the table themselves.
float heightOfTerrainGrid(const std::vector<std::vector<float>>& heights, int vertexCount,
                          glm::vec3 position, float worldX, float worldZ);

// The grid in square blocks of cells, for drawing only the blocks a view can
// see. A block is kTerrainBlockCells cells on a side (smaller at the far edges).
constexpr int kTerrainBlockCells = 16;

int terrainBlocksPerSide(int vertexCount);

// World-space box of each block, block rows (z) outer, block columns inner;
// position is the world position of vertex (0, 0).
std::vector<Box> terrainBlockBoxes(const std::vector<TerrainVertex>& vertices, int vertexCount,
                                   glm::vec3 position);
// The same for squares of `side` x `side` cells (smaller at the far edges),
// square rows (z) outer: finer than the blocks for tests that need it.
std::vector<Box> terrainSquareBoxes(const std::vector<TerrainVertex>& vertices, int vertexCount,
                                    glm::vec3 position, int side);
// The box of each block's vertex normals, in the same order: every normal
// interpolated across the block lies in it.
std::vector<Box> terrainBlockNormals(const std::vector<TerrainVertex>& vertices, int vertexCount);

// Coarser levels of the same grid use every stride-th vertex in each
// direction, keeping the last row and column (so the last cell of a side is
// narrower when the stride does not divide the cells). A level is one
// consistent grid, free of cracks, with the full grid's diagonal and winding,
// and its cells are listed in the same order, so a block holds
// kTerrainBlockCells / stride of them a side. Strides that do not divide
// kTerrainBlockCells are refused.
bool validTerrainStride(int stride);

// Cells per side of the level with this stride; 0 for no cells or a refused
// stride.
int terrainLevelCells(int vertexCount, int stride);

// Two triangles per cell of the level, cell rows (z) outer; stride 1 gives the
// full grid's list. Empty for a refused stride or fewer than 2 vertices.
std::vector<unsigned int> terrainGridIndices(int vertexCount, int stride);

// Skirts hide the cracks where a block drawn from a coarser level meets one
// drawn finer: along every cell side of a block's border at that level, a
// quad hangs from the side down to the same two points lowered (vertex
// `below + i` for grid vertex i, which the caller places terrainSkirtDepth
// or more lower). Each quad is listed for both facings (the ground is drawn
// with back faces culled).
// `blockFirst` gives where each block's quads begin, blocks in the order of
// terrainBlockBoxes, with one more entry for the end of the list.
struct TerrainSkirts {
    std::vector<unsigned int> indices;
    std::vector<size_t> blockFirst;
};
TerrainSkirts terrainSkirts(int vertexCount, int stride, unsigned int below);

// How far the skirts of a level must hang: the most that the full grid's
// ground lies below a side of the level's cells, anywhere along the level's
// lines (0 for a refused stride or fewer than 2 vertices).
float terrainSkirtDepth(const std::vector<std::vector<float>>& heights, int vertexCount,
                        int stride);

// The steepest the drawn ground is anywhere (rise over run): no triangle of
// the grid, at any level, slopes more. 0 for fewer than 2 vertices.
float steepestGround(const std::vector<std::vector<float>>& heights, int vertexCount);


// A stretch of the index list: `count` indices from index `first`.
struct IndexRun {
    size_t first = 0;
    size_t count = 0;
};

// The stretches of the index list of the level with this stride that hold
// the cells of the visible blocks (one flag per block, in the order of
// terrainBlockBoxes), in list order and merged where they meet, so the cells
// keep the order of a whole draw. Positions count from the level's own start.
void visibleCellRuns(int vertexCount, const std::vector<char>& blockVisible,
                     std::vector<IndexRun>& runs, int stride = 1);
