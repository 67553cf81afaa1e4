#pragma once
// The shape of the valley: the lake, the garden plateau, the beaches and the
// rolling ground, plus where things stand on it. The terrain family paints
// its images from this, and the camera flight checks its clearance against
// the same ground.

#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <vector>

#include "scene/Placements.h"

namespace assetgen::land {

// The terrain: 256 x 256 grid vertices over x, z in [-500, 500].
constexpr int kGridSize = 256;
constexpr float kWorldMin = -500.0f;
constexpr float kWorldSize = 1000.0f;
constexpr float kWaterLevel = -2.0f;

// The lake: an ellipse in x and z.
constexpr glm::vec2 kLakeCentre{135.0f, 10.0f};
constexpr glm::vec2 kLakeHalfAxes{75.0f, 110.0f};

// Where things stand (x, z).
constexpr glm::vec2 kTableCentre{-0.6f, 2.75f};
constexpr glm::vec2 kLamp{0.0f, -20.0f};
constexpr glm::vec2 kJettyFoot{60.0f, 10.0f};
constexpr std::array<glm::vec2, 9> kTrees = kTreePositions;
constexpr std::array<glm::vec2, 3> kGrassPatches = kGrassPositions;

// Distance (world units) from the lake's shore: negative inside the lake.
float shoreDistance(float x, float z);

// The designed ground height at a world point, before the height map rounds it.
float groundHeight(float x, float z);

// The red byte that stores a height: height = (byte / 255 - 0.5) * 10.
uint8_t heightToByte(float height);
float byteToHeight(uint8_t byte);

// World coordinate of grid vertex i (along x or z).
float gridCoordinate(int i);

// The rounded heights of every grid vertex, [x index][z index].
using HeightGrid = std::vector<std::vector<float>>;
HeightGrid sampleHeightGrid();

// The height of the drawn surface between grid vertices: two triangles per
// cell, split along the diagonal from (i + 1, j) to (i, j + 1).
float surfaceHeight(const HeightGrid& grid, float x, float z);

// The path from the garden to the jetty's foot, as points along its middle.
std::vector<glm::vec2> pathCentreLine();
// The branch from the lamp to the start of that path.
std::vector<glm::vec2> lampPathCentreLine();

}  // namespace assetgen::land
