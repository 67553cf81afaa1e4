#include "render/MipChain.h"

#include <cstring>

namespace {

uint32_t bitsOf(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatOfBits(uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Half float of a value in [0, 1] held exactly in a float; `nearest` rounds
// to the nearest half (ties to even), otherwise the extra bits are dropped.
// Every value here is 0 or at least 1 / 1020, inside the normal range.
uint16_t halfOf(float value, bool nearest) {
    if (value <= 0.0f) return 0;
    const uint32_t bits = bitsOf(value);
    const uint32_t exponent = ((bits >> 23) & 0xffu) - 127u + 15u;
    const uint32_t mantissa = bits & 0x7fffffu;
    uint32_t half = (exponent << 10) | (mantissa >> 13);
    if (nearest) {
        const uint32_t rest = mantissa & 0x1fffu;
        if (rest > 0x1000u || (rest == 0x1000u && (half & 1u))) ++half;
    }
    return uint16_t(half);
}

// The size of the level below: halved, never below 1.
int below(int side) {
    return side > 1 ? side / 2 : 1;
}

// One level down from `from` (width x height texels of `channels`); `filter`
// takes the four texels under a new one, the lower row's pair first.
template <typename T, typename Filter>
std::vector<T> halve(const std::vector<T>& from, int width, int height, int channels,
                     Filter filter) {
    const int w = below(width), h = below(height);
    std::vector<T> to(size_t(w) * size_t(h) * size_t(channels));
    for (int y = 0; y < h; ++y) {
        // A side of one texel samples that texel twice.
        const int y0 = height > 1 ? 2 * y : y, y1 = height > 1 ? 2 * y + 1 : y;
        for (int x = 0; x < w; ++x) {
            const int x0 = width > 1 ? 2 * x : x, x1 = width > 1 ? 2 * x + 1 : x;
            for (int c = 0; c < channels; ++c) {
                auto at = [&](int tx, int ty) {
                    return from[(size_t(ty) * size_t(width) + size_t(tx)) * size_t(channels) +
                                size_t(c)];
                };
                to[(size_t(y) * size_t(w) + size_t(x)) * size_t(channels) + size_t(c)] =
                    filter(at(x0, y0), at(x1, y0), at(x0, y1), at(x1, y1));
            }
        }
    }
    return to;
}

template <typename Level, typename T, typename Filter>
std::vector<Level> levelsFrom(std::vector<T> texels, int width, int height, int channels,
                              Filter filter) {
    std::vector<Level> levels;
    if (width < 1 || height < 1 || channels < 1 || (width == 1 && height == 1)) return levels;
    while (width > 1 || height > 1) {
        Level level;
        level.texels = halve(texels, width, height, channels, filter);
        level.width = width = below(width);
        level.height = height = below(height);
        texels = level.texels;
        levels.push_back(std::move(level));
    }
    return levels;
}

}  // namespace

uint16_t halfOfByte(unsigned char value, int channels) {
    return halfOf(float(value) * (1.0f / 255.0f), channels != 4);
}

float floatOfHalf(uint16_t half) {
    if (half == 0) return 0.0f;
    const uint32_t exponent = (half >> 10) & 0x1fu, mantissa = half & 0x3ffu;
    return floatOfBits(((exponent - 15u + 127u) << 23) | (mantissa << 13));
}

std::vector<ByteLevel> byteMipLevels(const unsigned char* texels, int width, int height,
                                     int channels) {
    if (!texels || width < 1 || height < 1 || channels < 1) return {};
    std::vector<unsigned char> first(texels,
                                     texels + size_t(width) * size_t(height) * size_t(channels));
    return levelsFrom<ByteLevel>(
        std::move(first), width, height, channels,
        [](unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
            const int lower = (a + b + 1) >> 1, upper = (c + d + 1) >> 1;
            return static_cast<unsigned char>((lower + upper + 1) >> 1);
        });
}

std::vector<HalfLevel> halfMipLevels(const unsigned char* texels, int width, int height,
                                     int channels) {
    if (!texels || width < 1 || height < 1 || channels < 1) return {};
    const size_t count = size_t(width) * size_t(height) * size_t(channels);
    std::vector<uint16_t> first(count);
    for (size_t i = 0; i < count; ++i) first[i] = halfOfByte(texels[i], channels);
    // The values are halves in [0, 1], so the float arithmetic is exact; only
    // the result is cut to a half.
    return levelsFrom<HalfLevel>(std::move(first), width, height, channels,
                                 [](uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
                                     const float fa = floatOfHalf(a), fb = floatOfHalf(b);
                                     const float fc = floatOfHalf(c), fd = floatOfHalf(d);
                                     const float lower = fa + 0.5f * (fb - fa),
                                                 upper = fc + 0.5f * (fd - fc);
                                     return halfOf(lower + 0.5f * (upper - lower), false);
                                 });
}
