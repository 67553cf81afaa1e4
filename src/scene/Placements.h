#pragma once
// Where the scene's trees and grass patches stand (world x, z). The scene
// places them on the ground; the scene-data generator keeps the ground dry and
// the camera clear there, so both read this one list.

#include <array>

#include <glm/glm.hpp>

constexpr std::array<glm::vec2, 9> kTreePositions{{{81.94f, 184.91f},
                                                   {-180.54f, 179.41f},
                                                   {-279.56f, -6.91f},
                                                   {-146.39f, -151.903f},
                                                   {86.7f, -139.81f},
                                                   {217.56f, -4.91f},
                                                   {-50.0f, -40.0f},
                                                   {-25.0f, 10.0f},
                                                   {20.0f, -27.0f}}};

constexpr std::array<glm::vec2, 3> kGrassPositions{{{0.0f, 20.0f}, {10.0f, -30.0f}, {-65.0f, 0.0f}}};
