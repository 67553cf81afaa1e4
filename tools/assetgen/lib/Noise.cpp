#include "lib/Noise.h"

#include <cmath>

namespace assetgen {

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::uniform() { return float(next() >> 40) / float(1ull << 24); }
float Rng::uniform(float lo, float hi) { return lo + (hi - lo) * uniform(); }
int Rng::range(int lo, int hi) { return lo + int(next() % uint64_t(hi - lo + 1)); }

uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

namespace {

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
float lerp(float a, float b, float t) { return a + (b - a) * t; }

int wrap(int i, int period) {
    if (period <= 0) return i;
    int m = i % period;
    return m < 0 ? m + period : m;
}

float grad2(int ix, int iy, uint32_t seed, float dx, float dy) {
    const uint32_t h = hash32(uint32_t(ix) * 0x8da6b343u ^ hash32(uint32_t(iy) * 0xd8163841u ^ seed));
    const float angle = float(h & 0xffffu) / 65536.0f * 6.2831853f;
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

float grad3(int ix, int iy, int iz, uint32_t seed, float dx, float dy, float dz) {
    const uint32_t h = hash32(uint32_t(ix) * 0x8da6b343u ^
                              hash32(uint32_t(iy) * 0xd8163841u ^ hash32(uint32_t(iz) * 0xcb1ab31fu ^ seed)));
    switch (h % 12) {  // the twelve edge directions of a cube
        case 0: return dx + dy;
        case 1: return -dx + dy;
        case 2: return dx - dy;
        case 3: return -dx - dy;
        case 4: return dx + dz;
        case 5: return -dx + dz;
        case 6: return dx - dz;
        case 7: return -dx - dz;
        case 8: return dy + dz;
        case 9: return -dy + dz;
        case 10: return dy - dz;
        default: return -dy - dz;
    }
}

}  // namespace

float noise2(float x, float y, uint32_t seed, int periodX, int periodY) {
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const float fx = x - x0, fy = y - y0;
    const int ax = wrap(x0, periodX), bx = wrap(x0 + 1, periodX);
    const int ay = wrap(y0, periodY), by = wrap(y0 + 1, periodY);
    const float n00 = grad2(ax, ay, seed, fx, fy);
    const float n10 = grad2(bx, ay, seed, fx - 1, fy);
    const float n01 = grad2(ax, by, seed, fx, fy - 1);
    const float n11 = grad2(bx, by, seed, fx - 1, fy - 1);
    const float u = fade(fx), v = fade(fy);
    return 1.41421356f * lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
}

float noise3(float x, float y, float z, uint32_t seed) {
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y)), z0 = int(std::floor(z));
    const float fx = x - x0, fy = y - y0, fz = z - z0;
    const float u = fade(fx), v = fade(fy), w = fade(fz);
    float c[2][2][2];
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 2; ++k)
                c[i][j][k] = grad3(x0 + i, y0 + j, z0 + k, seed, fx - i, fy - j, fz - k);
    const float a = lerp(lerp(c[0][0][0], c[1][0][0], u), lerp(c[0][1][0], c[1][1][0], u), v);
    const float b = lerp(lerp(c[0][0][1], c[1][0][1], u), lerp(c[0][1][1], c[1][1][1], u), v);
    return lerp(a, b, w);
}

float fbm2(float x, float y, uint32_t seed, int octaves, int periodX, int periodY) {
    float sum = 0.0f, amp = 0.5f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise2(x, y, seed + uint32_t(o) * 1013u, periodX, periodY);
        norm += amp;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

float fbm3(float x, float y, float z, uint32_t seed, int octaves) {
    float sum = 0.0f, amp = 0.5f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise3(x, y, z, seed + uint32_t(o) * 1013u);
        norm += amp;
        x *= 2.0f;
        y *= 2.0f;
        z *= 2.0f;
        amp *= 0.5f;
    }
    return sum / norm;
}

}  // namespace assetgen
