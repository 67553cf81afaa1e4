#pragma once
// A generated image read back with stb_image, as the program reads it.

#include <stb/stb_image.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

struct LoadedImage {
    int width = 0;
    int height = 0;
    int channels = 0;  // the file's own count
    std::vector<uint8_t> pixels;

    bool valid() const { return width > 0 && height > 0; }
    const uint8_t* at(int x, int y) const {
        return &pixels[(size_t(y) * width + size_t(x)) * size_t(channels)];
    }
};

inline LoadedImage loadImage(const std::string& path) {
    LoadedImage image;
    unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &image.channels, 0);
    if (!data) return LoadedImage{};
    image.pixels.assign(data, data + size_t(image.width) * image.height * image.channels);
    stbi_image_free(data);
    return image;
}

// How much a texture jumps where it wraps, compared with how much it changes
// between neighbouring pixels inside: about 1 for a seamless tile. Only pixel
// pairs on the 8-pixel grid count inside, because JPEG's 8 x 8 blocks meet
// there just as they meet at the wrap.
inline double wrapSeamRatio(const LoadedImage& image) {
    double inside = 0.0, across = 0.0;
    long insideCount = 0, acrossCount = 0;
    auto difference = [&](const uint8_t* a, const uint8_t* b) {
        int d = 0;
        for (int c = 0; c < image.channels; ++c) d += std::abs(int(a[c]) - int(b[c]));
        return d;
    };
    for (int y = 0; y < image.height; ++y) {
        for (int x = 7; x < image.width; x += 8) {
            const int d = difference(image.at(x, y), image.at((x + 1) % image.width, y));
            (x + 1 == image.width ? across : inside) += d;
            ++(x + 1 == image.width ? acrossCount : insideCount);
        }
    }
    for (int x = 0; x < image.width; ++x) {
        for (int y = 7; y < image.height; y += 8) {
            const int d = difference(image.at(x, y), image.at(x, (y + 1) % image.height));
            (y + 1 == image.height ? across : inside) += d;
            ++(y + 1 == image.height ? acrossCount : insideCount);
        }
    }
    return (across / acrossCount) / (inside / insideCount);
}
