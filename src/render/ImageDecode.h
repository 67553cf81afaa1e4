#pragma once
// Image decoding with the declared size checked before any pixel memory is
// spent: a tiny file can declare an image of gigabytes. No GL here, so the
// texture loaders, the terrain and the fuzz targets share one path.

#include <cstddef>
#include <memory>
#include <string>

// Largest width or height any image of the scene may declare (the scene's
// largest is 512; 4096 leaves room for finer art and stays far below what a
// 2-core, 24 GB machine can hold).
constexpr int kMaxImageSide = 4096;

struct DecodedImage {
    int width = 0;
    int height = 0;
    int fileChannels = 0;    // the file's own count, 1 to 4
    int bufferChannels = 0;  // bytes per pixel in `pixels`
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, nullptr};
    std::string problem;  // why decoding was refused or failed; empty on success

    explicit operator bool() const { return pixels != nullptr; }
};

// The channel count to decode for: 1 and 2 (grey, grey + alpha) widen to
// RGB and RGBA so uploads always read 3 or 4 bytes a pixel; 3 and 4 stay.
int widenedChannels(int fileChannels);

// Decodes `path` with `channels` bytes a pixel (0: widenedChannels of the
// file's count). Refused without decoding when the header cannot be read, or
// a side is below 1 or above maxSide.
DecodedImage decodeImageFile(const std::string& path, int channels, int maxSide);

// The same from bytes in memory.
DecodedImage decodeImageMemory(const unsigned char* bytes, size_t size, int channels, int maxSide);
