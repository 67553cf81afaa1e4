#pragma once
// Mipmap levels built on the CPU, without GL, so that image files can be
// made ready on a worker thread while the window comes up. The filter is the
// one the software rasterizer's own mipmap generation applies, texel for
// texel: two taps along x, then two along y, each halfway between the texels.
// 8-bit channels round each step up at the half; 16-bit float channels take
// the exact average and drop the bits a half float cannot hold.

#include <cstdint>
#include <vector>

struct ByteLevel {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> texels;  // `channels` bytes per texel, rows packed
};

struct HalfLevel {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> texels;  // `channels` half floats per texel, rows packed
};

// What an 8-bit channel becomes when a row of `channels` bytes a texel is
// uploaded into a 16-bit float texture: value / 255 as a half float, the
// nearest one (ties to even) from three-channel rows, cut towards zero from
// four-channel rows, as the driver converts each.
uint16_t halfOfByte(unsigned char value, int channels);

float floatOfHalf(uint16_t half);

// Levels 1 to the last (1 x 1) of an image of `channels` 8-bit channels;
// empty for an image smaller than 2 x 1.
std::vector<ByteLevel> byteMipLevels(const unsigned char* texels, int width, int height,
                                     int channels);

// Levels 1 to the last of the same image stored as 16-bit floats (level 0
// converted with halfOfByte).
std::vector<HalfLevel> halfMipLevels(const unsigned char* texels, int width, int height,
                                     int channels);
