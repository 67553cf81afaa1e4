#pragma once
// Deterministic random numbers and gradient noise of our own. The noise can
// tile: with a period p, noise(x + p, y) == noise(x, y), so textures made from
// it repeat without seams.

#include <cstdint>

namespace assetgen {

// SplitMix64: small, fast and fully determined by its seed.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    float uniform();                   // [0, 1)
    float uniform(float lo, float hi);  // [lo, hi)
    int range(int lo, int hi);          // [lo, hi]
private:
    uint64_t state_;
};

uint32_t hash32(uint32_t x);

// Gradient noise in about [-1, 1]. periodX / periodY of 0 mean no tiling.
float noise2(float x, float y, uint32_t seed, int periodX = 0, int periodY = 0);
float noise3(float x, float y, float z, uint32_t seed);

// Fractal sums of octaves (each octave doubles the frequency and the period).
float fbm2(float x, float y, uint32_t seed, int octaves, int periodX = 0, int periodY = 0);
float fbm3(float x, float y, float z, uint32_t seed, int octaves);

}  // namespace assetgen
