#pragma once
// Tileable cellular noise: a jittered point in each cell of an n x n grid
// over the unit square, wrapping at the edges, so patterns made from it
// (pebbles, clumps, stones) repeat without seams.

#include <cstdint>

namespace assetgen {

struct CellSample {
    float nearest = 0.0f;  // distance to the nearest point, in cell widths
    float second = 0.0f;   // distance to the second nearest point
    uint32_t id = 0;       // a hash that names the nearest point's cell
    float dx = 0.0f;       // offset from the nearest point, in cell widths
    float dy = 0.0f;
};

// u and v in [0, 1); n cells along each side. Each point lies within
// `jitter` / 2 of its cell's centre: below 1, points keep apart, so round
// shapes of radius up to (1 - jitter) / 2 around them are never cut.
CellSample cells(float u, float v, int n, uint32_t seed, float jitter = 1.0f);

// A value in [0, 1) from a hash, for per-cell random choices.
float hashUnit(uint32_t h);

}  // namespace assetgen
